#pragma once

// The copy on Windows, made inside the open target folder. It replaces its target, but not a
// read-only, hidden or system one, not the source itself, not a file that the target's name
// reaches by its short (8.3) name, and not one it may not delete, which it finds out before it
// writes anything. It reads the open source and writes a hidden temporary file beside the target
// with the source's data, named streams and last-write time, flushed before it takes the target's
// name, so that a failed copy or a power cut leaves the old target whole. A free name is taken by
// a rename through the temporary file's own handle; an existing target is replaced by ReplaceFileW
// (replace_target.h). Read-only, hidden, system and archive are the source's.

#include <windows.h>

#include <string_view>
#include <system_error>

namespace platform::win32 {

struct CopyOutcome {
    // The source has named streams that the target's file system cannot hold (FAT, exFAT): the
    // copy was made without them.
    bool streamsLeft = false;
};

// Sets an open file's last-write time; a test puts a double in its place.
using WriteTimeSetter = std::error_code (*)(HANDLE file, const FILETIME& written);
std::error_code setWriteTime(HANDLE file, const FILETIME& written);

// Copies the file open as `source` (with read access; `info` read from that handle) to `name` in
// the open folder `folder`. A source held open without sharing writes or deletes cannot be
// replaced by its own copy, whatever identity another path gives it. A temporary file that could
// not be removed again is reported: the copy's error is then why it stays.
std::error_code copyOpenFile(HANDLE source, const BY_HANDLE_FILE_INFORMATION& info, HANDLE folder,
                             std::wstring_view name, CopyOutcome& outcome,
                             WriteTimeSetter setTime = setWriteTime);

} // namespace platform::win32
