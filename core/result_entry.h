#pragma once

// How the bulk operations read a result list entry.

#include <string_view>

namespace core {

// True when the entry names a file to act on: after trimming blanks it is not empty, does not
// begin with ">>", and its first character, upper-cased, is an ASCII letter (a drive letter).
bool IsFileEntry(std::string_view entry);

// The exact path an operation acts on and logs. A file entry as the walk writes it is four
// blanks and the path, so the path is the text after those four blanks, untrimmed: a file
// named " name " must never be confused with "name". Any other entry gives its trimmed text.
std::string_view EntryPath(std::string_view entry);

} // namespace core
