#include "core/search.h"

#include "core/pattern.h"
#include "core/result_entry.h"

namespace core {

SearchResult search(platform::Platform& fs, const SearchQuery& query,
                    const modFile::ProcessEvents& processEvents,
                    const modFile::WalkOptions& options) {
    SearchResult result;
    modFile::CollectFiles(fs, query.folder, reducePattern(fs, query.pattern), result.entries,
                          query.subfolders, processEvents, options);
    for (std::size_t i = 0; i < result.entries.size(); ++i) {
        if (result.entries[i].starts_with(kFolderMark))
            ++result.folders;
        else
            ++result.files;
    }
    return result;
}

} // namespace core
