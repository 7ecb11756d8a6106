#pragma once

// A file system may give a new file the inode number of one just deleted (ext4 does so at once),
// so a number alone does not tell a listed file from one made since under its name. Where every
// entry made in a folder moves the folder's change time on, and files are born by the same
// clock, a file born after its folder's change time at the listing was made after the listing.
// File systems that keep times by another rule (FAT keeps a folder's making as its change time,
// and two seconds' steps; a share keeps the server's clock) are not asked.

#include <sys/types.h>

#include <cstdint>
#include <unordered_map>

namespace platform::linux_host {

class BirthTimes {
public:
    // Whether a file of `device`, in the open folder `folderFd`, born at `born` is younger than
    // its folder's listing at `listedAt` (both in nanoseconds, 0 where unknown).
    bool bornSince(int folderFd, dev_t device, std::int64_t born, std::int64_t listedAt);

private:
    // Per device, whether its file system follows the rule above.
    std::unordered_map<dev_t, bool> m_told;
};

} // namespace platform::linux_host
