#include "test_window.h"

#include "core/modFile.h"

namespace coretest {

void TestWindow::setEntries(std::initializer_list<std::string_view> entries) {
    m_entries.clear();
    for (std::string_view entry : entries)
        m_entries.append(entry);
}

void TestWindow::listMatchingFiles() {
    ++searches;
    core::EntryList hits;
    std::int32_t nextFree = 0;
    modFile::CollectFiles(m_fs, m_folder, m_pattern, hits, m_subfolders, nextFree);
    m_entries = std::move(hits);
}

} // namespace coretest
