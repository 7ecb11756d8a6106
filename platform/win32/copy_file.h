#pragma once

// The copy on Windows. It replaces its target, but not a read-only, hidden or system one, not
// the source itself, and not a file that the target's name reaches by its short (8.3) name. It
// reads the open source and writes a hidden temporary file beside the target, flushed before it
// takes the target's name, so that a failed copy or a power cut leaves the old target whole. A
// free name is taken by a rename through the temporary file's own handle; an existing target is
// replaced by ReplaceFileW, which keeps the target's permissions, owner, creation time, short
// name and streams. The data, read-only, hidden, system, archive and the last-write time are the
// source's.

#include <windows.h>

#include <string>
#include <system_error>

namespace platform::win32 {

// Copies the file open as `source` (with read access; `info` read from that handle) to the host
// path `target`. A source held open without sharing writes or deletes cannot be replaced by
// its own copy, whatever identity another path gives it.
std::error_code copyOpenFile(HANDLE source, const BY_HANDLE_FILE_INFORMATION& info,
                             const std::wstring& target);
// The same from a host path: what a link there leads to, opened and held for the copy.
std::error_code copyHostFile(const std::wstring& source, const std::wstring& target);

} // namespace platform::win32
