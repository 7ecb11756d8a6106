#pragma once

#include "platform/linux/host_access.h"

#include <sys/stat.h>

#include <string>
#include <system_error>

namespace platform::linux_host {

// Moves a file by renaming it onto a free name, only where the result is exactly what
// copyHostFile followed by deleteHostFile of the source would leave: the source a regular file
// that is not read-only, has no other link and no set-id or sticky bit, both on one file system.
// The stored attributes stay those the copy would give the target. Otherwise nothing changes and
// the reason is returned (file_exists for a taken name, cross_device_link for another file
// system, permission_denied for a read-only source, operation_not_supported for a file the
// rename would treat differently); the caller then copies and deletes.
// `knownSource` is the source's own stat (a final link not followed) when the caller has just
// taken it.
std::error_code moveHostFile(const std::string& sourcePath, const std::string& targetPath,
                             const struct stat* knownSource = nullptr);
// The same for a source entry of the caller's.
std::error_code moveHostEntry(const HostEntry& source, const std::string& targetPath,
                              const struct stat* knownSource = nullptr);

} // namespace platform::linux_host
