#pragma once

// Access to host paths of any length: paths up to PATH_MAX go to the system as they are, longer
// ones are opened one piece at a time relative to the folder opened before.

#include "platform/linux/unique_fd.h"
#include "platform/result.h"

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace platform::linux_host {

// The error in errno as a value.
std::error_code lastError();

// Joins a host folder and a name with exactly one "/".
std::string joinHost(std::string_view folder, std::string_view name);

// Opens a host folder for reading its entries (O_DIRECTORY, close-on-exec).
Result<UniqueFd> openFolder(const std::string& hostPath);

// One host entry for the *at() calls: `leaf` relative to its open parent folder, or, where no
// folder was opened, the whole path (relative to AT_FDCWD). The root folder itself is addressed
// as "." in "/".
struct HostEntry {
    UniqueFd parent; // not open when `leaf` is the whole path
    std::string leaf;
    std::string path;
    // The entry is to be reached through its folder only, never again by `path`: the folder was
    // checked to be a particular one, which the path may no longer lead to.
    bool pinned = false;
    // The entry's folder where someone else holds it open (instead of `parent`).
    std::shared_ptr<const UniqueFd> held{};

    int dirFd() const;
    // The entry's own name: the last component of `path`, empty for the root folder.
    std::string_view name() const;
    // A path under which path-only calls (extended attributes) reach the entry, short enough
    // for the system even when `path` is not.
    std::string shortPath() const;
};

// An entry addressed through its opened parent folder (which stays put while the entry is used).
Result<HostEntry> openEntry(const std::string& hostPath);
// An entry addressed by its whole path where the system takes it, saving the open and close of
// its folder; a longer path or the root folder as openEntry.
Result<HostEntry> pathEntry(const std::string& hostPath);

// stat() of a host path; `follow` decides whether a final link is followed.
std::error_code statHost(const std::string& hostPath, struct stat& st, bool follow);

// A path for path-only calls on `leaf` inside the open folder `dirFd` at `folderPath`.
std::string shortPathAt(int dirFd, std::string_view folderPath, std::string_view leaf);

// A path for path-only calls (extended attributes, a mode) on the very file `fd` holds, which
// even an O_PATH descriptor of a file that cannot be read gives.
std::string fdPath(int fd);

// The count of names of the file `fd` holds, as the system knows it now, a share not asked again:
// the system's own unlink and link move it on, and so does what another program did through this
// system (a new version renamed over the file took its name). Nothing where it cannot be told.
std::optional<std::uint32_t> namesNow(int fd);

// A time stamp of the host in nanoseconds since 1970.
inline std::int64_t nanoseconds(const struct timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

// An entry's stat with its birth time in nanoseconds since 1970, 0 where the file system gives
// none.
struct BornStat {
    struct stat st {};
    std::int64_t born = 0;
};
// statx() of `name` in `dirFd` (flags as fstatat's, AT_EMPTY_PATH for `dirFd` itself).
std::error_code statBorn(int dirFd, const char* name, int flags, BornStat& out);

} // namespace platform::linux_host
