#include "core/target_guard.h"

#include "core/result_entry.h"

namespace core {

bool TargetGuard::mayReplace(std::string_view target, bool protectWritten) {
    auto existing = m_fs.fileId(target);
    // A lookup that failed for another reason than a missing name cannot tell what would be
    // replaced.
    if (!existing)
        return existing.error() == std::errc::no_such_file_or_directory;
    if (protectWritten && (m_writtenUnknown || m_written.contains(*existing)))
        return false;
    return !isListed(*existing);
}

void TargetGuard::written(std::string_view target) {
    auto id = m_fs.fileId(target);
    if (id)
        m_written.insert(*id);
    else
        m_writtenUnknown = true;
}

bool TargetGuard::isListed(const platform::FileId& id) {
    if (!m_listed) {
        m_listed.emplace();
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            if (!isFileEntry(m_entries[i]))
                continue;
            auto listed = m_fs.fileId(actionPath(m_entries, i));
            if (listed)
                m_listed->insert(*listed);
            else if (listed.error() != std::errc::no_such_file_or_directory)
                m_listedUnknown = true;
        }
    }
    return m_listedUnknown || m_listed->contains(id);
}

} // namespace core
