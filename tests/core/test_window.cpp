#include "test_window.h"

#include "core/search.h"
#include "support/entry_texts.h"

namespace coretest {

void TestWindow::setEntries(std::initializer_list<std::string_view> entries) {
    m_entries.clear();
    for (std::string_view entry : entries)
        testsupport::appendEntryText(m_entries, entry);
}

void TestWindow::listMatchingFiles() {
    ++searches;
    m_entries = core::search(m_fs, {m_folder, m_pattern, m_subfolders}).entries;
}

} // namespace coretest
