#include "platform/linux/move_file.h"

#include "platform/error.h"
#include "platform/linux/attributes.h"
#include "platform/linux/dosattrib.h"
#include "platform/linux/temporary_name.h"
#include "platform/result.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <string>

namespace platform::linux_host {

namespace {

// A rename keeps the file itself; a copy makes a new one with the permission bits only and the
// delete leaves other links alone. Only a file where the two agree is renamed.
bool renamesLikeACopy(const struct stat& st) {
    return S_ISREG(st.st_mode) && st.st_nlink == 1 && (st.st_mode & 07000) == 0;
}

// Without a stored value a file's hidden bit comes from its name; when the new name would
// change it, the file gets the value the copy would write, before the rename. `self` reaches
// the checked file itself. Returns whether it had to be written.
Result<bool> keepImpliedBits(const std::string& self, const struct stat& st,
                             std::string_view sourceName, std::string_view targetName) {
    struct stat regular {};
    regular.st_mode = S_IFREG;
    const std::uint32_t bits = defaultStoredBits(st, sourceName);
    if (bits == defaultStoredBits(regular, targetName))
        return false;
    if (readDosAttribValue(self))
        return false;
    const std::string value = formatDosAttrib(bits);
    if (::setxattr(self.c_str(), kDosAttribName, value.data(), value.size(), XATTR_CREATE) != 0)
        return lastError();
    return true;
}

// A rename that never replaces a file. Where the file system has no such rename (NFS, FUSE over
// libfuse 2), a hard link under the new name, which is never made onto a taken one, and the old
// name removed; such a file system is then asked for the rename no more (`linking`).
bool renameFree(int fromFd, const std::string& from, int toFd, const std::string& to,
                bool& linking) {
    if (!linking) {
        if (::renameat2(fromFd, from.c_str(), toFd, to.c_str(), RENAME_NOREPLACE) == 0)
            return true;
        if (errno != EINVAL && errno != ENOSYS)
            return false;
        linking = true;
    }
    if (::linkat(fromFd, from.c_str(), toFd, to.c_str(), 0) != 0)
        return false;
    if (::unlinkat(fromFd, from.c_str(), 0) == 0)
        return true;
    const int error = errno;
    ::unlinkat(toFd, to.c_str(), 0);
    errno = error;
    return false;
}

// Renames `from` in `fromFd` to a free name of the program's own in `toFd`; empty on failure,
// with errno set.
std::string park(int fromFd, const std::string& from, int toFd, bool& linking) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string parked = temporaryName();
        if (renameFree(fromFd, from, toFd, parked, linking))
            return parked;
        if (errno != EEXIST)
            return {};
    }
    errno = EEXIST;
    return {};
}

} // namespace

std::error_code moveHostEntry(const HostEntry& source, int sourceFd, const struct stat& st,
                              const HostEntry& target, bool& linking) {
    if (!renamesLikeACopy(st))
        return errc(std::errc::operation_not_supported);
    const std::string self = fdPath(sourceFd);
    // The delete would refuse it, so the copy stays beside it; the caller makes that copy.
    if (isReadOnly(st, self))
        return errc(std::errc::permission_denied);
    // A file at the name is never replaced here: the caller's checks and the copy decide that.
    struct stat there {};
    if (::fstatat(target.dirFd(), target.leaf.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0)
        return errc(std::errc::file_exists);
    if (errno != ENOENT)
        return lastError();
    auto marked = keepImpliedBits(self, st, source.name(), target.name());
    if (!marked)
        return marked.error();
    // The descriptor reaches the checked file wherever it stands now.
    const auto unmark = [&] {
        if (*marked)
            ::removexattr(self.c_str(), kDosAttribName);
    };

    const std::string parked = park(source.dirFd(), source.leaf, target.dirFd(), linking);
    if (parked.empty()) {
        const std::error_code error = lastError();
        unmark();
        return error;
    }
    struct stat moved {};
    const bool listed =
        ::fstatat(target.dirFd(), parked.c_str(), &moved, AT_SYMLINK_NOFOLLOW) == 0 &&
        moved.st_dev == st.st_dev && moved.st_ino == st.st_ino;
    std::error_code error;
    // A file system whose numbers follow names rather than files (FUSE without its own) shows a
    // linked file under another number: the caller then copies, which checks the file itself.
    if (!listed)
        error =
            linking ? errc(std::errc::operation_not_supported) : make_error_code(Error::NotListed);
    else if (!renameFree(target.dirFd(), parked, target.dirFd(), target.leaf, linking))
        error = lastError();
    if (!error)
        return {};
    // Back where it came from; where another file has taken that name meanwhile, beside it under
    // a name of the program's own, and reported as not the listed file.
    if (!renameFree(target.dirFd(), parked, source.dirFd(), source.leaf, linking)) {
        park(target.dirFd(), parked, source.dirFd(), linking);
        error = make_error_code(Error::NotListed);
    }
    unmark();
    return error;
}

} // namespace platform::linux_host
