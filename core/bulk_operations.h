#pragma once

// Deleting, copying and moving every file of the result list, each logged before it is
// handled, followed by a new search and, after a delete or a move, the failure pass.

#include "core/entry_list.h"
#include "core/operation_log.h"
#include "platform/platform.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace core {

// What the passes need from the main window.
class BulkWindow {
public:
    virtual ~BulkWindow() = default;
    virtual const EntryList& resultList() const = 0; // List1's entries
    virtual void listMatchingFiles() = 0;            // run the search again
    virtual void refreshFileView() = 0;              // File1 re-reads its folder
    virtual void showNotAllDeletedWarning() = 0;     // after a delete or a move
    virtual void showNotAllCopiedWarning() = 0;      // after a copy
    // Called before each listed entry of a delete, copy or move pass with the entries done so
    // far, and once more with done == total when the pass is through.
    virtual void progress([[maybe_unused]] std::size_t done, [[maybe_unused]] std::size_t total) {}
};

// Every pass acts on each listed file as the walk listed it: a file whose path no longer leads
// through the listed folders to the listed file is left alone. After a delete or a move the
// listed files that were not removed (still at their place as listed, or left alone because
// they were no longer the listed file) are reported once and logged one by one; after a copy,
// a listed file that was not copied is reported once.

// Deletes every listed file, searches again and reports what was not removed. The caller has
// checked that the list is not empty and asked for confirmation.
void deleteListedEntries(BulkWindow& window, platform::Platform& fs, OperationLog& log);

// Copies or moves every listed file into `target`, the folder of identity `targetId` when
// it was chosen (unknown: whatever folder is there), searches again and reports. Where the folder
// at that path is no longer the one chosen, nothing is copied. A move deletes a source only after
// its copy succeeded, and only while it is still the file that copy read, unchanged. A copy
// never replaces a file the same pass wrote. The target is taken by value: the pass's searches
// let events through, which may change the caller's.
void copyOrMoveEntries(BulkWindow& window, platform::Platform& fs, OperationLog& log,
                       std::string target, platform::FileId targetId, bool move, bool prefix);

// With `prefix` the zero-based list position with at least three digits and "_", then the
// file name.
std::string targetFileName(std::size_t position, std::string_view fileName, bool prefix);

} // namespace core
