#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Windows file attribute bits, as the program shows and stores them.
enum Attribute : std::uint32_t {
    ReadOnly = 0x01,
    Hidden = 0x02,
    System = 0x04,
    Directory = 0x10,
    Archive = 0x20,
};

// Local calendar date and time, one-second resolution.
struct DateTime {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const DateTime&, const DateTime&) = default;
};

// One entry of the drive table: the letter (lower case) and the text the drive list shows,
// for example "c: [/]" or "d: [USB-STICK]".
struct Drive {
    char letter = 'c';
    std::string text;
};

// A drive letter standing for a host folder, for a backend over folders of the caller's own.
struct DriveMapping {
    char letter = 'c';    // lower case
    std::string hostRoot; // absolute host folder, e.g. "/" or "/tmp/t/c"
    std::string label;    // shown in brackets in the drive text; the root folder when empty
};

// A folder that has been resolved to the host once; the walk goes on from here without
// resolving program path text again. Only the backend interprets `path`. `text` is the folder's
// path text spelled exactly as found (set by resolveFolder, empty for a child folder).
struct HostFolder {
    std::string path;
    std::string text;
};

// Identity of a file or folder, whatever the path that reached it: device and inode, or volume
// serial and file id (128 bits where the file system gives them, as ReFS does). A folder link
// back to an ancestor and two spellings of one file (a drive alias, a link) are recognised by it.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0; // the file id's lower 64 bits
    std::uint64_t high = 0;  // its upper 64 bits; 0 where ids have 64 bits
    // A file system without ids gives 0 (FAT for its root): such an id tells nothing.
    bool known() const { return inode != 0 || high != 0; }
    friend bool operator==(const FileId&, const FileId&) = default;
};

// Whether two ids show one file; an unknown id is never that of a known file.
inline bool sameFile(const FileId& a, const FileId& b) {
    return a.known() && a == b;
}

struct FileIdHash {
    std::size_t operator()(const FileId& id) const noexcept {
        return std::hash<std::uint64_t>{}((id.inode ^ id.high) * 0x9E3779B97F4A7C15ull ^ id.device);
    }
};

// What a walk saw on its way to a file it listed, so that an action can tell whether the file's
// path still leads to that file: the identity of every folder from the walk's start folder down
// to the file's own folder, and the file's own id as that folder's listing gave it.
struct ListedTrail {
    std::vector<FileId> folders; // empty: nothing was recorded, the path is taken as it stands
    std::uint64_t file = 0;      // 0: the listing gave none
    // The file was a link itself. A file system may give a new file the number of one just
    // deleted, so a link put in place of a file can carry its number; never its kind.
    bool link = false;
    // The change time of the file's folder as its listing found it (Listing::changed). A file
    // made later under a reused number is younger than that; 0: nothing to compare.
    std::int64_t listedAt = 0;
};

enum class ListDetail {
    Kind,       // name and folder bit only: no per-file metadata lookup where the listing tells
    Attributes, // also the read-only, hidden, system and archive bits of every entry
};

// The entries of one folder in listing order, names packed into one buffer so that a listing
// costs no allocation per entry. "." and ".." are reported (except at a drive root).
class Listing {
public:
    struct Entry {
        std::uint32_t nameOffset = 0; // program text (forbidden characters mapped to U+F0xx)
        std::uint32_t nameLength = 0;
        std::uint32_t hostOffset = 0; // the host's own bytes for the name
        std::uint32_t hostLength = 0;
        std::uint32_t attributes =
            0;               // Directory always; the other bits only with ListDetail::Attributes
        bool folder = false; // a link to a folder counts as a folder
        bool link = false;   // a symbolic link or junction itself (to a file or a folder)
        // The entry's own file id (inode, file index) as the listing gave it, on the device of
        // the listed folder; 0 where the listing gives none that a lookup of the entry would
        // confirm.
        std::uint64_t id = 0;
    };

    FileId id; // of the listed folder itself
    // The listed folder's own change time when it was listed, in nanoseconds since 1970; 0 where
    // the listing gives none. Where every new entry moves a folder's change time on, a file born
    // after it was made since the listing.
    std::int64_t changed = 0;

    void clear() {
        m_text.clear();
        m_entries.clear();
        id = {};
        changed = 0;
    }
    void add(std::string_view name, std::string_view hostName, bool folder,
             std::uint32_t attributes, std::uint64_t fileId = 0, bool link = false) {
        Entry e;
        e.id = fileId;
        e.link = link;
        e.nameOffset = static_cast<std::uint32_t>(m_text.size());
        e.nameLength = static_cast<std::uint32_t>(name.size());
        m_text.append(name);
        if (hostName == name) {
            e.hostOffset = e.nameOffset;
        } else {
            e.hostOffset = static_cast<std::uint32_t>(m_text.size());
            m_text.append(hostName);
        }
        e.hostLength = static_cast<std::uint32_t>(hostName.size());
        e.folder = folder;
        e.attributes = attributes;
        m_entries.push_back(e);
    }

    const std::vector<Entry>& entries() const { return m_entries; }
    // Forgets the entries' ids, for a listing whose ids a lookup would not confirm.
    void dropIds() {
        for (Entry& e : m_entries)
            e.id = 0;
    }
    std::size_t size() const { return m_entries.size(); }
    std::string_view name(const Entry& e) const {
        return std::string_view(m_text).substr(e.nameOffset, e.nameLength);
    }
    std::string_view hostName(const Entry& e) const {
        return std::string_view(m_text).substr(e.hostOffset, e.hostLength);
    }

private:
    std::string m_text;
    std::vector<Entry> m_entries;
};

} // namespace platform
