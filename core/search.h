#pragma once

// The search as the window, the passes' new searches, the tests and the benchmarks run it:
// the pattern reduced, the start folder walked, the entries counted by their marks.

#include "core/entry_list.h"
#include "core/modFile.h"
#include "platform/platform.h"

#include <cstdint>
#include <string>

namespace core {

struct SearchQuery {
    std::string folder;      // the start folder text as chosen (txtFolderMask)
    std::string pattern;     // the pattern text as typed (cboMuster)
    bool subfolders = false; // descend into all subfolders (Check1)
};

struct SearchResult {
    EntryList entries;
    std::int64_t files = 0;   // entries without the folder mark
    std::int64_t folders = 0; // entries with it
};

SearchResult search(platform::Platform& fs, const SearchQuery& query,
                    const modFile::ProcessEvents& processEvents = {},
                    const modFile::WalkOptions& options = {});

} // namespace core
