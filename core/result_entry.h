#pragma once

// How the bulk operations read a result list entry.

#include "core/entry_list.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace core {

// The marks a search entry begins with: a file entry, a folder entry (the start folder's
// subfolders when the search does not descend).
inline constexpr std::string_view kFileMark = "    ";
inline constexpr std::string_view kFolderMark = ">>";

// True when the entry names a file to act on: after trimming blanks it is not empty, does not
// begin with ">>", and its first character, upper-cased, is an ASCII letter (a drive letter), or
// it begins with a share root ("\\server\share"), as a search started on a share lists.
bool isFileEntry(std::string_view entry);

// The exact path an operation acts on and logs. A file entry as the walk writes it is four
// blanks and the path, so the path is the text after those four blanks, untrimmed: a file
// named " name " must never be confused with "name". Any other entry gives its trimmed text.
std::string_view entryPath(std::string_view entry);

// The path through which an action reaches the file of entry `i`: below the list's start folder
// exactly as the walk found it (exact path text), so that no look-alike is ever reached. A list
// that holds no start folder, or an entry outside it, gives entryPath.
std::string actionPath(const EntryList& list, std::size_t i);

// What the walk saw on its way to the file of entry `i`, for reaching it through actionPath():
// empty for an entry that actionPath() does not reach through the start folder, or that carries
// nothing the walk saw.
platform::ListedTrail listedTrail(const EntryList& list, std::size_t i);

} // namespace core
