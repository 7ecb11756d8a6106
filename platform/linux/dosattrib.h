#pragma once

// The extended attribute user.DOSATTRIB in which Samba and Wine keep the Windows attributes
// hidden, system and archive. Pure functions on bytes, so that they can be fuzzed alone.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform::linux_host {

inline constexpr const char* kDosAttribName = "user.DOSATTRIB";

// Reads the attribute number from the value: the text form "0x%x" (optionally followed by a
// NUL and Samba's binary info of versions 1 to 3), or Samba's binary versions 4 and 5, which
// start with an empty text and hold the number little-endian at byte offset 12. Anything else
// gives nothing.
std::optional<std::uint32_t> parseDosAttrib(std::string_view bytes);

// The text form "0x%x" without NUL, as Wine and Samba both accept it.
std::string formatDosAttrib(std::uint32_t attributes);

} // namespace platform::linux_host
