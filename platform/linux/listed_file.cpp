#include "platform/linux/listed_file.h"

#include "platform/linux/copy_file.h"
#include "platform/linux/file_operations.h"
#include "platform/linux/move_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace platform::linux_host {

namespace {

std::error_code notAsListed() {
    return std::make_error_code(std::errc::identifier_removed);
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A folder opened on the way down, checked against the identity the walk saw there. A name
// that now holds no folder holds something else than the listed one.
Result<UniqueFd> checked(Result<UniqueFd> opened, const FileId& listed) {
    if (!opened)
        return opened.error() == std::errc::not_a_directory ? notAsListed() : opened.error();
    struct stat st {};
    if (::fstat(opened->get(), &st) != 0)
        return lastError();
    if (static_cast<std::uint64_t>(st.st_dev) != listed.device ||
        static_cast<std::uint64_t>(st.st_ino) != listed.inode)
        return notAsListed();
    return opened;
}

} // namespace

bool ReachedFolders::stillThere(std::size_t depth) const {
    const Folder& folder = m_folders[depth];
    struct stat st {};
    if (depth == 0 ? statHost(m_start, st, true) != std::error_code()
                   : ::fstatat(m_folders[depth - 1].fd->get(), folder.name.c_str(), &st, 0) != 0)
        return false;
    return static_cast<std::uint64_t>(st.st_dev) == folder.id.device &&
           static_cast<std::uint64_t>(st.st_ino) == folder.id.inode;
}

Result<HostEntry> ReachedFolders::reach(const std::string& startHost,
                                        const std::vector<std::string>& names,
                                        const ListedTrail& trail) {
    const std::size_t folders = trail.folders.size();
    if (folders == 0 || names.size() != folders)
        return std::make_error_code(std::errc::invalid_argument);
    if (startHost != m_start) {
        clear();
        m_start = startHost;
    }
    std::string path = startHost;
    for (std::size_t i = 0; i < folders; ++i) {
        const std::string name = i == 0 ? std::string() : names[i - 1];
        if (i > 0)
            path = joinHost(path, name);
        if (i < m_folders.size() && m_folders[i].id == trail.folders[i] &&
            m_folders[i].name == name && stillThere(i))
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
    HostEntry entry{UniqueFd(), names.back(), joinHost(path, names.back())};
    entry.pinned = true;
    entry.held = m_folders.back().fd;
    return entry;
}

std::error_code LinuxListedFile::ownStat(struct stat& st) const {
    if (::fstatat(m_entry.dirFd(), m_entry.leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return lastError();
    if (m_checked && ((m_id != 0 && static_cast<std::uint64_t>(st.st_ino) != m_id) ||
                      S_ISLNK(st.st_mode) != m_link))
        return notAsListed();
    return {};
}

std::error_code LinuxListedFile::check() {
    struct stat st {};
    return ownStat(st);
}

std::error_code LinuxListedFile::remove() {
    struct stat st {};
    if (auto error = ownStat(st))
        return error;
    if (m_copied) {
        // What the copy read: the file itself, or the one a link leads to.
        struct stat now = st;
        if (S_ISLNK(st.st_mode) && ::fstatat(m_entry.dirFd(), m_entry.leaf.c_str(), &now, 0) != 0)
            return notAsListed();
        if (!sameFile(now, *m_copied) || now.st_size != m_copied->st_size ||
            now.st_mtim.tv_sec != m_copied->st_mtim.tv_sec ||
            now.st_mtim.tv_nsec != m_copied->st_mtim.tv_nsec)
            return notAsListed();
    }
    return deleteHostEntry(m_entry, &st);
}

Result<std::string> LinuxListedFile::towards(std::string_view target, struct stat& st) const {
    if (auto error = ownStat(st))
        return error;
    return m_targetHost(target);
}

std::error_code LinuxListedFile::copyTo(std::string_view target) {
    m_copied.reset();
    struct stat st {
    }, opened{};
    auto targetHost = towards(target, st);
    if (!targetHost)
        return targetHost.error();
    if (auto error = copyHostEntry(m_entry, *targetHost, &st, &opened))
        return error;
    m_copied = opened;
    return {};
}

std::error_code LinuxListedFile::moveTo(std::string_view target) {
    struct stat st {};
    auto targetHost = towards(target, st);
    if (!targetHost)
        return targetHost.error();
    return moveHostEntry(m_entry, *targetHost, &st);
}

} // namespace platform::linux_host
