#include "platform/linux/listed_file.h"

#include "platform/error.h"
#include "platform/linux/copy_file.h"
#include "platform/linux/file_operations.h"
#include "platform/linux/move_file.h"
#include "platform/linux/name_mapping.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace platform::linux_host {

namespace {

std::error_code notAsListed() {
    return make_error_code(platform::Error::NotListed);
}

bool sameTime(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// A folder opened on the way down, checked against the identity the walk saw there. A name
// that now holds no folder, or none at all, no longer leads to the listed one.
Result<UniqueFd> checked(Result<UniqueFd> opened, const FileId& listed) {
    if (!opened)
        return opened.error() == std::errc::not_a_directory ||
                       opened.error() == std::errc::no_such_file_or_directory
                   ? notAsListed()
                   : opened.error();
    struct stat st {};
    if (::fstat(opened->get(), &st) != 0)
        return lastError();
    if (static_cast<std::uint64_t>(st.st_dev) != listed.device ||
        static_cast<std::uint64_t>(st.st_ino) != listed.inode)
        return notAsListed();
    return opened;
}

} // namespace

bool unchangedSince(const struct stat& copied, const struct stat& now) {
    return now.st_dev == copied.st_dev && now.st_ino == copied.st_ino &&
           now.st_size == copied.st_size && sameTime(now.st_mtim, copied.st_mtim) &&
           sameTime(now.st_ctim, copied.st_ctim);
}

Result<HostEntry> ReachedFolders::reach(const std::string& startHost,
                                        const std::vector<std::string>& names,
                                        const ListedTrail& trail, bool heldOnly) {
    const std::size_t folders = trail.folders.size();
    if (folders == 0 || names.size() != folders)
        return std::make_error_code(std::errc::invalid_argument);
    if (heldOnly && startHost != m_start)
        return std::make_error_code(std::errc::operation_would_block);
    if (startHost != m_start) {
        m_folders.clear();
        m_start = startHost;
    }
    for (std::size_t i = 0; i < folders; ++i) {
        const std::string name = i == 0 ? std::string() : names[i - 1];
        // A held folder is the listed one whatever has happened to its name since.
        if (i < m_folders.size() && m_folders[i].id == trail.folders[i] &&
            m_folders[i].name == name)
            continue;
        if (heldOnly)
            return std::make_error_code(std::errc::operation_would_block);
        m_folders.resize(i);
        // A link is followed here; it passes only where it leads to the listed folder.
        Result<UniqueFd> opened = std::make_error_code(std::errc::invalid_argument);
        if (i == 0) {
            opened = openFolder(startHost);
        } else {
            UniqueFd fd(::openat(m_folders[i - 1].fd->get(), name.c_str(),
                                 O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            opened = fd.valid() ? Result<UniqueFd>(std::move(fd)) : lastError();
        }
        auto folder = checked(std::move(opened), trail.folders[i]);
        if (!folder)
            return folder.error();
        m_folders.push_back(
            {trail.folders[i], name, std::make_shared<const UniqueFd>(std::move(folder).value())});
    }
    m_folders.resize(folders);
    HostEntry entry{UniqueFd(), names.back(), names.back()};
    entry.pinned = true;
    entry.held = m_folders.back().fd;
    return entry;
}

Result<UniqueFd> LinuxListedFile::openAsListed(struct stat& st, std::optional<bool>& readOnly,
                                               Look how) {
    // A look ahead that found nothing is taken anew (the file may be back), and so is a listed
    // link, whose file is reached by its name.
    const bool ahead = m_ahead && !m_ahead->error && !m_link && how == Look::Ahead;
    FirstLook look =
        ahead ? std::move(*m_ahead) : firstLook(m_entry.dirFd(), m_entry.leaf, how == Look::Fresh);
    m_ahead.reset();
    if (look.error)
        return look.error;
    st = look.born.st;
    readOnly = look.readOnly;
    if (m_checked &&
        ((m_id != 0 && static_cast<std::uint64_t>(st.st_ino) != m_id) ||
         S_ISLNK(st.st_mode) != m_link ||
         m_hold->birthTimes.bornSince(m_entry.dirFd(), st.st_dev, look.born.born, m_listedAt)))
        return notAsListed();
    return std::move(look.fd);
}

Result<HostEntry> LinuxListedFile::inTarget(std::string_view name) const {
    if (!m_hold->target)
        return std::make_error_code(std::errc::no_such_file_or_directory);
    const std::string host = hostName(name);
    HostEntry target{UniqueFd(), host, host};
    target.pinned = true;
    target.held = m_hold->target;
    return target;
}

std::error_code LinuxListedFile::check() {
    struct stat st {};
    std::optional<bool> readOnly;
    auto fd = openAsListed(st, readOnly, Look::Now);
    return fd ? std::error_code() : fd.error();
}

std::error_code LinuxListedFile::remove() {
    struct stat st {};
    std::optional<bool> readOnly;
    // Whether the file changed since its copy is asked of the file system itself. The delete
    // checks afterwards that it removed a name of the file looked at.
    auto fd = openAsListed(st, readOnly, m_copied ? Look::Fresh : Look::Ahead);
    if (!fd)
        return fd.error();
    if (m_copied) {
        // What the copy read: the file itself, or the one a link leads to.
        struct stat now = st;
        if (S_ISLNK(st.st_mode) && ::fstatat(m_entry.dirFd(), m_entry.leaf.c_str(), &now, 0) != 0)
            return notAsListed();
        if (!unchangedSince(*m_copied, now))
            return notAsListed();
    }
    return deleteCheckedEntry(m_entry, fd->get(), st, readOnly);
}

std::error_code LinuxListedFile::copyTo(std::string_view name) {
    m_copied.reset();
    struct stat st {
    }, opened{};
    std::optional<bool> readOnly;
    // The copy compares what it opens with what was looked at.
    auto fd = openAsListed(st, readOnly, Look::Ahead);
    if (!fd)
        return fd.error();
    auto target = inTarget(name);
    if (!target)
        return target.error();
    if (auto error = copyHostEntry(m_entry, *target, &st, &opened))
        return error;
    m_copied = opened;
    return {};
}

std::error_code LinuxListedFile::moveTo(std::string_view name) {
    struct stat st {};
    std::optional<bool> readOnly;
    // The move checks afterwards that it moved the file looked at.
    auto fd = openAsListed(st, readOnly, Look::Ahead);
    if (!fd)
        return fd.error();
    auto target = inTarget(name);
    if (!target)
        return target.error();
    return moveHostEntry(m_entry, fd->get(), st, *target, m_hold->linksForRenames, readOnly);
}

} // namespace platform::linux_host
