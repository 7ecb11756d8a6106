#include "core/result_entry.h"

#include "core/path_text.h"

#include <algorithm>

namespace core {

namespace {

std::string_view trimBlanks(std::string_view text) {
    auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

} // namespace

bool isFileEntry(std::string_view entry) {
    std::string_view trimmed = trimBlanks(entry);
    if (trimmed.empty() || trimmed.starts_with(kFolderMark))
        return false;
    char first = trimmed.front();
    if (first >= 'a' && first <= 'z')
        first = static_cast<char>(first - 'a' + 'A');
    return (first >= 'A' && first <= 'Z') || !shareRootOf(trimmed).empty();
}

std::string_view entryPath(std::string_view entry) {
    if (entry.starts_with(kFileMark))
        return entry.substr(kFileMark.size());
    return trimBlanks(entry);
}

namespace {

bool belowStart(const EntryList& list, std::string_view entry) {
    const SearchStart& start = list.start;
    return !start.exact.empty() && entry.starts_with(kFileMark) &&
           entryPath(entry).starts_with(start.listed);
}

} // namespace

std::string actionPath(const EntryList& list, std::size_t i) {
    const std::string_view entry = list[i];
    const std::string_view path = entryPath(entry);
    const SearchStart& start = list.start;
    if (!belowStart(list, entry))
        return std::string(path);
    std::string found = start.exact;
    found += path.substr(start.listed.size());
    return exactPathText(found);
}

platform::ListedTrail listedTrail(const EntryList& list, std::size_t i) {
    platform::ListedTrail trail;
    const EntryIdentity identity = list.identity(i);
    if (identity.folder == EntryIdentity::kNoFolder || !belowStart(list, list[i]))
        return trail;
    for (std::uint32_t f = identity.folder; f != EntryIdentity::kNoFolder;
         f = list.folders()[f].parent)
        trail.folders.push_back(list.folders()[f].id);
    std::reverse(trail.folders.begin(), trail.folders.end());
    trail.file = identity.id;
    trail.link = identity.link;
    trail.listedAt = list.folders()[identity.folder].changed;
    return trail;
}

} // namespace core
