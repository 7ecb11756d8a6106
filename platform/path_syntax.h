#pragma once

// Program path text taken apart by the rules every backend shares, before any name is looked
// up: "\" and "/" separate (a doubled one counts once), "X:" names a drive, a leading separator
// the drive's root, and text without one is relative to the drive's current folder. "." is
// dropped; ".." is kept, since it may climb out of the current folder, which only the backend
// knows. Text after kExactPrefix is exact: "X:\name\name", single backslashes, no "." or "..".

#include "platform/result.h"

#include <string_view>
#include <vector>

namespace platform {

struct PathSyntax {
    bool exact = false;
    char letter = 0;       // the drive letter as written, lower case; 0: the current drive
    bool fromRoot = false; // the names start at the drive's root, not at its current folder
    std::vector<std::string_view> names; // into the parsed text
};

// invalid_argument for a NUL, a character Windows forbids in names, or exact text that is
// not exact.
Result<PathSyntax> parsePathText(std::string_view text);

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
