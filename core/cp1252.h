#pragma once

// The operation log is Windows-1252 text. Conversion in both directions uses the program's own
// table, so the log reads the same on every host.

#include <string>
#include <string_view>

namespace core {

// UTF-8 to Windows-1252. Characters outside the code page, control characters (C0, DEL and
// C1), the backend's private-use stand-ins U+F000-U+F0FF and every byte of invalid UTF-8
// become "?", so a logged path always stays on one line.
std::string utf8ToCp1252(std::string_view utf8);

// Windows-1252 to UTF-8. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) become U+FFFD; control bytes are passed through.
std::string cp1252ToUtf8(std::string_view bytes);
// The same, appended to `out`.
void appendCp1252AsUtf8(std::string& out, std::string_view bytes);

} // namespace core
