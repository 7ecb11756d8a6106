#pragma once

// The program's UTF-8 text and the wide (UTF-16) text of the Win32 calls. A name Windows holds
// with a lone surrogate survives the round trip (encoded as its own three bytes, as WTF-8
// does), so such a file is still acted on as itself.

#include <string>
#include <string_view>

namespace platform::win32 {

std::wstring toWide(std::string_view utf8);
std::string fromWide(std::wstring_view wide);

} // namespace platform::win32
