#include "core/target_guard.h"

#include "core/result_entry.h"

namespace core {

bool TargetGuard::mayReplace(std::string_view target, std::size_t position, bool protectWritten) {
    auto existing = m_fs.canonicalPath(target);
    // A lookup that failed for another reason than a missing name cannot tell what would be
    // replaced.
    if (!existing)
        return existing.error() == std::errc::no_such_file_or_directory;
    if (protectWritten && (m_writtenUnknown || m_written.contains(*existing)))
        return false;
    return !listedLater(*existing, position);
}

void TargetGuard::written(std::string_view target) {
    auto canonical = m_fs.canonicalPath(target);
    if (canonical)
        m_written.insert(std::move(*canonical));
    else
        m_writtenUnknown = true;
}

bool TargetGuard::listedLater(const std::string& canonical, std::size_t position) {
    if (!m_lastPosition) {
        m_lastPosition.emplace();
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            if (!IsFileEntry(m_entries[i]))
                continue;
            auto path = m_fs.canonicalPath(EntryPath(m_entries[i]));
            if (path)
                (*m_lastPosition)[std::move(*path)] = i;
            else if (path.error() != std::errc::no_such_file_or_directory)
                m_listedUnknown = true;
        }
    }
    if (m_listedUnknown)
        return true;
    auto found = m_lastPosition->find(canonical);
    return found != m_lastPosition->end() && found->second > position;
}

} // namespace core
