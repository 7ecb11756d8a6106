#pragma once

// Program path text taken apart by the rules every backend shares, before any name is looked
// up: "\" and "/" separate (a doubled one counts once), "X:" names a drive, a leading separator
// the drive's root, and text without one is relative to the drive's current folder. "." is
// dropped; ".." is kept, since it may climb out of the current folder, which only the backend
// knows. A network path "\\server\share\name" starts at the share's root, which plays the part of
// "X:\". Text after kExactPrefix is exact: "X:\name\name" or "UNC\server\share\name", single
// backslashes, no "." or "..".

#include "platform/result.h"

#include <string_view>
#include <system_error>
#include <vector>

namespace platform {

struct PathSyntax {
    bool exact = false;
    char letter = 0;       // the drive letter as written, lower case; 0: the current drive
    bool fromRoot = false; // the names start at the drive's root, not at its current folder
    // A network path's server and share, both empty for a path on a drive; such a path has no
    // letter and starts at the share's root.
    std::string_view server;
    std::string_view share;
    bool network() const { return !server.empty(); }
    std::vector<std::string_view> names; // into the parsed text
};

// The drive letter, lower case, that the text starts with ("d:", "D:\x", "d: [x]" as the drive
// lists name drives); 0 when it starts with none.
char driveLetterOf(std::string_view text);

// invalid_argument for a NUL, a character Windows forbids in names, exact text that is not
// exact, or a network path without its server or share.
Result<PathSyntax> parsePathText(std::string_view text);

// A name as Windows looks it up from typed text: the last name of the text (`last`, not followed by
// a separator) loses its trailing dots and spaces ("Daten. ." is "Daten"), every other name one
// trailing dot ("Daten.." is "Daten."); "." and ".." stay.
std::string_view trimmedName(std::string_view name, bool last);

// invalid_argument where the last name of path text is one Windows keeps for a device (CON,
// PRN, AUX, NUL, CONIN$, CONOUT$, COM0-9, LPT0-9, COM and LPT with a superscript 1, 2 or 3, with
// any extension): a folder of that name is reached on Windows by no ordinary program. For every
// backend alike, as the folder may be seen from both.
std::error_code checkNewFolderName(std::string_view text);

// The characters Windows forbids in a name besides the separators: control characters, NUL
// and < > : " | ? *.
bool isForbiddenInName(char c);

// Appends the parsed names to `names`, each made by `make`, a ".." taking the last one away.
template <class T, class Make>
void appendNames(const PathSyntax& syntax, std::vector<T>& names, Make make) {
    for (std::string_view name : syntax.names) {
        if (name != "..")
            names.push_back(make(name));
        else if (!names.empty())
            names.pop_back();
    }
}

} // namespace platform
