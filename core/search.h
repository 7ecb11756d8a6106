#pragma once

// The search as the window, the passes' new searches, the tests and the benchmarks run it:
// the pattern reduced, the start folder walked, the entries counted by their kind.

#include "core/entry_list.h"
#include "core/walk.h"
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
    std::int64_t files = 0;   // file entries
    std::int64_t folders = 0; // subfolder entries
};

SearchResult search(platform::Platform& fs, const SearchQuery& query,
                    const ProcessEvents& processEvents = {}, const WalkOptions& options = {});

} // namespace core
