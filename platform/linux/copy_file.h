#pragma once

#include "platform/linux/host_access.h"

#include <sys/stat.h>

#include <system_error>

namespace platform::linux_host {

// Whether a copy of the file `source` may land on `target`: nothing there, or a file (or a link
// to one) that is neither a folder, read-only, hidden, system nor the source itself.
std::error_code checkCopyTarget(const HostEntry& target, const struct stat& source);

// Copies a regular file onto `target`, replacing an existing file there, with the Windows rules:
// a target that is a folder, read-only, hidden, system or the source itself is refused, and so is
// a source that is not a regular file (it is never opened). The data goes into a temporary file
// in the target's folder, which gets the source's permission bits, stored attributes and
// last-write time and is then renamed onto the target; on any failure the temporary file is
// removed and the target stays as it was. A link at the target name is replaced, never written
// through. `knownSource` is the source's own stat (a final link not followed) when the caller
// has just taken it; `opened`, where given, receives the source's stat as the copy opened it,
// before it read anything.
std::error_code copyHostEntry(const HostEntry& source, const HostEntry& target,
                              const struct stat* knownSource = nullptr,
                              struct stat* opened = nullptr);

} // namespace platform::linux_host
