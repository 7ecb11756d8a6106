#pragma once

#include "platform/linux/host_access.h"

#include <sys/stat.h>

#include <optional>
#include <system_error>

namespace platform::linux_host {

// Moves the checked file `source` to `target` by renaming it onto a free name, only where the
// result is exactly what a copy followed by a delete of the source would leave: the source a
// regular file that is not read-only, has no other link and no set-id or sticky bit, both on one
// file system. The stored attributes stay those the copy would give the target. `sourceFd` holds
// the very file that was checked (an O_PATH descriptor) and `st` is its stat: the file is renamed
// to a name of the program's own in the target's folder first, compared with it there, and only
// then takes the target's name, so that a file another program put at the source's name
// meanwhile never arrives under it; such a file is put back and Error::NotListed returned.
// Otherwise nothing changes and the reason is returned (file_exists for a taken name,
// cross_device_link for another file system, permission_denied for a read-only source,
// operation_not_supported for a file the rename would treat differently); the caller then
// copies and deletes. `linking` is true once the file system has shown it has no rename that
// refuses to replace (the move then links the checked file under the target's name and removes
// its old name); the caller keeps it for the next move. `readOnly`, where given, is what was read
// of the source as it was opened.
std::error_code moveHostEntry(const HostEntry& source, int sourceFd, const struct stat& st,
                              const HostEntry& target, bool& linking,
                              std::optional<bool> readOnly = std::nullopt);

} // namespace platform::linux_host
