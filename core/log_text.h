#pragma once

#include <string>
#include <string_view>

namespace core {

// The text the log viewer shows for the log file's Windows-1252 bytes, as UTF-8: a line ends at
// CR or at CR LF, and every line, the last one included, is followed by a line break ("\n", as
// the text box breaks lines). A lone LF stays inside its line, shown as its control picture
// U+240A, so that each log line is one line on screen. Built in one pass over the bytes.
std::string logViewerText(std::string_view bytes);

} // namespace core
