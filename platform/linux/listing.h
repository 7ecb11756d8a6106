#pragma once

#include "platform/types.h"

#include <string>
#include <system_error>

namespace platform::linux_host {

// Lists the host folder `path` into `out` (cleared first) in the order the file system gives.
// At a drive root "." and ".." are left out. With ListDetail::Kind only links and entries of
// unknown type are looked at beyond the listing itself. The folder is closed on return.
std::error_code listHostFolder(const std::string& path, bool driveRoot, ListDetail detail,
                               Listing& out);
// The same for a folder already open for reading as `path`; the folder stays open.
std::error_code listOpenFolder(int folderFd, const std::string& path, bool driveRoot,
                               ListDetail detail, Listing& out);

} // namespace platform::linux_host
