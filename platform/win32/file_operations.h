#pragma once

// The file operations on wide host paths ("\\?\…"), with the rules the program keeps on every
// host: a delete refuses a read-only file; a copy replaces its target, but not a read-only or
// hidden one, not the source itself, and goes through a temporary file so that a failed copy
// leaves the old target whole; a move only onto a free name and never of a read-only file.
// A delete and a move act through a handle on the file, so that the file the rules were checked
// on is the one removed or renamed.

#include "platform/result.h"
#include "platform/types.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <system_error>

namespace platform::win32 {

// Identity of an open file: the 64-bit volume serial and the 128-bit file id where the file
// system gives them (NTFS, ReFS, whose 64-bit file index is not unique), else the serial and the
// file index of `info`, read from the same handle.
FileId fileIdOf(HANDLE file, const BY_HANDLE_FILE_INFORMATION& info);
FileId fileIdOf(const FILE_ID_INFO& info);
// Identity of the entry itself (a final link or junction is not followed).
Result<FileId> hostFileId(const std::wstring& host);
// Identity of what the path leads to (a junction to a folder: that folder).
Result<FileId> hostFileIdFollowing(const std::wstring& host);
// Sets read-only, hidden, system and archive as given; the other bits stay as they are.
std::error_code setHostAttributes(const std::wstring& host, unsigned long attributes);
std::error_code deleteHostFile(const std::wstring& host);
// deleteHostFile's rules on a file opened with DELETE access, `info` read from that handle.
std::error_code deleteOpenFile(HANDLE file, const BY_HANDLE_FILE_INFORMATION& info);
std::error_code copyHostFile(const std::wstring& source, const std::wstring& target);
std::error_code moveHostFile(const std::wstring& source, const std::wstring& target);
// moveHostFile's rules on a file opened with DELETE access, `info` read from that handle.
std::error_code moveOpenFile(HANDLE file, const BY_HANDLE_FILE_INFORMATION& info,
                             const std::wstring& target);
std::error_code appendToHostFile(const std::wstring& host, std::string_view bytes);
Result<std::string> readHostFile(const std::wstring& host);

} // namespace platform::win32
