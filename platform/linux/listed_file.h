#pragma once

// A file a walk listed, reached again for an action: its folder is opened folder by folder from
// the walk's start folder, each checked to be the folder the walk listed there, and every action
// then works on the file's name inside that open folder, after opening what stands at the name
// and checking that it is the listed file. A folder renamed meanwhile and a link put in its
// place, or a file put in place of the listed one, are refused instead of followed.

#include "platform/linux/birth_times.h"
#include "platform/linux/host_access.h"
#include "platform/linux/look_ahead.h"
#include "platform/platform.h"

#include <sys/stat.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform::linux_host {

// The folders of the listed file reached last, held open: the next file on the same way costs no
// look at them at all. A pass holds them from one file to the next and lets go when it ends (a
// held folder keeps a stick from being unmounted).
class ReachedFolders {
public:
    // The open folder of a listed file and its name there. `startHost` is the walk's start
    // folder, `names` the host names below it down to the file's own (the last); `trail` holds
    // one folder identity for the start folder and one for each name but the last.
    // With `heldOnly`, nothing is opened: would_block where a folder is not held yet.
    Result<HostEntry> reach(const std::string& startHost, const std::vector<std::string>& names,
                            const ListedTrail& trail, bool heldOnly = false);

private:
    struct Folder {
        FileId id;
        std::string name; // in the folder before; empty for the start folder
        std::shared_ptr<const UniqueFd> fd;
    };

    std::string m_start;
    std::vector<Folder> m_folders;
};

// What the files a pass reaches share with it: the target folder it holds and what it has
// learnt of the file systems' birth times.
struct PassHold {
    std::shared_ptr<const UniqueFd> target; // null where the pass holds no target folder
    BirthTimes birthTimes;
    // The target's file system has no rename that refuses to replace (moveHostEntry).
    bool linksForRenames = false;
};

// Whether `now` is still the file a copy read as `copied`: the same file, of the same length,
// last written at the same time to the nanosecond, and changed at the same time, which no
// program can set back (a tool that keeps times, or FAT's two-second steps, would hide a change
// from the last-write time alone).
bool unchangedSince(const struct stat& copied, const struct stat& now);

class LinuxListedFile final : public ListedFile {
public:
    // `trail`: what the walk saw of the file, or nothing to compare with (no folders). `hold`
    // is shared with the pass that reached the file; `ahead`, what it looked at of it ahead.
    LinuxListedFile(HostEntry entry, const ListedTrail& trail, std::shared_ptr<PassHold> hold,
                    std::optional<FirstLook> ahead = std::nullopt)
        : m_entry(std::move(entry)), m_checked(!trail.folders.empty()), m_id(trail.file),
          m_link(trail.link), m_listedAt(trail.listedAt), m_hold(std::move(hold)),
          m_ahead(std::move(ahead)) {}

    std::error_code check() override;
    std::error_code remove() override;
    std::error_code copyTo(std::string_view name) override;
    std::error_code moveTo(std::string_view name) override;

private:
    enum class Look {
        Now,   // asked as the open learns it (a share asked once)
        Fresh, // the stat asked of the file system anew
        // The pass's look ahead where it took one: only for an action that checks afterwards
        // that it acted on the file looked at.
        Ahead,
    };
    // What stands at the name, opened without following a link (O_PATH), with its stat;
    // Error::NotListed for another file than the listed one. `readOnly` is set where the look
    // ahead read it.
    Result<UniqueFd> openAsListed(struct stat& st, std::optional<bool>& readOnly, Look how);
    // `name` (program text) in the pass's target folder.
    Result<HostEntry> inTarget(std::string_view name) const;

    HostEntry m_entry;
    bool m_checked;     // the file is compared with what the walk saw
    std::uint64_t m_id; // its inode as listed, 0 when the listing gave none
    bool m_link;
    std::int64_t m_listedAt; // its folder's change time at the listing, 0: unknown
    std::shared_ptr<PassHold> m_hold;
    // The pass's look at the file before it came to it; taken by the first action.
    std::optional<FirstLook> m_ahead;
    // What the last copy read, as it opened it.
    std::optional<struct stat> m_copied;
};

} // namespace platform::linux_host
