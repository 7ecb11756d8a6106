#include "core/bulk_operations.h"

#include "core/result_entry.h"
#include "core/target_folder.h"
#include "core/target_guard.h"
#include "platform/error.h"

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace core {

namespace {

// A listed file that a delete or a move did not remove. `refused`: left alone because its path
// no longer led to the listed file; otherwise it is reported only while it is still there.
struct NotRemoved {
    std::size_t position;
    bool refused;
};

bool refusedAsNotListed(std::error_code error) {
    return error == platform::Error::NotListed;
}

// "k/n": one-based position and the entry count at the start of the pass.
std::string progressNote(std::size_t position, std::size_t count) {
    return std::to_string(position + 1) + "/" + std::to_string(count);
}

void searchAgain(BulkWindow& window) {
    window.listMatchingFiles();
    window.refreshFileView();
}

platform::Result<std::unique_ptr<platform::ListedFile>>
reach(platform::Pass& pass, const EntryList& entries, std::size_t i) {
    return pass.reachListed(actionPath(entries, i), listedTrail(entries, i));
}

// The listed files of a pass reached in list order, the pass told the next one while it acts
// on one; each file's way is worked out once for both.
class Reacher {
public:
    Reacher(platform::Pass& pass, const EntryList& entries) : m_pass(pass), m_entries(entries) {}

    platform::Result<std::unique_ptr<platform::ListedFile>> reach(std::size_t i) {
        Way way = m_next && m_next->position == i ? std::move(*m_next) : wayTo(i);
        m_next.reset();
        auto file = m_pass.reachListed(way.path, way.trail);
        for (std::size_t next = i + 1; next < m_entries.size(); ++next) {
            if (isFileEntry(m_entries, next)) {
                m_next = wayTo(next);
                m_pass.lookAhead(m_next->path, m_next->trail);
                break;
            }
        }
        return file;
    }

private:
    struct Way {
        std::size_t position;
        std::string path;
        platform::ListedTrail trail;
    };
    Way wayTo(std::size_t i) const {
        return {i, actionPath(m_entries, i), listedTrail(m_entries, i)};
    }

    platform::Pass& m_pass;
    const EntryList& m_entries;
    std::optional<Way> m_next;
};

// Whether a listed file that the pass did not remove is still there. Only a missing name or
// another file at it tell that it is not; a way that no longer leads to its folder leaves it
// where it may well be, not removed.
bool stillListed(platform::Pass& pass, const EntryList& entries, std::size_t i) {
    auto file = reach(pass, entries, i);
    if (!file)
        return file.error() != std::errc::no_such_file_or_directory;
    const std::error_code error = (*file)->check();
    return error != std::errc::no_such_file_or_directory && !refusedAsNotListed(error);
}

// The listed files of `missed` that were not removed, in list order.
std::vector<std::size_t> survivors(platform::Pass& pass, const EntryList& entries,
                                   const std::vector<NotRemoved>& missed) {
    std::vector<std::size_t> left;
    for (const NotRemoved& m : missed) {
        if (m.refused || stillListed(pass, entries, m.position))
            left.push_back(m.position);
    }
    return left;
}

// The warning once, then one error line per survivor: with its place in the new search's list
// where that finds it, else with its place in the list the pass worked on. Then a last search,
// so that the list shows what is left.
void reportSurvivors(BulkWindow& window, OperationLog& log, const EntryList& listed,
                     const std::vector<std::size_t>& left) {
    if (left.empty())
        return;
    // A copy, because the list may be replaced while the warning is open.
    const EntryList now = window.resultList();
    constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);
    std::unordered_map<std::string, std::size_t> found;
    for (std::size_t i : left)
        found.emplace(listedPath(listed, i), kNotFound);
    std::string path;
    for (std::size_t j = 0; j < now.size(); ++j) {
        if (!isFileEntry(now, j))
            continue;
        path.clear();
        appendListedPath(now, j, path);
        const auto at = found.find(path);
        if (at != found.end() && at->second == kNotFound)
            at->second = j;
    }

    window.showNotAllDeletedWarning();
    for (std::size_t i : left) {
        log.item = listedPath(listed, i);
        const std::size_t j = found.at(log.item);
        log.note = j == kNotFound ? progressNote(i, listed.size()) : progressNote(j, now.size());
        log.writeErrorLine();
    }
    searchAgain(window);
}

// The pass's own: its log lines go through it while it runs.
class Attached {
public:
    Attached(OperationLog& log, platform::Pass& pass) : m_log(log) { log.attach(&pass); }
    Attached(const Attached&) = delete;
    Attached& operator=(const Attached&) = delete;
    ~Attached() { m_log.attach(nullptr); }

private:
    OperationLog& m_log;
};

// Copies, or moves, the listed file of entry `i` to `name` in the target folder.
std::error_code transfer(platform::Pass& pass, Reacher& files, TargetGuard& guard,
                         TargetFolder& folder, std::size_t i, std::string_view asked, bool move) {
    auto file = files.reach(i);
    if (!file)
        return file.error();
    // Without its target the file stays: as the file it was listed as, or as one that is not.
    if (auto error = pass.targetError()) {
        const std::error_code changed = (*file)->check();
        return changed ? changed : error;
    }
    const std::string name = folder.nameFor(asked);
    // A move the platform can do in one step onto a free name ends exactly as the copy and
    // delete below would, and replaces nothing; whatever it refuses, those settle by their own
    // rules.
    if (move) {
        const std::error_code error = (*file)->moveTo(name);
        if (!error) {
            guard.moved(i, name);
            folder.wrote(name);
            return {};
        }
        if (refusedAsNotListed(error))
            return error;
    }
    if (!guard.mayReplace(name))
        return std::make_error_code(std::errc::file_exists);
    if (auto error = (*file)->copyTo(name))
        return error;
    guard.written(name);
    folder.wrote(name);
    if (!move)
        return {};
    return (*file)->remove();
}

} // namespace

