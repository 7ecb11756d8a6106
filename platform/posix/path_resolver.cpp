#include "platform/posix/path_resolver.h"

#include "platform/platform.h"
#include "platform/posix/host_access.h"
#include "platform/posix/name_mapping.h"

#include <sys/stat.h>

#include <algorithm>

namespace platform::posix {

namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// One name of the path: either already a host name (from the drive's current folder) or
// program text still to be looked up.
struct Name {
    std::string text;
    bool host = false;
};

std::error_code applyText(std::string_view rest, std::vector<Name>& names) {
    std::size_t pos = 0;
    while (pos < rest.size()) {
        std::size_t end = pos;
        while (end < rest.size() && !isSeparator(rest[end]))
            ++end;
        std::string_view part = rest.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!names.empty())
                names.pop_back();
            continue;
        }
        if (std::any_of(part.begin(), part.end(), isForbiddenInProgramName))
            return std::make_error_code(std::errc::invalid_argument);
        names.push_back(Name{std::string(part), false});
    }
    return {};
}

// Exact text (after the prefix): "X:\name\name", every name as written, nothing folded.
Result<ResolvedPath> resolveExact(const DriveTable& drives, std::string_view text, LastName last) {
    const auto invalid = std::make_error_code(std::errc::invalid_argument);
    if (text.size() < 3 || !isAsciiLetter(text[0]) || text[1] != ':' || text[2] != '\\')
        return invalid;
    ResolvedPath resolved;
    resolved.drive = drives.find(text[0]);
    if (!resolved.drive)
        return std::make_error_code(std::errc::no_such_file_or_directory);
    std::string_view rest = text.substr(3);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\\');
        const std::string_view part = rest.substr(0, end);
        // A doubled or trailing backslash leaves an empty name.
        if (part.empty() || part == "." || part == ".." || part.find('/') != part.npos ||
            std::any_of(part.begin(), part.end(), isForbiddenInProgramName))
            return invalid;
        resolved.names.push_back(hostName(part));
        if (end == std::string_view::npos)
            break;
        rest.remove_prefix(end + 1);
        if (rest.empty())
            return invalid;
    }
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
    if (text.find('\0') != std::string_view::npos)
        return std::make_error_code(std::errc::invalid_argument);
    if (text.starts_with(kExactPrefix))
        return resolveExact(drives, text.substr(kExactPrefix.size()), last);
    char letter = drives.currentDrive();
    std::string_view rest = text;
    if (text.size() >= 2 && text[1] == ':' && isAsciiLetter(text[0])) {
        letter = text[0];
        rest = text.substr(2);
    }
    ResolvedPath resolved;
    resolved.drive = drives.find(letter);
    if (!resolved.drive)
        return std::make_error_code(std::errc::no_such_file_or_directory);

    std::vector<Name> names;
    if (rest.empty() || !isSeparator(rest.front()))
        for (auto& host : drives.currentComponents(letter))
            names.push_back(Name{std::move(host), true});
    if (auto error = applyText(rest, names))
        return error;

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

} // namespace platform::posix
