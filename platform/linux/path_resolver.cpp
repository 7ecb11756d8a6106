#include "platform/linux/path_resolver.h"

#include "platform/linux/host_access.h"
#include "platform/linux/name_mapping.h"
#include "platform/path_syntax.h"

#include <sys/stat.h>

#include <iterator>

namespace platform::linux_host {

namespace {

// One name of the path: either already a host name (from the drive's current folder) or
// program text still to be looked up.
struct Name {
    std::string text;
    bool host = false;
};

// Exact text: every name as written, nothing folded.
Result<ResolvedPath> resolveExact(const DriveTable& drives, const PathSyntax& syntax,
                                  LastName last) {
    ResolvedPath resolved;
    resolved.drive = drives.find(syntax.letter);
    if (!resolved.drive)
        return std::make_error_code(std::errc::no_such_file_or_directory);
    for (std::string_view name : syntax.names)
        resolved.names.push_back(hostName(name));
    struct stat st {};
    if (std::error_code error = statHost(resolved.hostPath(), st, false)) {
        if (error != std::errc::no_such_file_or_directory || last != LastName::MayBeMissing ||
            resolved.names.empty())
            return error;
        const std::string name = std::move(resolved.names.back());
        resolved.names.pop_back();
        if (std::error_code folderError = statHost(resolved.hostPath(), st, true))
            return folderError;
        resolved.names.push_back(name);
        resolved.exists = false;
        return resolved;
    }
    resolved.entryStat = st;
    return resolved;
}

} // namespace

Result<ResolvedPath> resolvePath(const DriveTable& drives, const CaseMapping& caseMapping,
                                 FolderIndex& index, std::string_view text, LastName last) {
    auto syntax = parsePathText(text);
    if (!syntax)
        return syntax.error();
    // This host reaches no shares: network path text is text it cannot carry.
    if (syntax->network())
        return std::make_error_code(std::errc::invalid_argument);
    if (syntax->exact)
        return resolveExact(drives, *syntax, last);
    const char letter = syntax->letter ? syntax->letter : drives.currentDrive();
    ResolvedPath resolved;
    resolved.drive = drives.find(letter);
    if (!resolved.drive)
        return std::make_error_code(std::errc::no_such_file_or_directory);

    std::vector<Name> names;
    if (!syntax->fromRoot)
        for (auto& host : drives.currentComponents(letter))
            names.push_back(Name{std::move(host), true});
    appendNames(*syntax, names, [](std::string_view name) { return Name{std::string(name)}; });

    // Most paths name existing entries exactly as the file system spells them: one stat of the
    // whole path settles them, and one of the folder a path whose last name is new or differs
    // in case. Only otherwise is every name looked up on its own.
    std::vector<std::string> exact;
    exact.reserve(names.size());
    for (const Name& name : names)
        exact.push_back(name.host ? name.text : hostName(name.text));
    struct stat st {};
    std::error_code error = statHost(DriveTable::hostPath(*resolved.drive, exact), st, false);
    if (!error) {
        resolved.names = std::move(exact);
        resolved.entryStat = st;
        return resolved;
    }
    std::size_t known = 0;
    bool lastMissingExactly = false;
    std::optional<struct stat> folderStat; // of the last name's folder, when it is no link
    if (error == std::errc::no_such_file_or_directory && !names.empty() && !names.back().host) {
        std::string lastName = std::move(exact.back());
        exact.pop_back();
        if (!statHost(DriveTable::hostPath(*resolved.drive, exact), st, false)) {
            known = exact.size();
            lastMissingExactly = true;
            if (S_ISDIR(st.st_mode))
                folderStat = st;
        }
        exact.push_back(std::move(lastName));
    }
    resolved.names.assign(std::make_move_iterator(exact.begin()),
                          std::make_move_iterator(exact.begin() + static_cast<long>(known)));

    for (std::size_t i = known; i < names.size(); ++i) {
        if (names[i].host) {
            resolved.names.push_back(std::move(exact[i]));
            continue;
        }
        std::string folder = resolved.hostPath();
        if (!lastMissingExactly) {
            error = statHost(joinHost(folder, exact[i]), st, false);
            if (!error) {
                resolved.names.push_back(std::move(exact[i]));
                continue;
            }
            if (error != std::errc::no_such_file_or_directory)
                return error;
        }
        auto found = index.find(folder, resolved.names.empty(), names[i].text, caseMapping,
                                lastMissingExactly ? folderStat : std::nullopt);
        if (found) {
            resolved.names.push_back(std::move(found).value());
            continue;
        }
        if (i + 1 == names.size() && last == LastName::MayBeMissing &&
            found.error() == std::errc::no_such_file_or_directory) {
            resolved.names.push_back(std::move(exact[i]));
            resolved.exists = false;
            break;
        }
        return found.error();
    }
    return resolved;
}

} // namespace platform::linux_host
