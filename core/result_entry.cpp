#include "core/result_entry.h"

#include "core/path_text.h"

#include <algorithm>

namespace core {

namespace {

// Appends `start` and the names of `folder` and the folders above it, each below the top one
// followed by "\"; the text is sized first and filled from its end, so that no depth costs
// more than the one string.
void appendFolderPath(const EntryList& list, std::uint32_t folder, std::string_view start,
                      std::string& out) {
    std::size_t length = start.size();
    for (std::uint32_t f = folder; f != kNoFolder; f = list.folder(f).parent)
        length += list.folderName(f).size() + (list.folder(f).parent != kNoFolder ? 1 : 0);
    const std::size_t begin = out.size();
    out.resize(begin + length);
    std::size_t end = out.size();
    for (std::uint32_t f = folder; f != kNoFolder; f = list.folder(f).parent) {
        if (list.folder(f).parent != kNoFolder)
            out[--end] = '\\';
        const std::string_view name = list.folderName(f);
        end -= name.size();
        std::copy(name.begin(), name.end(), out.begin() + static_cast<std::ptrdiff_t>(end));
    }
    std::copy(start.begin(), start.end(), out.begin() + static_cast<std::ptrdiff_t>(begin));
}

} // namespace

void appendListedPath(const EntryList& list, std::size_t i, std::string& out) {
    appendFolderPath(list, list[i].folder, list.start.listed, out);
    out += list.name(i);
}

std::string listedPath(const EntryList& list, std::size_t i) {
    std::string path;
    appendListedPath(list, i, path);
    return path;
}

std::string entryText(const EntryList& list, std::size_t i) {
    std::string text(list[i].kind == EntryKind::file ? kFileMark : kFolderMark);
    appendListedPath(list, i, text);
    return text;
}

bool isFileEntry(const EntryList& list, std::size_t i) {
    return list[i].kind == EntryKind::file && list.folder(list[i].folder).onDrive;
}

std::string actionPath(const EntryList& list, std::size_t i) {
    if (list.start.exact.empty())
        return listedPath(list, i);
    std::string path;
    appendFolderPath(list, list[i].folder, list.start.exact, path);
    path += list.name(i);
    return exactPathText(path);
}

platform::ListedTrail listedTrail(const EntryList& list, std::size_t i) {
    platform::ListedTrail trail;
    const ListedEntry& entry = list[i];
    if (list.start.exact.empty())
        return trail;
    for (std::uint32_t f = entry.folder; f != kNoFolder; f = list.folder(f).parent)
        trail.folders.push_back(list.folder(f).id);
    std::reverse(trail.folders.begin(), trail.folders.end());
    trail.file = entry.id;
    trail.link = entry.link;
    trail.listedAt = list.folder(entry.folder).changed;
    return trail;
}

} // namespace core
