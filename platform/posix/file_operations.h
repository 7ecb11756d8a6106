#pragma once

// Operations on one host file, with the Windows rules the program relies on: a read-only file
// is neither deleted nor appended to, even by a user whose permissions would allow it, and
// nothing but regular files is deleted, read or written.

#include "platform/result.h"
#include "platform/types.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <system_error>

namespace platform::posix {

// Removes a regular file or a link (never what the link leads to). Refuses folders, links to
// folders, special files and read-only files.
std::error_code deleteHostFile(const std::string& hostPath);

std::error_code createHostFolder(const std::string& hostPath);

Result<std::uint64_t> hostFileLength(const std::string& hostPath);

// Last-write time in local time.
Result<DateTime> hostFileDateTime(const std::string& hostPath);

// Creates the file if needed (mode 0644 before the mask) and appends in one open-write-close.
std::error_code appendToHostFile(const std::string& hostPath, std::string_view bytes);

Result<std::string> readHostFile(const std::string& hostPath);

} // namespace platform::posix
