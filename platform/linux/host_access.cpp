#include "platform/linux/host_access.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/sysmacros.h>

#include <cerrno>

namespace platform::linux_host {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

bool fitsSystem(std::string_view path) {
    return path.size() < PATH_MAX;
}

// Opens a path longer than PATH_MAX by walking it in pieces of whole components, each piece
// shorter than PATH_MAX.
Result<UniqueFd> openFolderInPieces(std::string_view path) {
    UniqueFd current(::open(path.front() == '/' ? "/" : ".", kFolderFlags));
    if (!current.valid())
        return lastError();
    auto componentEnd = [&](std::size_t from) {
        std::size_t slash = path.find('/', from);
        return slash == std::string_view::npos ? path.size() : slash;
    };
    std::size_t pos = 0;
    while (true) {
        pos = path.find_first_not_of('/', pos);
        if (pos == std::string_view::npos)
            break;
        std::size_t end = componentEnd(pos);
        while (end < path.size()) {
            std::size_t next = componentEnd(end + 1);
            if (next - pos >= PATH_MAX)
                break;
            end = next;
        }
        std::string piece(path.substr(pos, end - pos));
        UniqueFd child(::openat(current.get(), piece.c_str(), kFolderFlags));
        if (!child.valid())
            return lastError();
        current = std::move(child);
        pos = end;
    }
    return current;
}

} // namespace

std::error_code lastError() {
    return std::error_code(errno, std::generic_category());
}

std::string joinHost(std::string_view folder, std::string_view name) {
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder);
    if (path.empty() || path.back() != '/')
        path.push_back('/');
    path.append(name);
    return path;
}

Result<UniqueFd> openFolder(const std::string& hostPath) {
    if (hostPath.empty())
        return std::make_error_code(std::errc::no_such_file_or_directory);
    if (!fitsSystem(hostPath))
        return openFolderInPieces(hostPath);
    UniqueFd fd(::open(hostPath.c_str(), kFolderFlags));
    if (!fd.valid())
        return lastError();
    return fd;
}

int HostEntry::dirFd() const {
    return parent.valid() ? parent.get() : held ? held->get() : AT_FDCWD;
}

std::string_view HostEntry::name() const {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string_view(path)
                                      : std::string_view(path).substr(slash + 1);
}

std::string HostEntry::shortPath() const {
    if (!pinned && fitsSystem(path))
        return path;
    return shortPathAt(dirFd(), {}, leaf);
}

Result<HostEntry> openEntry(const std::string& hostPath) {
    std::size_t end = hostPath.find_last_not_of('/');
    if (end == std::string::npos) {
        if (hostPath.empty())
            return std::make_error_code(std::errc::no_such_file_or_directory);
        auto root = openFolder("/");
        if (!root)
            return root.error();
        return HostEntry{std::move(root).value(), ".", "/"};
    }
    std::string path = hostPath.substr(0, end + 1);
    std::size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "."
                         : slash == 0               ? "/"
                                                    : path.substr(0, slash);
    auto parent = openFolder(folder);
    if (!parent)
        return parent.error();
    std::string leaf = path.substr(slash == std::string::npos ? 0 : slash + 1);
    return HostEntry{std::move(parent).value(), std::move(leaf), std::move(path)};
}

Result<HostEntry> pathEntry(const std::string& hostPath) {
    std::size_t end = hostPath.find_last_not_of('/');
    if (end == std::string::npos || !fitsSystem(hostPath))
        return openEntry(hostPath);
    std::string path = hostPath.substr(0, end + 1);
    return HostEntry{UniqueFd(), path, path};
}

std::error_code statHost(const std::string& hostPath, struct stat& st, bool follow) {
    int flags = follow ? 0 : AT_SYMLINK_NOFOLLOW;
    if (fitsSystem(hostPath)) {
        if (::fstatat(AT_FDCWD, hostPath.c_str(), &st, flags) != 0)
            return lastError();
        return {};
    }
    auto entry = openEntry(hostPath);
    if (!entry)
        return entry.error();
    if (::fstatat(entry->dirFd(), entry->leaf.c_str(), &st, flags) != 0)
        return lastError();
    return {};
}

std::string fdPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

std::optional<std::uint32_t> namesNow(int fd) {
    struct statx x {};
    if (::statx(fd, "", AT_EMPTY_PATH | AT_STATX_DONT_SYNC, STATX_NLINK, &x) != 0)
        return std::nullopt;
    return x.stx_nlink;
}

std::error_code statBorn(int dirFd, const char* name, int flags, BornStat& out) {
    struct statx x {};
    if (::statx(dirFd, name, flags, STATX_BASIC_STATS | STATX_BTIME, &x) != 0)
        return lastError();
    struct stat& st = out.st;
    st = {};
    st.st_dev = makedev(x.stx_dev_major, x.stx_dev_minor);
    st.st_rdev = makedev(x.stx_rdev_major, x.stx_rdev_minor);
    st.st_ino = x.stx_ino;
    st.st_mode = x.stx_mode;
    st.st_nlink = x.stx_nlink;
    st.st_uid = x.stx_uid;
    st.st_gid = x.stx_gid;
    st.st_size = static_cast<off_t>(x.stx_size);
    st.st_blksize = static_cast<blksize_t>(x.stx_blksize);
    st.st_blocks = static_cast<blkcnt_t>(x.stx_blocks);
    const auto time = [](const struct statx_timestamp& t) {
        return timespec{static_cast<time_t>(t.tv_sec), static_cast<long>(t.tv_nsec)};
    };
    st.st_atim = time(x.stx_atime);
    st.st_mtim = time(x.stx_mtime);
    st.st_ctim = time(x.stx_ctime);
    out.born = (x.stx_mask & STATX_BTIME) ? nanoseconds(time(x.stx_btime)) : 0;
    return {};
}

std::string shortPathAt(int dirFd, std::string_view folderPath, std::string_view leaf) {
    if (!folderPath.empty()) {
        std::string path = joinHost(folderPath, leaf);
        if (fitsSystem(path))
            return path;
    }
    return joinHost("/proc/self/fd/" + std::to_string(dirFd), leaf);
}

} // namespace platform::linux_host
