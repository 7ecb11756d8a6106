#include "core/bulk_operations.h"

#include "core/modFile.h"
#include "core/result_entry.h"
#include "core/target_guard.h"

namespace core {

namespace {

// "k/n": one-based position and the entry count at the start of the pass.
std::string progressNote(std::size_t position, std::size_t count) {
    return std::to_string(position + 1) + "/" + std::to_string(count);
}

void searchAgain(BulkWindow& window) {
    window.listMatchingFiles();
    window.refreshFileView();
}

// Whatever the new search still finds was not removed: one warning, one error line per file,
// then a last search so that the list shows what is left.
void reportSurvivors(BulkWindow& window, OperationLog& log) {
    // A copy, because the list may be replaced while the warning is open.
    const EntryList survivors = window.resultList();
    bool anyFile = false;
    for (std::size_t i = 0; i < survivors.size() && !anyFile; ++i)
        anyFile = isFileEntry(survivors[i]);
    if (!anyFile)
        return;

    window.showNotAllDeletedWarning();
    for (std::size_t i = 0; i < survivors.size(); ++i) {
        if (!isFileEntry(survivors[i]))
            continue;
        log.sLogItem = entryPath(survivors[i]);
        log.sLogNote = progressNote(i, survivors.size());
        log.WriteLogErrorLine();
    }
    searchAgain(window);
}

} // namespace

std::string targetName(std::string_view sTargetPath, std::size_t position,
                       std::string_view fileName, bool bolPrefix) {
    std::string target(sTargetPath);
    target += '\\';
    if (bolPrefix) {
        std::string number = std::to_string(position);
        if (number.size() < 3)
            target.append(3 - number.size(), '0');
        target += number;
        target += '_';
    }
    target += fileName;
    return target;
}

void deleteListedEntries(BulkWindow& window, platform::Platform& fs, OperationLog& log) {
    // The passes work on a copy, since every search replaces the window's list.
    const EntryList entries = window.resultList();
    if (entries.empty())
        return;
    const std::size_t count = entries.size();
    for (std::size_t i = 0; i < count; ++i) {
        window.progress(i, count);
        if (!isFileEntry(entries[i]))
            continue;
        log.sLogItem = entryPath(entries[i]);
        log.sLogNote = progressNote(i, count);
        log.WriteLogLine();
        // A refused delete shows up in the failure pass.
        fs.deleteFile(actionPath(entries, i));
    }
    window.progress(count, count);
    searchAgain(window);
    reportSurvivors(window, log);
}

void copyOrMoveEntries(BulkWindow& window, platform::Platform& fs, OperationLog& log,
                       std::string sTargetPath, bool bolMove, bool bolPrefix) {
    const EntryList entries = window.resultList();
    if (entries.empty())
        return;
    const std::size_t count = entries.size();
    TargetGuard guard(fs, entries);
    for (std::size_t i = 0; i < count; ++i) {
        window.progress(i, count);
        if (!isFileEntry(entries[i]))
            continue;
        const std::string_view listed = entryPath(entries[i]);
        log.sLogItem = listed;
        log.sLogNote = progressNote(i, count) + (bolMove ? " -> move" : " -> copy");
        log.WriteLogLine();

        const std::string path = actionPath(entries, i);
        const std::string target =
            targetName(sTargetPath, i, modFile::FileNameFromPath(listed), bolPrefix);
        // A move the platform can do in one step onto a free name ends exactly as the copy and
        // delete below would, and replaces nothing; whatever it refuses, those settle by their
        // own rules.
        if (bolMove && !fs.moveFile(path, target)) {
            guard.written(target);
            continue;
        }
        // A skipped or failed copy leaves the source where it is; after a move the failure
        // pass reports it, a copy reports nothing.
        if (!guard.mayReplace(target, bolMove))
            continue;
        if (fs.copyFile(path, target))
            continue;
        if (bolMove) {
            guard.written(target);
            fs.deleteFile(path);
        }
    }
    window.progress(count, count);
    searchAgain(window);
    if (bolMove)
        reportSurvivors(window, log);
}

} // namespace core