std::string targetFileName(std::size_t position, std::string_view fileName, bool prefix) {
    std::string target;
    if (prefix) {
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
    const std::unique_ptr<platform::Pass> pass = fs.beginPass(log.passFolders());
    const Attached attached(log, *pass);
    const std::size_t count = entries.size();
    Reacher files(*pass, entries);
    std::vector<NotRemoved> missed;
    for (std::size_t i = 0; i < count; ++i) {
        window.progress(i, count);
        if (!isFileEntry(entries, i))
            continue;
        log.item.clear();
        appendListedPath(entries, i, log.item);
        log.note = progressNote(i, count);
        log.writeLine();
        auto file = files.reach(i);
        const std::error_code error = file ? (*file)->remove() : file.error();
        if (error)
            missed.push_back({i, refusedAsNotListed(error)});
    }
    window.progress(count, count);
    const std::vector<std::size_t> left = survivors(*pass, entries, missed);
    searchAgain(window);
    reportSurvivors(window, log, entries, left);
}

void copyOrMoveEntries(BulkWindow& window, platform::Platform& fs, OperationLog& log,
                       std::string target, platform::FileId targetId, bool move, bool prefix) {
    const EntryList entries = window.resultList();
    if (entries.empty())
        return;
    const std::unique_ptr<platform::Pass> pass =
        fs.beginPass(log.passFolders(std::move(target), targetId));
    const Attached attached(log, *pass);
    const std::size_t count = entries.size();
    TargetGuard guard(fs, entries, *pass);
    TargetFolder targetFolder(fs, *pass);
    Reacher files(*pass, entries);
    std::vector<NotRemoved> missed;
    for (std::size_t i = 0; i < count; ++i) {
        window.progress(i, count);
        if (!isFileEntry(entries, i))
            continue;
        log.item.clear();
        appendListedPath(entries, i, log.item);
        log.note = progressNote(i, count) + (move ? " -> move" : " -> copy");
        log.writeLine();
        const std::string name = targetFileName(i, entries.name(i), prefix);
        if (auto error = transfer(*pass, files, guard, targetFolder, i, name, move))
            missed.push_back({i, refusedAsNotListed(error)});
    }
    window.progress(count, count);
    const std::vector<std::size_t> left =
        move ? survivors(*pass, entries, missed) : std::vector<std::size_t>();
    searchAgain(window);
    if (move)
        reportSurvivors(window, log, entries, left);
    else if (!missed.empty())
        window.showNotAllCopiedWarning();
}

} // namespace core
