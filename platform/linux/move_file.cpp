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

// A rename that never replaces a file; with errno EINVAL or ENOSYS where the file system has
// none (NFS, FUSE over libfuse 2).
bool renameFree(int fromFd, const std::string& from, int toFd, const std::string& to) {
    return ::renameat2(fromFd, from.c_str(), toFd, to.c_str(), RENAME_NOREPLACE) == 0;
}

bool noSuchRename(int error) {
    return error == EINVAL || error == ENOSYS;
}

// Renames `from` in `fromFd` to a free name of the program's own in `toFd`; empty on failure,
// with errno set.
std::string park(int fromFd, const std::string& from, int toFd) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string parked = temporaryName();
        if (renameFree(fromFd, from, toFd, parked))
            return parked;
        if (errno != EEXIST)
            return {};
    }
    errno = EEXIST;
    return {};
}

// Under a private name first, so that the target never shows a file that is not the listed one
// under a name another program would read, then checked, then under the name asked for.
std::error_code renameChecked(const HostEntry& source, const struct stat& st,
                              const HostEntry& target, const std::string& parked) {
    struct stat moved {};
    const bool listed =
        ::fstatat(target.dirFd(), parked.c_str(), &moved, AT_SYMLINK_NOFOLLOW) == 0 &&
        moved.st_dev == st.st_dev && moved.st_ino == st.st_ino;
    std::error_code error;
    if (!listed)
        error = make_error_code(Error::NotListed);
    else if (!renameFree(target.dirFd(), parked, target.dirFd(), target.leaf))
        error = lastError();
    if (!error)
        return {};
    // Back where it came from; where another file has taken that name meanwhile, beside it under
    // a name of the program's own, and reported as not the listed file.
    if (!renameFree(target.dirFd(), parked, source.dirFd(), source.leaf)) {
        park(target.dirFd(), parked, source.dirFd());
        error = make_error_code(Error::NotListed);
    }
    return error;
}

// Where there is no such rename: a hard link made from the descriptor, which reaches the checked
// file wherever it stands and is never made onto a taken name; then the old name, checked to
// name that file still, removed. It did only where the file's count of names fell back.
std::error_code linkChecked(const HostEntry& source, int sourceFd, const std::string& self,
                            const struct stat& st, const HostEntry& target) {
    const auto names = namesNow(sourceFd);
    if (::linkat(AT_FDCWD, self.c_str(), target.dirFd(), target.leaf.c_str(), AT_SYMLINK_FOLLOW) !=
        0)
        return lastError();
    struct stat there {};
    std::error_code error;
    if (::fstatat(source.dirFd(), source.leaf.c_str(), &there, AT_SYMLINK_NOFOLLOW) != 0 ||
        there.st_dev != st.st_dev || there.st_ino != st.st_ino)
        error = make_error_code(Error::NotListed);
    else if (::unlinkat(source.dirFd(), source.leaf.c_str(), 0) != 0)
        error = lastError();
    if (error) {
        ::unlinkat(target.dirFd(), target.leaf.c_str(), 0);
        return error;
    }
    const auto left = namesNow(sourceFd);
    if (names && left && *left > *names)
        return make_error_code(Error::NotListed);
    return {};
}

} // namespace

std::error_code moveHostEntry(const HostEntry& source, int sourceFd, const struct stat& st,
                              const HostEntry& target, bool& linking,
                              std::optional<bool> readOnly) {
    if (!renamesLikeACopy(st))
        return errc(std::errc::operation_not_supported);
    const std::string self = fdPath(sourceFd);
    // The delete would refuse it, so the copy stays beside it; the caller makes that copy.
    if (readOnly ? *readOnly : isReadOnly(st, self))
        return errc(std::errc::permission_denied);
    // A file at the name is never replaced here: the caller's checks and the copy decide that. A
    // link is never made onto one; parking frees the source's name, which may be the target's.
    if (!linking) {
        struct stat there {};
        if (::fstatat(target.dirFd(), target.leaf.c_str(), &there, AT_SYMLINK_NOFOLLOW) == 0)
            return errc(std::errc::file_exists);
        if (errno != ENOENT)
            return lastError();
    }
    auto marked = keepImpliedBits(self, st, source.name(), target.name());
    if (!marked)
        return marked.error();
    // The descriptor reaches the checked file wherever it stands now.
    const auto unmark = [&] {
        if (*marked)
            ::removexattr(self.c_str(), kDosAttribName);
    };

    std::error_code error;
    if (!linking) {
        const std::string parked = park(source.dirFd(), source.leaf, target.dirFd());
        if (!parked.empty())
            error = renameChecked(source, st, target, parked);
        else if (noSuchRename(errno))
            linking = true;
        else
            error = lastError();
    }
    if (linking)
        error = linkChecked(source, sourceFd, self, st, target);
    if (error)
        unmark();
    return error;
}

} // namespace platform::linux_host
