#pragma once

#include <string>
#include <string_view>

namespace core {

// The log viewer's text from the log file's Windows-1252 bytes, as UTF-8: a line ends at CR or
// at CR LF (a lone LF stays inside its line), and every line, the last one included, is
// followed by CR LF. Built in one pass over the bytes.
std::string LogText(std::string_view bytes);

} // namespace core
