#pragma once

// Operations on one host file, with the Windows rules the program relies on: a read-only file
// is neither deleted nor appended to, even by a user whose permissions would allow it, and
// nothing but regular files is deleted, read or written.

#include "platform/linux/host_access.h"
#include "platform/result.h"
#include "platform/types.h"

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace platform::linux_host {

// `known`, where given, is the entry's own stat (a final link not followed) as the caller has
// just taken it; it saves taking it again.

// Removes a regular file or a link (never what the link leads to). Refuses folders, links to
// folders, special files and read-only files.
std::error_code deleteHostFile(const std::string& hostPath, const struct stat* known = nullptr);
std::error_code deleteHostEntry(const HostEntry& entry, const struct stat* known = nullptr);
// The same for the checked file `fd` holds (an O_PATH descriptor, `st` its stat) at its name in
// its folder. A file held that has no name left is not deleted: Error::NotListed where another
// file stands at its name, no_such_file_or_directory where none does. Otherwise the name is
// removed and the file held looked at again: where it has not lost that name, another file stood
// at it at the moment of the delete, and Error::NotListed tells that the checked one was not
// removed. `readOnly`, where given, is what was read of the file
// as it was opened.
std::error_code deleteCheckedEntry(const HostEntry& entry, int fd, const struct stat& st,
                                   std::optional<bool> readOnly = std::nullopt);

std::error_code createHostFolder(const std::string& hostPath);

Result<std::uint64_t> hostFileLength(const std::string& hostPath);

// Last-write time in local time.
Result<DateTime> hostFileDateTime(const std::string& hostPath);

// Appends to the file `name` in the open folder `folderFd`, creating it if needed (mode 0644
// before the mask), in one open-write-close; a link at the name is never followed.
std::error_code appendAt(int folderFd, const std::string& name, std::string_view bytes);

Result<std::string> readHostFile(const std::string& hostPath);

} // namespace platform::linux_host
