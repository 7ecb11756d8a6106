#pragma once

#include "platform/result.h"

#include <string>
#include <string_view>
#include <system_error>

namespace platform::posix {

// Writes all bytes, continuing after short writes and interruptions.
std::error_code writeAll(int fd, std::string_view bytes);

// Reads until the end of the file, continuing after interruptions.
Result<std::string> readAll(int fd);

} // namespace platform::posix
