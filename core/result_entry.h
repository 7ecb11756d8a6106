#pragma once

// The texts of a result list entry, made from its record: as the list shows it, as the log
// names it and as an action reaches it.

#include "core/entry_list.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace core {

// The marks a shown entry begins with: a file entry, a folder entry (the start folder's
// subfolders when the search does not descend).
inline constexpr std::string_view kFileMark = "    ";
inline constexpr std::string_view kFolderMark = ">>";

// Appends the path text of entry `i` as listed: the start folder in lower case, the folders
// below it as the listings gave them, each followed by "\", and the entry's name. It is the
// path an operation logs.
void appendListedPath(const EntryList& list, std::size_t i, std::string& out);
std::string listedPath(const EntryList& list, std::size_t i);

// Entry `i` as the list shows it: its mark and its listed path.
std::string entryText(const EntryList& list, std::size_t i);

// True when entry `i` names a file to act on: a file whose path text, leading blanks aside,
// begins with a drive letter or a share root (a search from an empty folder text lists
// "\name", which is not acted on).
bool isFileEntry(const EntryList& list, std::size_t i);

// The path through which an action reaches the file of entry `i`: below the list's start folder
// exactly as the walk found it (exact path text), so that no look-alike is ever reached. A list
// no walk made gives the listed path.
std::string actionPath(const EntryList& list, std::size_t i);

// What the walk saw on its way to the file of entry `i`, for reaching it through actionPath():
// empty for an entry of a list no walk made, or that carries nothing the walk saw.
platform::ListedTrail listedTrail(const EntryList& list, std::size_t i);

} // namespace core
