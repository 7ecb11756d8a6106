#include "core/search.h"

#include "core/pattern.h"

namespace core {

SearchResult search(platform::Platform& fs, const SearchQuery& query,
                    const ProcessEvents& processEvents, const WalkOptions& options) {
    SearchResult result;
    walkFolder(fs, query.folder, reducePattern(fs, query.pattern), result.entries, query.subfolders,
               processEvents, options);
    for (std::size_t i = 0; i < result.entries.size(); ++i) {
        if (result.entries[i].kind == EntryKind::subfolder)
            ++result.folders;
        else
            ++result.files;
    }
    return result;
}

} // namespace core
