#include "test_window.h"

#include "core/search.h"

namespace coretest {

void TestWindow::setEntries(std::initializer_list<std::string_view> entries) {
    m_entries.clear();
    for (std::string_view entry : entries)
        m_entries.append(entry);
}

void TestWindow::listMatchingFiles() {
    ++searches;
    m_entries = core::search(m_fs, {m_folder, m_pattern, m_subfolders}).entries;
}

} // namespace coretest
