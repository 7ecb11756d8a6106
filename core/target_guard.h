#pragma once

// Keeps copy and move from destroying files: a pass never replaces a file that is one of its
// listed sources, wherever it stands in the list, nor a file a listed link leads to, nor (for a
// move) a file this run has written, whose source is gone. Files are told apart by identity, not
// by path text, since one file can have several spellings (a drive alias, a folder link). A
// listed file is known by the identity the walk saw, so that nothing that changed since the
// walk, and no folder that cannot be read now, hides a listed file from the guard.

#include "core/entry_list.h"
#include "platform/platform.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

namespace core {

class TargetGuard {
public:
    // `entries` must outlive the guard; `targetFolder` is the folder the pass writes to.
    TargetGuard(const platform::Platform& fs, const EntryList& entries, std::string targetFolder)
        : m_fs(fs), m_entries(entries), m_targetFolder(std::move(targetFolder)) {}

    // True when writing `target` loses nothing. With `protectWritten`, targets recorded by
    // written() count as taken.
    bool mayReplace(std::string_view target, bool protectWritten);
    // Records a target this run has just written.
    void written(std::string_view target);

private:
    using Ids = std::unordered_set<platform::FileId, platform::FileIdHash>;

    bool isListed(const platform::FileId& id);
    void collectListed();
    // Records a listed file's identity; one the file system does not give counts as unknown.
    void recordListed(const platform::FileId& listed);

    const platform::Platform& m_fs;
    const EntryList& m_entries;
    std::string m_targetFolder;
    Ids m_written;
    // A written target whose identity could not be recorded: every existing target then counts
    // as possibly written.
    bool m_writtenUnknown = false;
    // Identity of every listed file and of what every listed link leads to; collected on the
    // first existing target, since most runs never need it.
    std::optional<Ids> m_listed;
    // A listed file (or link target) whose identity could not be read may be any existing target.
    bool m_listedUnknown = false;
    // The device of the target folder: a file system may report a file's device apart from its
    // folder's (an overlay of several file systems), while the walk saw the folder's.
    std::optional<std::uint64_t> m_targetDevice;
};

} // namespace core
