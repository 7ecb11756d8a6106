#pragma once

// A host file name may hold characters that the program's path text cannot carry: \ : * ? " < >
// | and the control characters 1 to 31. They are shown as U+F000 plus their code (the
// private-use mapping Cygwin and WSL use) and mapped back on every operation. A host name that
// already holds a character U+F000..U+F07F keeps it behind an escape U+F000, so that host ->
// program -> host is the identity for every name. Bytes that are not UTF-8 pass unchanged.

#include <string>
#include <string_view>

namespace platform::linux_host {

// True when a host name needs no mapping at all (the common case; no allocation).
bool hostNameIsProgramText(std::string_view hostName);

// Host name bytes -> program text; appends to `out`.
void appendProgramName(std::string_view hostName, std::string& out);
std::string programName(std::string_view hostName);

// Program text of one path component -> host name bytes.
std::string hostName(std::string_view programName);

} // namespace platform::linux_host
