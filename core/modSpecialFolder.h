#pragma once

#include "platform/platform.h"

#include <cstdint>
#include <string>

namespace modSpecialFolder {

// The user's documents folder (CSIDL_PERSONAL).
inline constexpr std::int32_t CSIDL_PERSONAL = 5;

// The path of a shell folder, empty text when it cannot be found. Only CSIDL_PERSONAL is
// known; any other id gives empty text.
std::string SpecialFolderPath(platform::Platform& fs, std::int32_t folderId);

} // namespace modSpecialFolder
