#include "platform/linux/attributes.h"

#include "platform/linux/dosattrib.h"
#include "platform/types.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>

namespace platform::linux_host {

namespace {

constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

bool noWriteBit(const struct stat& st) {
    return (st.st_mode & kWriteBits) == 0;
}

bool noStoreSupport(int error) {
    return error == ENOTSUP || error == EOPNOTSUPP;
}

// The name that may make an entry hidden; "." and ".." have none of their own.
std::string_view ownName(const HostEntry& entry) {
    return entry.name() == "." || entry.name() == ".." ? std::string_view() : entry.name();
}

// A file to change, reached through `self` (a path to the very file, /proc/self/fd/N), with its
// own name and stat.
struct Changed {
    std::string self;
    std::string_view name;
    struct stat st;
};

std::error_code changeMode(const Changed& file, mode_t mode) {
    if (::chmod(file.self.c_str(), mode & 07777) != 0)
        return lastError();
    return {};
}

std::error_code writeStoredBits(const Changed& file, std::uint32_t bits) {
    const std::uint32_t implied = defaultStoredBits(file.st, file.name);
    if (bits == implied) {
        if (::removexattr(file.self.c_str(), kDosAttribName) != 0 && errno != ENODATA &&
            !noStoreSupport(errno))
            return lastError();
        return {};
    }
    std::string value = formatDosAttrib(bits);
    if (::setxattr(file.self.c_str(), kDosAttribName, value.data(), value.size(), 0) != 0) {
        // Where nothing can be stored, the write bits alone carry read-only.
        if (noStoreSupport(errno) && (bits & ~std::uint32_t{ReadOnly}) == implied)
            return {};
        return lastError();
    }
    return {};
}

// The stored bits written as the file's owner may: where the owner lacks the write bit (a
// read-only file, or one that only others may write), it is lent for the moment of the write.
std::error_code writeStoredBitsAsOwner(const Changed& file, std::uint32_t bits) {
    std::error_code error = writeStoredBits(file, bits);
    if ((file.st.st_mode & S_IWUSR) ||
        (error != std::errc::permission_denied && error != std::errc::operation_not_permitted))
        return error;
    if (changeMode(file, file.st.st_mode | S_IWUSR))
        return error;
    error = writeStoredBits(file, bits);
    const std::error_code restored = changeMode(file, file.st.st_mode);
    return error ? error : restored;
}

// The file an entry names, opened without reading it: the entry itself, or what it leads to
// where it is a link whose owner owns that too.
Result<UniqueFd> openToChange(const HostEntry& entry, struct stat& st) {
    UniqueFd own(::openat(entry.dirFd(), entry.leaf.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (!own.valid() || ::fstat(own.get(), &st) != 0)
        return lastError();
    if (!S_ISLNK(st.st_mode))
        return own;
    const uid_t linkOwner = st.st_uid;
    UniqueFd linked(::openat(entry.dirFd(), entry.leaf.c_str(), O_PATH | O_CLOEXEC));
    if (!linked.valid() || ::fstat(linked.get(), &st) != 0)
        return lastError();
    if (st.st_uid != linkOwner)
        return errc(std::errc::permission_denied);
    return linked;
}

} // namespace

std::uint32_t defaultStoredBits(const struct stat& st, std::string_view name) {
    std::uint32_t bits = 0;
    if (S_ISREG(st.st_mode))
        bits |= Archive;
    if (!name.empty() && name.front() == '.')
        bits |= Hidden;
    return bits;
}

bool isReadOnly(const struct stat& st, std::optional<std::uint32_t> stored) {
    return noWriteBit(st) || (stored && (*stored & ReadOnly));
}

bool isReadOnly(const struct stat& st, const std::string& path) {
    return noWriteBit(st) || isReadOnly(st, readStoredBits(path));
}

std::uint32_t attributesFrom(const struct stat& st, std::string_view name,
                             std::optional<std::uint32_t> stored) {
    std::uint32_t bits = stored ? (*stored & kStoredBits) : defaultStoredBits(st, name);
    if (isReadOnly(st, stored))
        bits |= ReadOnly;
    if (S_ISDIR(st.st_mode))
        bits |= Directory;
    return bits;
}

std::optional<std::string> readDosAttribValue(const std::string& path) {
    std::string value(256, '\0');
    ssize_t n = ::getxattr(path.c_str(), kDosAttribName, value.data(), value.size());
    if (n < 0 && errno == ERANGE) {
        ssize_t size = ::getxattr(path.c_str(), kDosAttribName, nullptr, 0);
        if (size <= 0)
            return std::nullopt;
        value.resize(static_cast<std::size_t>(size));
        n = ::getxattr(path.c_str(), kDosAttribName, value.data(), value.size());
    }
    if (n < 0)
        return std::nullopt;
    value.resize(static_cast<std::size_t>(n));
    return value;
}

std::optional<std::uint32_t> readStoredBits(const std::string& path) {
    auto value = readDosAttribValue(path);
    if (!value)
        return std::nullopt;
    return parseDosAttrib(*value);
}

std::error_code statEntry(const HostEntry& entry, struct stat& st) {
    if (::fstatat(entry.dirFd(), entry.leaf.c_str(), &st, 0) == 0)
        return {};
    std::error_code followError = lastError();
    if (::fstatat(entry.dirFd(), entry.leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISLNK(st.st_mode))
        return {};
    return followError;
}

Result<std::uint32_t> readAttributes(const HostEntry& entry) {
    struct stat st {};
    if (auto error = statEntry(entry, st))
        return error;
    return attributesFrom(st, ownName(entry), readStoredBits(entry.shortPath()));
}

std::error_code writeAttributes(const HostEntry& entry, std::uint32_t attributes, mode_t umask) {
    struct stat st {};
    auto fd = openToChange(entry, st);
    if (!fd)
        return fd.error();
    Changed file{fdPath(fd->get()), ownName(entry), st};
    // Read-only is stored as well as taken from the write bits, so that a Samba server, which
    // reads it from the stored value alone, keeps it too.
    std::uint32_t bits = attributes & (kStoredBits | ReadOnly);
    // A user without privileges may change the stored bits only while the owner may write the
    // file, so they are written before the write bits go and after they come back.
    if (bits & ReadOnly) {
        if (auto error = writeStoredBitsAsOwner(file, bits))
            return error;
        if (!noWriteBit(file.st))
            return changeMode(file, file.st.st_mode & ~kWriteBits);
        return {};
    }
    if (noWriteBit(file.st)) {
        mode_t writeBits =
            (S_IRUSR | S_IWUSR | ((file.st.st_mode & (S_IRGRP | S_IROTH)) >> 1)) & ~umask;
        // A mask that takes every write bit must not leave the file read-only after all.
        if ((writeBits & kWriteBits) == 0)
            writeBits |= S_IWUSR;
        if (auto error = changeMode(file, file.st.st_mode | writeBits))
            return error;
        file.st.st_mode |= writeBits;
    }
    return writeStoredBitsAsOwner(file, bits);
}

} // namespace platform::linux_host
