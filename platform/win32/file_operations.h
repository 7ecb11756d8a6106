#pragma once

// The file operations on wide host paths ("\\?\…"), with the rules the program keeps on every
// host: a delete refuses a read-only file; a move only onto a free name and never of a read-only
// file. A delete and a move act through a handle on the file, so that the file the rules were
// checked on is the one removed or renamed. The copy is in copy_file.h.

#include "platform/result.h"
#include "platform/types.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <system_error>

namespace platform::win32 {

// The entry itself: a link is not followed, a folder is opened too.
constexpr DWORD kEntryItself = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;

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
// The same on a file opened with FILE_READ_ATTRIBUTES and FILE_WRITE_ATTRIBUTES.
std::error_code setOpenAttributes(HANDLE file, unsigned long attributes);
std::error_code deleteHostFile(const std::wstring& host);
// deleteHostFile's rules on a file opened with DELETE access, `info` read from that handle.
std::error_code deleteOpenFile(HANDLE file, const BY_HANDLE_FILE_INFORMATION& info);
std::error_code moveHostFile(const std::wstring& source, const std::wstring& target);
// moveHostFile's rules on a file opened with DELETE access, `info` read from that handle.
std::error_code moveOpenFile(HANDLE file, const BY_HANDLE_FILE_INFORMATION& info,
                             const std::wstring& target);
// Why a file of these attributes, reparse tag (read where it is a reparse point) and link count
// is not moved by a rename; none where it may be.
std::error_code renameRefusal(unsigned long attributes, unsigned long reparseTag,
                              unsigned long links);
// Renames a file opened with DELETE access; onto a name that is taken only with `replace`.
std::error_code renameOpenFile(HANDLE file, const std::wstring& target, bool replace);
std::error_code appendToHostFile(const std::wstring& host, std::string_view bytes);
Result<std::string> readHostFile(const std::wstring& host);

} // namespace platform::win32
