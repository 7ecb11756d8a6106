#include "platform/linux/linux_pass.h"

#include "platform/error.h"
#include "platform/linux/file_operations.h"
#include "platform/linux/linux_platform.h"
#include "platform/linux/listing.h"
#include "platform/linux/name_mapping.h"
#include "platform/path_syntax.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace platform::linux_host {

namespace {

FileId idOf(const struct stat& st) {
    return FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

// Whether the open folder `fd` is the one chosen as `chosen` (an unknown id compares with
// nothing); its id in `id`.
std::error_code compare(int fd, const FileId& chosen, FileId& id) {
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return lastError();
    id = idOf(st);
    if (chosen.known() && id != chosen)
        return make_error_code(Error::NotListed);
    return {};
}

} // namespace

LinuxPass::LinuxPass(LinuxPlatform& platform, const PassFolders& folders)
    : m_platform(platform), m_deletes(folders.target.empty()),
      m_logName(hostName(folders.logName)) {
    holdTarget(folders);
    holdLogFolder(folders);
}

void LinuxPass::holdTarget(const PassFolders& folders) {
    if (folders.target.empty())
        return;
    // Reached as the dialog reached it, links on the way followed; then held as the very folder
    // it showed.
    auto host = m_platform.hostPath(folders.target, LastName::MustExist);
    if (!host) {
        m_targetError = host.error();
        return;
    }
    auto folder = openFolder(*host);
    if (!folder) {
        m_targetError = folder.error();
        return;
    }
    if ((m_targetError = compare(folder->get(), folders.targetId, m_targetId)))
        return;
    m_hold->target = std::make_shared<const UniqueFd>(std::move(folder).value());
}

void LinuxPass::holdLogFolder(const PassFolders& folders) {
    auto host = m_platform.hostPath(folders.logFolder, LastName::MustExist);
    if (!host) {
        m_logError = host.error();
        return;
    }
    auto entry = openEntry(*host);
    if (!entry) {
        m_logError = entry.error();
        return;
    }
    // The folder's own name is not followed where it is a link.
    UniqueFd folder(::openat(entry->dirFd(), entry->leaf.c_str(),
                             O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder.valid()) {
        m_logError = lastError();
        return;
    }
    FileId id;
    if ((m_logError = compare(folder.get(), folders.logFolderId, id)))
        return;
    m_logFolder = std::move(folder);
}

std::error_code LinuxPass::listTarget(Listing& out) {
    out.clear();
    if (!m_hold->target)
        return m_targetError;
    // A listing of its own: the held descriptor's place in the folder stays where it is.
    UniqueFd folder(::openat(m_hold->target->get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.valid())
        return lastError();
    return listOpenFolder(folder.get(), fdPath(folder.get()), false, ListDetail::Kind, out);
}

Result<FileId> LinuxPass::targetEntry(std::string_view name) {
    if (!m_hold->target)
        return m_targetError;
    struct stat st {};
    if (::fstatat(m_hold->target->get(), hostName(name).c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return lastError();
    return idOf(st);
}

Result<std::unique_ptr<ListedFile>> LinuxPass::reachListed(std::string_view path,
                                                           const ListedTrail& trail) {
    auto entry = m_platform.listedEntry(path, trail, m_reached);
    if (!entry)
        return entry.error();
    auto look = m_ahead.take(entry->held.get(), entry->leaf);
    return std::unique_ptr<ListedFile>(std::make_unique<LinuxListedFile>(
        std::move(entry).value(), trail, m_hold, std::move(look)));
}

void LinuxPass::lookAhead(std::string_view path, const ListedTrail& trail) {
    if (trail.folders.empty())
        return;
    const auto device = static_cast<dev_t>(trail.folders.back().device);
    if (m_ahead.notWorthIt(device))
        return;
    // Only in the folders held now: the next file's way is looked at when the pass comes to it.
    auto entry = m_platform.listedEntry(path, trail, m_reached, true);
    if (entry && m_ahead.worthIt(entry->dirFd(), device))
        m_ahead.start(entry->held, entry->leaf, m_deletes);
}

std::error_code LinuxPass::appendLog(std::string_view bytes) {
    if (!m_logFolder.valid())
        return m_logError;
    return appendAt(m_logFolder.get(), m_logName, bytes);
}

} // namespace platform::linux_host
