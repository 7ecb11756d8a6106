#pragma once

#include "platform/types.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace core {

// The folder a search started from, once per list: `listed` as the entries show it (the start
// folder text in lower case, ending in "\"), `exact` as the walk found it (spelled as stored,
// ending in "\"). Linux folders can have twins that differ only in case; the actions reach the
// walk's files through `exact`, never by resolving the lower-cased text again. Both are empty
// for a list no walk made.
struct SearchStart {
    std::string listed;
    std::string exact;
};

inline constexpr std::uint32_t kNoFolder = 0x7fffffff;

// A folder of the list: its identity, the folder it was listed in (kNoFolder for the start
// folder) and its change time as the listing found it (Listing::changed); its name is kept in
// the list. `onDrive`: the entries below it name a drive or a share root (see isFileEntry).
struct ListedFolder {
    platform::FileId id;
    std::uint32_t parent = kNoFolder;
    std::int64_t changed = 0;
    bool onDrive = false;
};

// A file the walk found, or a subfolder of the start folder listed instead of entered.
enum class EntryKind : std::uint8_t { file, subfolder };

// One entry of the list: the folder it was listed in, its own id as that folder's listing gave
// it (0: none) and whether it is a link; its name is kept in the list.
struct ListedEntry {
    std::uint64_t id = 0;
    std::uint32_t folder = kNoFolder;
    EntryKind kind = EntryKind::file;
    bool link = false;
};

// Names packed into text chunks of a megabyte, read back by their position: the store grows
// without ever copying what it holds (a single growing buffer would copy, and hold twice, all of
// it each time it doubles, in the middle of a walk).
class NameStore {
public:
    void clear() {
        m_chunks.clear();
        m_ends.clear();
        m_firstName.clear();
    }
    void reserve(std::size_t names, std::size_t bytes) {
        m_ends.reserve(names);
        m_nextChunk = std::max(m_nextChunk, std::min(bytes, std::size_t(1) << 30));
    }
    void push_back(std::string_view name) {
        std::string& chunk = room(name.size());
        chunk.append(name);
        m_ends.push_back(static_cast<std::uint32_t>(chunk.size()));
    }
    std::string_view operator[](std::size_t i) const {
        const auto next = std::upper_bound(m_firstName.begin(), m_firstName.end(), i);
        const auto chunk = static_cast<std::size_t>(next - m_firstName.begin()) - 1;
        const std::size_t begin = i == m_firstName[chunk] ? 0 : m_ends[i - 1];
        return std::string_view(m_chunks[chunk]).substr(begin, m_ends[i] - begin);
    }

private:
    static constexpr std::size_t kChunk = std::size_t(1) << 20;

    // The chunk to append `length` bytes to; a chunk never grows beyond what it reserved, so
    // the text of earlier names never moves.
    std::string& room(std::size_t length) {
        if (m_chunks.empty() || m_chunks.back().capacity() - m_chunks.back().size() < length) {
            m_chunks.emplace_back();
            m_chunks.back().reserve(std::max({kChunk, length, std::exchange(m_nextChunk, 0)}));
            m_firstName.push_back(m_ends.size());
        }
        return m_chunks.back();
    }

    std::vector<std::string> m_chunks;
    std::vector<std::uint32_t> m_ends;    // end of each name within its chunk
    std::vector<std::size_t> m_firstName; // index of the first name of each chunk
    std::size_t m_nextChunk = 0;          // size asked for by reserve() for the next chunk
};

// The result entries of a search in walk order, as records: a million entries cost twenty
// bytes and their name each, the folders theirs once. The texts shown and logged are made from
// the records where they are needed (core/result_entry.h).
class EntryList {
public:
    SearchStart start;

    void clear() {
        start = {};
        m_entries.clear();
        m_names.clear();
        m_folders.clear();
        m_folderNames.clear();
    }
    void reserve(std::size_t entries, std::size_t nameBytes) {
        m_entries.reserve(entries);
        m_names.reserve(entries, nameBytes);
    }
    // Records a folder by its name in `folder.parent`; a folder without parent is named by the
    // text that follows the start folder's ("" for the start folder itself). Returns its index
    // for the entries listed in it.
    std::uint32_t addFolder(ListedFolder folder, std::string_view name);
    void add(const ListedEntry& entry, std::string_view name) {
        m_entries.push_back(entry);
        m_names.push_back(name);
    }

    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    const ListedEntry& operator[](std::size_t i) const { return m_entries[i]; }
    std::string_view name(std::size_t i) const { return m_names[i]; }
    const ListedFolder& folder(std::uint32_t f) const { return m_folders[f]; }
    std::string_view folderName(std::uint32_t f) const { return m_folderNames[f]; }

private:
    std::vector<ListedEntry> m_entries;
    NameStore m_names;
    std::vector<ListedFolder> m_folders;
    NameStore m_folderNames;
};

} // namespace core
