#pragma once

// A result list's entries as the list shows them, for comparing whole lists in one assertion,
// and lists made from such texts, as no walk made them.

#include "core/entry_list.h"
#include "core/result_entry.h"

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

inline std::vector<std::string> entryTexts(const core::EntryList& list) {
    std::vector<std::string> out;
    out.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        out.push_back(core::entryText(list, i));
    return out;
}

// The names of the entries a bulk operation acts on.
inline std::set<std::string> fileEntryNames(const core::EntryList& list) {
    std::set<std::string> names;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (core::isFileEntry(list, i))
            names.emplace(list.name(i));
    return names;
}

// Appends the entry that shows as `text` ("    " and a file's path, or ">>" and a subfolder's),
// in a folder of its own text that carries no identity; consecutive entries share it.
inline void appendEntryText(core::EntryList& list, std::string_view text) {
    const bool subfolder = text.starts_with(core::kFolderMark);
    text.remove_prefix((subfolder ? core::kFolderMark : core::kFileMark).size());
    const std::string_view folder = text.substr(0, text.rfind('\\') + 1);
    std::uint32_t f = list.empty() ? core::kNoFolder : list[list.size() - 1].folder;
    if (f == core::kNoFolder || list.folderName(f) != folder)
        f = list.addFolder({}, folder);
    list.add({0, f, subfolder ? core::EntryKind::subfolder : core::EntryKind::file, false},
             text.substr(folder.size()));
}

} // namespace testsupport
