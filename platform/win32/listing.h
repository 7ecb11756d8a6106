#pragma once

// A folder's entries read through a handle on it, so that a held folder is listed as itself.

#include "platform/types.h"

#include <windows.h>

#include <system_error>

namespace platform::win32 {

// Lists the folder open as `folder` (with FILE_LIST_DIRECTORY and FILE_READ_ATTRIBUTES) from its
// first entry, whatever was read through the handle before; `driveRoot` leaves out "." and "..".
std::error_code listOpenFolder(HANDLE folder, bool driveRoot, ListDetail detail, Listing& out);

// Whether an error of a folder's entry query ends its listing without failing it: no more
// entries, or none at all at the first query, as at an empty drive root (FAT, exFAT), which has
// not even "." and "..".
bool endsListing(unsigned long error, bool firstQuery);

} // namespace platform::win32
