#pragma once

// Case-insensitive lookup of a name that is missing exactly. Windows finds "brief.doc" as
// "BRIEF.DOC"; here that takes a listing of the folder, which a copy of thousands of files into
// one folder would pay once per file. So the upper-cased names of the last few folders looked
// into are kept, each with the folder's identity and change times at the moment it was listed.
// Every lookup stats the folder first and lists it again when anything about it has changed, so
// a change by another program is always seen; an index is never trusted on its own.
//
// The backend's own additions to a folder (a copy or move landing there) would make every index
// look stale; around them, beginChange() and endChange() carry the index over to the folder's
// new change times when it was up to date just before. A change by another program in the same
// instant as such an addition is taken for ours; that is the same window as between any lookup
// and the operation that follows it.

#include "platform/posix/case_mapping.h"
#include "platform/result.h"

#include <sys/stat.h>

#include <cstddef>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace platform::posix {

class FolderIndex {
public:
    // The host name in `folder` whose program text equals `wanted` without regard to case;
    // the first such entry in listing order. ENOENT when there is none. `folderStat` is the
    // folder's stat when the caller has just taken it.
    Result<std::string> find(const std::string& folder, bool driveRoot, std::string_view wanted,
                             const CaseMapping& caseMapping,
                             const std::optional<struct stat>& folderStat = std::nullopt);

    // Brackets an addition of `name` to `folder` by the backend itself.
    struct Change {
        std::string folder;
        bool current = false; // the folder's index was up to date just before the change
    };
    Change beginChange(const std::string& folder);
    void endChange(const Change& change, std::string_view addedHostName,
                   const CaseMapping& caseMapping);

private:
    struct Stamp {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        struct timespec modified {};
        struct timespec changed {};
        bool operator==(const Stamp& other) const;
    };
    struct Names {
        std::string folder;
        Stamp stamp;
        std::unordered_map<std::string, std::string> byUpper; // upper-cased program text -> host
    };

    static Stamp stampOf(const struct stat& st);
    static std::optional<Stamp> stampOf(const std::string& folder);
    Names* current(const std::string& folder, const Stamp& stamp);

    static constexpr std::size_t kFolders = 4;
    std::list<Names> m_folders; // most recently used first
};

} // namespace platform::posix
