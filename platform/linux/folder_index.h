#pragma once

// Case-insensitive lookup of a name that is missing exactly. Windows finds "brief.doc" as
// "BRIEF.DOC"; here that takes a listing of the folder, which a copy of thousands of files into
// one folder would pay once per file. So the upper-cased names of the last few folders looked
// into are kept, and kept exact: each folder is watched with inotify (Linux only), and every
// lookup first applies the names that were added and removed since, by this program or any
// other. Time stamps decide nothing, so the index holds whatever their resolution (a kernel that
// stamps changes once per clock tick shows two changes in one tick as one).
//
// Where a folder cannot be watched (no inotify, the watch limit reached, a path too long for
// the call) it is listed again for every lookup and nothing is kept.

#include "platform/linux/case_mapping.h"
#include "platform/linux/unique_fd.h"
#include "platform/result.h"

#include <sys/stat.h>

#include <cstddef>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform::linux_host {

class FolderIndex {
public:
    // The host name in `folder` whose program text equals `wanted` without regard to case;
    // the first such entry in listing order, then in order of arrival. ENOENT when there is
    // none. `folderStat` is the folder's stat when the caller has just taken it.
    Result<std::string> find(const std::string& folder, bool driveRoot, std::string_view wanted,
                             const CaseMapping& caseMapping,
                             const std::optional<struct stat>& folderStat = std::nullopt);

private:
    struct Names {
        std::string folder;
        dev_t device = 0;
        ino_t inode = 0;
        int watch = -1;
        // Upper-cased program text -> host names of that spelling, first one wins.
        std::unordered_map<std::string, std::vector<std::string>> byUpper;
    };

    bool watching();
    // Applies every change the watches reported since the last lookup.
    void applyEvents(const CaseMapping& caseMapping);
    void add(Names& names, std::string_view programText, std::string_view hostName,
             const CaseMapping& caseMapping) const;
    void remove(Names& names, std::string_view hostName, const CaseMapping& caseMapping) const;
    void drop(std::list<Names>::iterator it);
    Names* current(const std::string& folder, const struct stat& st);

    static constexpr std::size_t kFolders = 4;
    std::list<Names> m_folders; // most recently used first
    UniqueFd m_inotify;
    bool m_inotifyTried = false;
};

} // namespace platform::linux_host
