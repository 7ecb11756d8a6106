#pragma once

// A file's named streams ("Zone.Identifier", the mark of a download, and whatever other programs
// keep beside the data), which Windows' own copy carries along with the data.

#include "platform/result.h"

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace platform::win32 {

// The names of the named data streams (":name:$DATA") in a FileStreamInfo answer of `size` bytes;
// the unnamed one ("::$DATA") is the file's own data.
std::vector<std::wstring> namedStreamsIn(const void* answer, std::size_t size);
// The named streams of an open file; none where the file system keeps none.
Result<std::vector<std::wstring>> namedStreamsOf(HANDLE file);
// Copies `streams` of the open file `source` onto the open file `copy`. `carried` tells whether
// the copy's file system holds named streams at all (FAT and exFAT do not); where it does not,
// nothing is copied and `carried` is false.
std::error_code copyNamedStreams(HANDLE source, HANDLE copy,
                                 const std::vector<std::wstring>& streams, bool& carried);
// Copies the data of one open file into another from their beginnings.
std::error_code copyData(HANDLE in, HANDLE out);

} // namespace platform::win32
