#include "platform/linux/move_file.h"

#include "platform/linux/attributes.h"
#include "platform/linux/dosattrib.h"
#include "platform/linux/host_access.h"
#include "platform/result.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cstdio>

namespace platform::linux_host {

namespace {

// A rename keeps the file itself; a copy makes a new one with the permission bits only and the
// delete leaves other links alone. Only a file where the two agree is renamed.
bool renamesLikeACopy(const struct stat& st) {
    return S_ISREG(st.st_mode) && st.st_nlink == 1 && (st.st_mode & 07000) == 0;
}

// Without a stored value a file's hidden bit comes from its name; when the new name would
// change it, the source gets the value the copy would write, before the rename. Returns whether
// it had to be written.
Result<bool> keepImpliedBits(const HostEntry& source, const struct stat& st,
                             const HostEntry& target) {
    struct stat regular {};
    regular.st_mode = S_IFREG;
    const std::uint32_t bits = defaultStoredBits(st, source.name());
    if (bits == defaultStoredBits(regular, target.name()))
        return false;
    const std::string path = source.shortPath();
    if (readDosAttribValue(path))
        return false;
    const std::string value = formatDosAttrib(bits);
    if (::setxattr(path.c_str(), kDosAttribName, value.data(), value.size(), XATTR_CREATE) != 0)
        return lastError();
    return true;
}

} // namespace

std::error_code moveHostFile(const std::string& sourcePath, const std::string& targetPath,
                             const struct stat* knownSource) {
    auto source = pathEntry(sourcePath);
    if (!source)
        return source.error();
    return moveHostEntry(*source, targetPath, knownSource);
}

std::error_code moveHostEntry(const HostEntry& source, const std::string& targetPath,
                              const struct stat* knownSource) {
    struct stat st {};
    if (knownSource)
        st = *knownSource;
    else if (::fstatat(source.dirFd(), source.leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return lastError();
    if (!renamesLikeACopy(st))
        return errc(std::errc::operation_not_supported);
    // The delete would refuse it, so the copy stays beside it; the caller makes that copy.
    if (isReadOnly(st, source.shortPath()))
        return errc(std::errc::permission_denied);

    auto target = pathEntry(targetPath);
    if (!target)
        return target.error();
    auto marked = keepImpliedBits(source, st, *target);
    if (!marked)
        return marked.error();
    // A file at the name is never replaced here: the caller's checks and the copy decide that.
    std::error_code error;
    if (::renameat2(source.dirFd(), source.leaf.c_str(), target->dirFd(), target->leaf.c_str(),
                    RENAME_NOREPLACE) != 0)
        error = lastError();
    if (error && *marked)
        ::removexattr(source.shortPath().c_str(), kDosAttribName);
    return error;
}

} // namespace platform::linux_host
