#pragma once

// Keeps copy and move from destroying files: a target may not be replaced when it is a file
// that is still waiting further down the list, nor (for a move) a file this run has already
// written, whose source is gone.

#include "core/entry_list.h"
#include "platform/platform.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace core {

class TargetGuard {
public:
    // `entries` must outlive the guard.
    TargetGuard(const platform::Platform& fs, const EntryList& entries)
        : m_fs(fs), m_entries(entries) {}

    // True when writing `target` for the entry at `position` loses nothing. With
    // `protectWritten`, targets recorded by written() count as taken.
    bool mayReplace(std::string_view target, std::size_t position, bool protectWritten);
    // Records a target this run has just written.
    void written(std::string_view target);

private:
    bool listedLater(const std::string& canonical, std::size_t position);

    const platform::Platform& m_fs;
    const EntryList& m_entries;
    std::unordered_set<std::string> m_written;
    // A written target whose canonical path could not be recorded: every existing target then
    // counts as possibly written.
    bool m_writtenUnknown = false;
    // Canonical path of every file entry to its last position; built on the first existing
    // target, since most runs never need it.
    std::optional<std::unordered_map<std::string, std::size_t>> m_lastPosition;
    // A listed file whose canonical path could not be looked up may be any existing target.
    bool m_listedUnknown = false;
};

} // namespace core
