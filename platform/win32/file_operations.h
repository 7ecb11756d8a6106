#pragma once

// The file operations on wide host paths ("\\?\…"), with the rules the program keeps on every
// host: a delete refuses a read-only file; a copy replaces its target, but not a read-only or
// hidden one, not the source itself, and goes through a temporary file so that a failed copy
// leaves the old target whole; a move only onto a free name and never of a read-only file.

#include "platform/result.h"
#include "platform/types.h"

#include <string>
#include <string_view>
#include <system_error>

namespace platform::win32 {

// Identity of the entry itself (a final link or junction is not followed).
Result<FileId> hostFileId(const std::wstring& host);
// Identity of what the path leads to (a junction to a folder: that folder).
Result<FileId> hostFileIdFollowing(const std::wstring& host);
// Sets read-only, hidden, system and archive as given; the other bits stay as they are.
std::error_code setHostAttributes(const std::wstring& host, unsigned long attributes);
std::error_code deleteHostFile(const std::wstring& host);
std::error_code copyHostFile(const std::wstring& source, const std::wstring& target);
std::error_code moveHostFile(const std::wstring& source, const std::wstring& target);
std::error_code appendToHostFile(const std::wstring& host, std::string_view bytes);
Result<std::string> readHostFile(const std::wstring& host);

} // namespace platform::win32
