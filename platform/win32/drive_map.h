#pragma once

// The drive letters and the host folders they stand for: the machine's own drives, or drives
// of the caller's own (host folders, for tests and benchmarks). Program path text is mapped
// onto wide host paths with the "\\?\" prefix, so that paths past 260 characters are reached
// and nothing is normalised by the system behind the program's back.

#include "platform/path_syntax.h"
#include "platform/result.h"
#include "platform/types.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::win32 {

class DriveMap {
public:
    // `drives` empty: the machine's drives. `workingFolder` (UTF-8 host path) decides the
    // current drive and its folder; empty: the process's working folder.
    DriveMap(std::vector<DriveMapping> drives, std::string workingFolder);

    std::vector<Drive> driveTexts() const;
    char currentDrive() const;
    // Host folder (wide, without prefix) of a drive's current folder; empty for no such drive.
    std::wstring currentFolder(char letter) const;
    // Host root of a drive (wide, without prefix): "C:\" or a folder; empty for no such drive.
    std::wstring root(char letter) const;
    // Host root of parsed path text: its share ("\\server\share"), else its drive's or the
    // current drive's; empty for no such drive.
    std::wstring root(const PathSyntax& syntax) const;

    // The wide host path ("\\?\…") for program path text, with the names below the drive
    // root as found in the text. `exact` text (after the "\\?\" of the program) is taken
    // literally.
    Result<std::wstring> hostPath(std::string_view text) const;
    // The drive and the names below its root of a host path; nothing outside every drive.
    std::optional<std::pair<char, std::vector<std::wstring>>> locate(std::wstring_view host) const;
    // The root a host path lies under and the names below it: a drive's (a share mapped to a
    // letter keeps its letter) or, outside every drive, its share's; nothing elsewhere.
    struct Place {
        std::string rootText; // "C:\" or "\\server\share"
        std::wstring root;    // the host root, without prefix
        std::vector<std::wstring> names;
    };
    std::optional<Place> place(std::wstring_view host) const;
    // Path text of a host path, empty outside every drive and share.
    std::string pathText(std::wstring_view host) const;
    bool isDriveRoot(std::wstring_view host) const;

    // "X:\…" and "\\server\share\…" with the "\\?\" prefix ("\\?\UNC\server\share\…"), and back.
    static std::wstring withPrefix(std::wstring_view host);
    static std::wstring withoutPrefix(std::wstring_view host);

private:
    struct Entry {
        char letter;
        std::wstring root;
        std::string label;
    };
    std::vector<std::wstring> currentNames(char letter) const;
    // The drive of `roots` (letter, host root) whose root is the longest one above `names`, and
    // the names below it. A network path is found on a drive mapped to its share or above.
    static std::optional<std::pair<char, std::vector<std::wstring>>>
    locateBelow(const std::vector<std::pair<char, std::wstring>>& roots,
                const std::vector<std::wstring>& names);

    std::vector<Entry> m_mapped; // empty: the machine's drives
    // The drive and the names of the working folder; nothing when it lies outside every drive.
    std::optional<std::pair<char, std::vector<std::wstring>>> m_working;
};

} // namespace platform::win32
