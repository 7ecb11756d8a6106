#pragma once

// Files opened, renamed and removed inside an open folder: the name is looked up in that folder
// and nowhere else, whatever has become of the folder's path since it was opened.

#include "platform/result.h"
#include "platform/win32/handle.h"

#include <windows.h>

#include <winternl.h>

#include <string_view>
#include <system_error>

namespace platform::win32 {

// The sharing of a folder a pass holds: it can be listed and written in, but neither renamed
// nor removed.
constexpr DWORD kShareHeld = FILE_SHARE_READ | FILE_SHARE_WRITE;
// What a folder is opened with to be listed and held: the right to list it, which a walk that
// listed it has proved. A folder may grant it without the right to pass through (FILE_TRAVERSE),
// which every user skips by default, so that the files below are reached all the same.
constexpr ACCESS_MASK kListedFolderAccess = FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES;

// `name` inside the open folder `folder`, looked up as CreateFileW would look it up there.
// `options`: FILE_DIRECTORY_FILE for a folder, FILE_NON_DIRECTORY_FILE for a file,
// FILE_OPEN_REPARSE_POINT for a link itself; `disposition`: FILE_OPEN, FILE_CREATE or
// FILE_OPEN_IF, the file made with `attributes`. An empty name opens the folder again.
Result<Handle> openBelow(HANDLE folder, std::wstring_view name, ACCESS_MASK access, ULONG share,
                         ULONG options, ULONG disposition = FILE_OPEN, ULONG attributes = 0);
// Renames the file open as `file` (with DELETE access) to `name` in the open folder `folder`;
// onto a name that is taken only with `replace`.
std::error_code renameBelow(HANDLE file, HANDLE folder, std::wstring_view name, bool replace);
// Removes the name of the file open as `file` (with DELETE access) at once, also while other
// programs hold the file (POSIX semantics), where the file system can; elsewhere the file is
// marked to go when the last handle on it closes.
std::error_code removeOpen(HANDLE file);
// Whether a refused delete with POSIX semantics is tried the classic way: where the system or
// the file system does not know the request, never where it refused the file.
bool classicDeleteFollows(long status);

} // namespace platform::win32
