#pragma once

// A copy, a move or a log line by path, as a pass of one file makes it: the target's folder (or
// the log's) held as it stands now, the source reached by its path without a walk's trail.

#include "platform/platform.h"

#include <string_view>
#include <system_error>

namespace testsupport {

std::error_code copyFile(platform::Platform& fs, std::string_view source, std::string_view target);
// The one-step move of ListedFile::moveTo(): a rename onto a free name or nothing.
std::error_code moveFile(platform::Platform& fs, std::string_view source, std::string_view target);
std::error_code appendToFile(platform::Platform& fs, std::string_view path, std::string_view bytes);

} // namespace testsupport
