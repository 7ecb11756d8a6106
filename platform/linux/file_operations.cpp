#include "platform/linux/file_operations.h"

#include "platform/error.h"
#include "platform/linux/attributes.h"
#include "platform/linux/fd_io.h"
#include "platform/linux/host_access.h"
#include "platform/linux/local_time.h"
#include "platform/result.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform::linux_host {

namespace {

// Only regular files are read or written: opening a FIFO could block and opening a device
// could act on it.
std::error_code requireRegular(const struct stat& st) {
    if (S_ISDIR(st.st_mode))
        return errc(std::errc::is_a_directory);
    if (!S_ISREG(st.st_mode))
        return errc(std::errc::operation_not_permitted);
    return {};
}

// Opens an existing regular file that was checked by stat before; the flags keep a file that
// was swapped for a FIFO meanwhile from blocking, and the second check catches the swap.
Result<UniqueFd> openRegular(const HostEntry& entry, int flags, mode_t mode = 0) {
    UniqueFd fd(::openat(entry.dirFd(), entry.leaf.c_str(),
                         flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, mode));
    if (!fd.valid())
        return lastError();
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return lastError();
    if (auto error = requireRegular(st))
        return error;
    return fd;
}

} // namespace

std::error_code deleteHostFile(const std::string& hostPath, const struct stat* known) {
    auto entry = pathEntry(hostPath);
    if (!entry)
        return entry.error();
    return deleteHostEntry(*entry, known);
}

namespace {

// A link is refused exactly where what it leads to would be: it shows that file's attributes.
std::error_code refuseLinkDelete(const HostEntry& entry) {
    struct stat target {};
    if (::fstatat(entry.dirFd(), entry.leaf.c_str(), &target, 0) != 0)
        return {};
    if (S_ISDIR(target.st_mode))
        return errc(std::errc::is_a_directory);
    if (isReadOnly(target, entry.shortPath()))
        return errc(std::errc::permission_denied);
    return {};
}

// Why the entry `st` describes may not be deleted, if it may not: a link by its own rules, a
// file when it is no regular one or read-only; `self` reaches the file to read its record where
// `readOnly` does not tell.
std::error_code refuseDelete(const HostEntry& entry, const struct stat& st, const std::string& self,
                             std::optional<bool> readOnly) {
    if (S_ISLNK(st.st_mode))
        return refuseLinkDelete(entry);
    if (auto error = requireRegular(st))
        return error;
    if (readOnly ? *readOnly : isReadOnly(st, self))
        return errc(std::errc::permission_denied);
    return {};
}

} // namespace

std::error_code deleteHostEntry(const HostEntry& entry, const struct stat* known) {
    struct stat st {};
    if (known)
        st = *known;
    else if (::fstatat(entry.dirFd(), entry.leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return lastError();
    if (auto error = refuseDelete(entry, st, entry.shortPath(), std::nullopt))
        return error;
    if (::unlinkat(entry.dirFd(), entry.leaf.c_str(), 0) != 0)
        return lastError();
    return {};
}

std::error_code deleteCheckedEntry(const HostEntry& entry, int fd, const struct stat& st,
                                   std::optional<bool> readOnly) {
    // A file without a name left has gone since it was looked at, or was replaced (a new version
    // renamed over it): what stands at its name now is another, whatever the look saw.
    const auto names = namesNow(fd);
    if (names == 0U) {
        struct stat there {};
        return ::fstatat(entry.dirFd(), entry.leaf.c_str(), &there, AT_SYMLINK_NOFOLLOW) != 0
                   ? lastError()
                   : make_error_code(Error::NotListed);
    }
    if (auto error = refuseDelete(entry, st, fdPath(fd), readOnly))
        return error;
    if (::unlinkat(entry.dirFd(), entry.leaf.c_str(), 0) != 0)
        return lastError();
    // A file that can no longer be looked at has gone with its last name.
    const auto left = namesNow(fd);
    if (names && left && *left >= *names)
        return make_error_code(Error::NotListed);
    return {};
}

std::error_code createHostFolder(const std::string& hostPath) {
    auto entry = openEntry(hostPath);
    if (!entry)
        return entry.error();
    if (::mkdirat(entry->dirFd(), entry->leaf.c_str(), 0777) != 0)
        return lastError();
    return {};
}

Result<std::uint64_t> hostFileLength(const std::string& hostPath) {
    struct stat st {};
    if (auto error = statHost(hostPath, st, true))
        return error;
    if (S_ISDIR(st.st_mode))
        return errc(std::errc::is_a_directory);
    return static_cast<std::uint64_t>(st.st_size);
}

Result<DateTime> hostFileDateTime(const std::string& hostPath) {
    struct stat st {};
    if (auto error = statHost(hostPath, st, true))
        return error;
    return localDateTime(st.st_mtim.tv_sec);
}

std::error_code appendAt(int folderFd, const std::string& name, std::string_view bytes) {
    // Only a file is opened: a device could act on the open itself, and a link (refused here,
    // or by the open where one is planted meanwhile) leads where the user never chose.
    struct stat st {};
    if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (auto error = requireRegular(st))
            return error;
    } else if (errno != ENOENT) {
        return lastError();
    }
    UniqueFd fd(::openat(
        folderFd, name.c_str(),
        O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0644));
    if (!fd.valid())
        return lastError();
    if (::fstat(fd.get(), &st) != 0)
        return lastError();
    if (auto error = requireRegular(st))
        return error;
    if (isReadOnly(st, fdPath(fd.get())))
        return errc(std::errc::permission_denied);
    if (auto error = appendAll(fd.get(), bytes))
        return error;
    if (::close(fd.release()) != 0)
        return lastError();
    return {};
}

Result<std::string> readHostFile(const std::string& hostPath) {
    auto entry = pathEntry(hostPath);
    if (!entry)
        return entry.error();
    struct stat st {};
    if (::fstatat(entry->dirFd(), entry->leaf.c_str(), &st, 0) != 0)
        return lastError();
    if (auto error = requireRegular(st))
        return error;
    auto fd = openRegular(*entry, O_RDONLY);
    if (!fd)
        return fd.error();
    return readAll(fd->get());
}

} // namespace platform::linux_host
