#pragma once

// Keeps copy and move from destroying files: a pass never replaces a file that is one of its
// listed sources, wherever it stands in the list, nor a file a listed link leads to, nor a file
// this pass has written. Files are told apart by identity, not by path text, since one file can
// have several spellings (a drive alias, a folder link). A listed file is known by the identity
// the walk saw, so that nothing that changed since the walk, and no folder that cannot be read
// now, hides a listed file from the guard.

#include "core/entry_list.h"
#include "platform/platform.h"

#include <optional>
#include <string_view>
#include <unordered_set>

namespace core {

class TargetGuard {
public:
    // `entries` must outlive the guard; `pass` holds the folder the pass writes to.
    TargetGuard(platform::Platform& fs, const EntryList& entries, platform::Pass& pass)
        : m_fs(fs), m_entries(entries), m_pass(pass) {}

    // True when writing `name` in the target folder loses nothing.
    bool mayReplace(std::string_view name);
    // Records a name in the target folder this pass has just written.
    void written(std::string_view name);
    // Records that entry `i`'s listed file now stands at `name` in the target folder.
    void moved(std::size_t i, std::string_view name);

private:
    using Ids = std::unordered_set<platform::FileId, platform::FileIdHash>;

    bool isListed(const platform::FileId& id);
    // The identity of entry `i`'s file as the walk saw it, where it saw one.
    std::optional<platform::FileId> walkIdentity(std::size_t i) const;
    void collectListed();
    // Records a listed file's identity; one the file system does not give counts as unknown.
    void recordListed(const platform::FileId& listed);

    platform::Platform& m_fs;
    const EntryList& m_entries;
    platform::Pass& m_pass;
    Ids m_written;
    // A written target whose identity could not be recorded: every existing target then counts
    // as possibly written.
    bool m_writtenUnknown = false;
    // Identity of every listed file and of what every listed link leads to; collected on the
    // first existing target, since most runs never need it.
    std::optional<Ids> m_listed;
    // A listed file (or link target) whose identity could not be read may be any existing target.
    bool m_listedUnknown = false;
};

} // namespace core
