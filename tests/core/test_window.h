#pragma once

// The main window as the bulk passes see it: a result list the test fills, and a search with a
// fixed folder, pattern and subfolder choice that refills it.

#include "core/bulk_operations.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace coretest {

class TestWindow : public core::BulkWindow {
public:
    TestWindow(platform::Platform& fs, std::string folder, std::string pattern,
               bool subfolders)
        : m_fs(fs), m_folder(std::move(folder)), m_pattern(std::move(pattern)),
          m_subfolders(subfolders) {}

    void setEntries(std::initializer_list<std::string_view> entries);
    void setEntries(core::EntryList entries) { m_entries = std::move(entries); }
    // The pattern and subfolder choice as the user changed them after the list was made.
    void changeSearch(std::string pattern, bool subfolders) {
        m_pattern = std::move(pattern);
        m_subfolders = subfolders;
    }

    const core::EntryList& resultList() const override { return m_entries; }
    void listMatchingFiles() override;
    void refreshFileView() override { ++refreshes; }
    void showNotAllDeletedWarning() override { ++warnings; }
    void showNotAllCopiedWarning() override { ++copyWarnings; }

    int searches = 0;
    int refreshes = 0;
    int warnings = 0;
    int copyWarnings = 0;

private:
    platform::Platform& m_fs;
    std::string m_folder;
    std::string m_pattern;
    bool m_subfolders;
    core::EntryList m_entries;
};

} // namespace coretest
