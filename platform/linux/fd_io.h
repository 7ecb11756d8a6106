#pragma once

#include "platform/result.h"

#include <unistd.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>

namespace platform::linux_host {

// Writes all bytes, continuing after short writes and interruptions.
std::error_code writeAll(int fd, std::string_view bytes);

// Appends all bytes to a file opened with O_APPEND. Where a write fails part-way, the file is
// cut back to where it ended before them, so that the next append never runs on from a piece of
// them; not where something else was appended after them meanwhile, which the cut would take.
// `write` is the system's; a test gives its own to make writes short.
using WriteCall = ssize_t (*)(int fd, const void* data, std::size_t size);
std::error_code appendAll(int fd, std::string_view bytes, WriteCall write = ::write);

// Reads until the end of the file, continuing after interruptions.
Result<std::string> readAll(int fd);

} // namespace platform::linux_host
