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
                                        const ListedTrail& trail) {
    const std::size_t folders = trail.folders.size();
    if (folders == 0 || names.size() != folders)
        return std::make_error_code(std::errc::invalid_argument);
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

Result<UniqueFd> LinuxListedFile::openAsListed(struct stat& st, bool fresh) {
    UniqueFd fd(::openat(m_entry.dirFd(), m_entry.leaf.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.valid())
        return lastError();
    BornStat born;
    if (auto error = statBorn(
            fd.get(), "", AT_EMPTY_PATH | (fresh ? AT_STATX_FORCE_SYNC : AT_STATX_DONT_SYNC), born))
        return error;
    st = born.st;
    if (!m_checked)
        return fd;
    if ((m_id != 0 && static_cast<std::uint64_t>(st.st_ino) != m_id) ||
        S_ISLNK(st.st_mode) != m_link ||
        m_hold->birthTimes.bornSince(m_entry.dirFd(), st.st_dev, born.born, m_listedAt))
        return notAsListed();
    return fd;
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
    auto fd = openAsListed(st);
    return fd ? std::error_code() : fd.error();
}

std::error_code LinuxListedFile::remove() {
    struct stat st {};
    // Whether the file changed since its copy is asked of the file system itself.
    auto fd = openAsListed(st, m_copied.has_value());
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
    return deleteCheckedEntry(m_entry, fd->get(), st);
}

std::error_code LinuxListedFile::copyTo(std::string_view name) {
    m_copied.reset();
    struct stat st {
    }, opened{};
    auto fd = openAsListed(st);
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
    auto fd = openAsListed(st);
    if (!fd)
        return fd.error();
    auto target = inTarget(name);
    if (!target)
        return target.error();
    return moveHostEntry(m_entry, fd->get(), st, *target, m_hold->linksForRenames);
}

} // namespace platform::linux_host
