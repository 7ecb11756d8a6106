#pragma once

// Keeps copy and move from destroying files: a pass never replaces a file that is one of its
// listed sources, wherever it stands in the list, nor (for a move) a file this run has written,
// whose source is gone. Files are told apart by identity, not by path text, since one file can
// have several spellings (a drive alias, a folder link).

#include "core/entry_list.h"
#include "platform/platform.h"

#include <optional>
#include <string_view>
#include <unordered_set>

namespace core {

class TargetGuard {
public:
    // `entries` must outlive the guard.
    TargetGuard(const platform::Platform& fs, const EntryList& entries)
        : m_fs(fs), m_entries(entries) {}

    // True when writing `target` loses nothing. With `protectWritten`, targets recorded by
    // written() count as taken.
    bool mayReplace(std::string_view target, bool protectWritten);
    // Records a target this run has just written.
    void written(std::string_view target);

private:
    using Ids = std::unordered_set<platform::FileId, platform::FileIdHash>;

    bool isListed(const platform::FileId& id);

    const platform::Platform& m_fs;
    const EntryList& m_entries;
    Ids m_written;
    // A written target whose identity could not be recorded: every existing target then counts
    // as possibly written.
    bool m_writtenUnknown = false;
    // Identity of every listed file; taken on the first existing target, since most runs never
    // need it. A file moved away before then is among the written ones.
    std::optional<Ids> m_listed;
    // A listed file whose identity could not be read may be any existing target.
    bool m_listedUnknown = false;
};

} // namespace core
