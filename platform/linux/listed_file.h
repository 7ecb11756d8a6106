#pragma once

// A file a walk listed, reached again for an action: its folder is opened folder by folder from
// the walk's start folder, each checked to be the folder the walk listed there, and every action
// then works on the file's name inside that open folder, after checking the name still holds the
// listed file. A folder renamed meanwhile and a link put in its place, or a file put in place of
// the listed one, are refused instead of followed.

#include "platform/linux/host_access.h"
#include "platform/platform.h"

#include <sys/stat.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::linux_host {

// The folders of the listed file reached last, held open: the next file in the same folders
// costs one look per folder that the path still leads to it, instead of an open, a stat and a
// close. clear() lets go of them (a held folder keeps a stick from being unmounted).
class ReachedFolders {
public:
    // The open folder of a listed file and its name there. `startHost` is the walk's start
    // folder, `names` the host names below it down to the file's own (the last); `trail` holds
    // one folder identity for the start folder and one for each name but the last.
    Result<HostEntry> reach(const std::string& startHost, const std::vector<std::string>& names,
                            const ListedTrail& trail);
    void clear() {
        m_start.clear();
        m_folders.clear();
    }

private:
    struct Folder {
        FileId id;
        std::string name; // in the folder before; empty for the start folder
        std::shared_ptr<const UniqueFd> fd;
    };
    // Whether the held folder at `depth` is still what its name leads to.
    bool stillThere(std::size_t depth) const;

    std::string m_start;
    std::vector<Folder> m_folders;
};

class LinuxListedFile final : public ListedFile {
public:
    // Program path text -> host path of an existing entry or of a new one in an existing folder.
    using TargetHost = std::function<Result<std::string>(std::string_view)>;

    // `trail`: what the walk saw of the file, or nothing to compare with (no folders).
    LinuxListedFile(HostEntry entry, const ListedTrail& trail, TargetHost targetHost)
        : m_entry(std::move(entry)), m_checked(!trail.folders.empty()), m_id(trail.file),
          m_link(trail.link), m_targetHost(std::move(targetHost)) {}

    std::error_code check() override;
    std::error_code remove() override;
    std::error_code copyTo(std::string_view target) override;
    std::error_code moveTo(std::string_view target) override;

private:
    // The entry's own stat (a link not followed); identifier_removed for another file.
    std::error_code ownStat(struct stat& st) const;
    // ownStat(), then the host path of `target`.
    Result<std::string> towards(std::string_view target, struct stat& st) const;

    HostEntry m_entry;
    bool m_checked;     // the file is compared with what the walk saw
    std::uint64_t m_id; // its inode as listed, 0 when the listing gave none
    bool m_link;
    TargetHost m_targetHost;
    // What the last copy read, as it opened it.
    std::optional<struct stat> m_copied;
};

} // namespace platform::linux_host
