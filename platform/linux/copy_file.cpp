#include "platform/linux/copy_file.h"

#include "platform/error.h"
#include "platform/linux/attributes.h"
#include "platform/linux/dosattrib.h"
#include "platform/linux/fd_io.h"
#include "platform/linux/host_access.h"
#include "platform/linux/temporary_name.h"
#include "platform/result.h"
#include "platform/types.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>

namespace platform::linux_host {

namespace {

bool noStoreSupport(int error) {
    return error == ENOTSUP || error == EOPNOTSUPP;
}

// The temporary file beside the target; removed again unless it was renamed into place. It is
// named relative to the target's open folder, or by its whole path where no folder was opened.
class TemporaryFile {
public:
    explicit TemporaryFile(const HostEntry& target) : m_folderFd(target.dirFd()) {
        if (!target.parent.valid() && !target.held)
            m_prefix = target.leaf.substr(0, target.leaf.size() - target.name().size());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (m_fd.valid()) {
            m_fd.reset();
            ::unlinkat(m_folderFd, m_name.c_str(), 0);
        }
    }

    std::error_code create() {
        for (int attempt = 0; attempt < 100; ++attempt) {
            m_name = m_prefix + temporaryName();
            m_fd.reset(::openat(m_folderFd, m_name.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
            if (m_fd.valid())
                return {};
            if (errno != EEXIST)
                return lastError();
        }
        return errc(std::errc::file_exists);
    }

    int fd() const { return m_fd.get(); }

    std::error_code renameTo(const std::string& leaf) {
        if (::renameat(m_folderFd, m_name.c_str(), m_folderFd, leaf.c_str()) != 0)
            return lastError();
        m_fd.reset();
        return {};
    }

private:
    int m_folderFd;
    std::string m_prefix;
    UniqueFd m_fd;
    std::string m_name;
};

std::error_code copyByReading(int in, int out) {
    char buffer[131072];
    while (true) {
        ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        if (n == 0)
            return {};
        if (auto error = writeAll(out, std::string_view(buffer, static_cast<std::size_t>(n))))
            return error;
    }
}

// copy_file_range where the kernel and the file systems allow it; otherwise, and for files
// whose size the file system does not report, reading and writing.
std::error_code copyData(int in, int out) {
    bool copiedAny = false;
    while (true) {
        ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, std::size_t(1) << 30, 0);
        if (n > 0) {
            copiedAny = true;
            continue;
        }
        if (n == 0)
            return copiedAny ? std::error_code() : copyByReading(in, out);
        if (errno == EINTR)
            continue;
        if (copiedAny)
            return lastError();
        return copyByReading(in, out);
    }
}

} // namespace

std::error_code checkCopyTarget(const HostEntry& target, const struct stat& source) {
    struct stat st {};
    if (::fstatat(target.dirFd(), target.leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? std::error_code() : lastError();
    if (S_ISLNK(st.st_mode)) {
        struct stat linked {};
        if (::fstatat(target.dirFd(), target.leaf.c_str(), &linked, 0) == 0)
            st = linked;
    }
    if (S_ISDIR(st.st_mode))
        return errc(std::errc::is_a_directory);
    if (!S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
        return errc(std::errc::operation_not_permitted);
    if (st.st_dev == source.st_dev && st.st_ino == source.st_ino)
        return errc(std::errc::device_or_resource_busy);
    std::uint32_t attributes =
        attributesFrom(st, target.name(), readStoredBits(target.shortPath()));
    // As Windows' own copy refuses them.
    if (attributes & (ReadOnly | Hidden | System))
        return errc(std::errc::permission_denied);
    return {};
}

namespace {

// Gives the copy the source's hidden, system and archive bits: the stored value as it is, or,
// without one, the bits the source's name implied where the target's name implies others. A
// target file system without stored attributes fails the copy only when bits would be lost.
std::error_code carryStoredBits(const HostEntry& source, int in, const struct stat& sourceStat,
                                const HostEntry& target, int out) {
    // Read from the very file the data comes from.
    std::optional<std::string> raw = readDosAttribValue(fdPath(in));
    std::optional<std::uint32_t> parsed = raw ? parseDosAttrib(*raw) : std::nullopt;
    std::uint32_t bits =
        parsed ? (*parsed & kStoredBits) : defaultStoredBits(sourceStat, source.name());
    struct stat regular {};
    regular.st_mode = S_IFREG;
    std::uint32_t targetDefault = defaultStoredBits(regular, target.name());
    std::string value = raw ? *raw : formatDosAttrib(bits);
    if (!raw && bits == targetDefault)
        return {};
    // The copy takes the source's write bits; where only the value makes it read-only, the
    // copy needs the value too.
    const bool readOnlyInValue =
        isReadOnly(sourceStat, parsed) && !isReadOnly(sourceStat, std::nullopt);
    if (::fsetxattr(out, kDosAttribName, value.data(), value.size(), 0) == 0)
        return {};
    if (noStoreSupport(errno) && bits == targetDefault && !readOnlyInValue)
        return {};
    return lastError();
}

} // namespace

std::error_code copyHostEntry(const HostEntry& source, const HostEntry& target,
                              const struct stat* knownSource, struct stat* opened) {
    const bool knownFile = knownSource && !S_ISLNK(knownSource->st_mode);
    struct stat sourceStat {};
    if (knownFile)
        sourceStat = *knownSource;
    else if (::fstatat(source.dirFd(), source.leaf.c_str(), &sourceStat, 0) != 0)
        return lastError();
    if (S_ISDIR(sourceStat.st_mode))
        return errc(std::errc::is_a_directory);
    if (!S_ISREG(sourceStat.st_mode))
        return errc(std::errc::operation_not_permitted);
    UniqueFd in(::openat(source.dirFd(), source.leaf.c_str(),
                         O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (!in.valid())
        return lastError();
    const struct stat looked = sourceStat;
    if (::fstat(in.get(), &sourceStat) != 0)
        return lastError();
    if (!S_ISREG(sourceStat.st_mode))
        return errc(std::errc::operation_not_permitted);
    // Another file put at the name between the look and the open is not the one asked for.
    if (knownFile && (sourceStat.st_dev != looked.st_dev || sourceStat.st_ino != looked.st_ino))
        return make_error_code(Error::NotListed);
    if (opened)
        *opened = sourceStat;

    if (auto error = checkCopyTarget(target, sourceStat))
        return error;

    TemporaryFile temporary(target);
    if (auto error = temporary.create())
        return error;
    if (auto error = copyData(in.get(), temporary.fd()))
        return error;
    if (auto error = carryStoredBits(source, in.get(), sourceStat, target, temporary.fd()))
        return error;
    const struct timespec times[2] = {{0, UTIME_OMIT}, sourceStat.st_mtim};
    if (::futimens(temporary.fd(), times) != 0)
        return lastError();
    if (::fchmod(temporary.fd(), sourceStat.st_mode & 0777) != 0)
        return lastError();
    return temporary.renameTo(target.leaf);
}

} // namespace platform::linux_host
