#pragma once

// The file operations on wide host paths ("\\?\…") and on open files, with the rules the program
// keeps on every host: a delete refuses a read-only file; a move only onto a free name and never
// of a read-only file. A delete and a move act through a handle on the file, so that the file the
// rules were checked on is the one removed or renamed. The copy is in copy_file.h.

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
// The path of an open file or folder as its handle names it now (GetFinalPathNameByHandleW with
// `flags`), without a link on its way.
Result<std::wstring> finalPathOf(HANDLE file, DWORD flags);
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
// Moves a file opened with DELETE access (`info` read from that handle) to `name` in the open
// folder `folder`, by a rename onto a free name.
std::error_code moveOpenFile(HANDLE file, const BY_HANDLE_FILE_INFORMATION& info, HANDLE folder,
                             std::wstring_view name);
// The reparse tag of an open file that is a reparse point (0 for one that is not).
Result<unsigned long> reparseTagOf(HANDLE file, unsigned long attributes);
// Whether an entry of these attributes and reparse tag is a link (a symbolic link, a junction):
// only a reparse point that stands for another name is. Other reparse points (cloud
// placeholders, deduplicated files) are the file itself. A tag of 0 is one not known, which
// counts as a link.
bool isLinkEntry(unsigned long attributes, unsigned long reparseTag);
// Why a file of these attributes, reparse tag (read where it is a reparse point) and link count
// is not moved by a rename; none where it may be.
std::error_code renameRefusal(unsigned long attributes, unsigned long reparseTag,
                              unsigned long links);
// Appends to a file opened with write access, taking turns with other writers of it.
std::error_code appendToOpenFile(HANDLE file, std::string_view bytes);
Result<std::string> readHostFile(const std::wstring& host);

} // namespace platform::win32
