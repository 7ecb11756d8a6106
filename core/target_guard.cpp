#include "core/target_guard.h"

#include "core/result_entry.h"

namespace core {

namespace {

// Errors by which a link leads to no file at all, so that there is nothing to protect.
bool leadsNowhere(std::error_code error) {
    return error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory ||
           error == std::errc::too_many_symbolic_link_levels;
}

} // namespace

bool TargetGuard::mayReplace(std::string_view name) {
    auto existing = m_pass.targetEntry(name);
    // A lookup that failed for another reason than a missing name, or a file system that gives
    // no id, cannot tell what would be replaced.
    if (!existing)
        return existing.error() == std::errc::no_such_file_or_directory;
    if (!existing->known())
        return false;
    if (m_writtenUnknown || m_written.contains(*existing))
        return false;
    return !isListed(*existing);
}

void TargetGuard::written(std::string_view name) {
    auto id = m_pass.targetEntry(name);
    if (id && id->known())
        m_written.insert(*id);
    else
        m_writtenUnknown = true;
}

void TargetGuard::moved(std::size_t i, std::string_view name) {
    // Known by the identity the walk saw, it counts as listed wherever it stands: never replaced.
    if (!walkIdentity(i))
        written(name);
}

std::optional<platform::FileId> TargetGuard::walkIdentity(std::size_t i) const {
    const EntryIdentity identity = m_entries.identity(i);
    if (identity.id == 0 || identity.folder == EntryIdentity::kNoFolder)
        return std::nullopt;
    return platform::FileId{m_entries.folders()[identity.folder].id.device, identity.id};
}

bool TargetGuard::isListed(const platform::FileId& id) {
    if (!m_listed)
        collectListed();
    // A file system may report a file's device apart from its folder's (an overlay of several
    // file systems), while the walk saw the folder's.
    const std::uint64_t targetDevice = m_pass.targetId().device;
    return m_listedUnknown || m_listed->contains(id) ||
           m_listed->contains({targetDevice, id.inode, id.high});
}

void TargetGuard::recordListed(const platform::FileId& listed) {
    if (listed.known())
        m_listed->insert(listed);
    else
        m_listedUnknown = true;
}

void TargetGuard::collectListed() {
    m_listed.emplace();
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (!isFileEntry(m_entries[i]))
            continue;
        const EntryIdentity identity = m_entries.identity(i);
        if (auto walked = walkIdentity(i)) {
            m_listed->insert(*walked);
        } else if (auto listed = m_fs.fileId(actionPath(m_entries, i))) {
            recordListed(*listed);
        } else if (listed.error() != std::errc::no_such_file_or_directory) {
            m_listedUnknown = true;
        }
        if (!identity.link)
            continue;
        if (auto linked = m_fs.fileIdFollowing(actionPath(m_entries, i)))
            recordListed(*linked);
        else if (!leadsNowhere(linked.error()))
            m_listedUnknown = true;
    }
}

} // namespace core
