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
// walk's files through `exact`, never by resolving the lower-cased text again.
struct SearchStart {
    std::string listed;
    std::string exact;
};

// What the walk saw of an entry, for recognising its file later: the folder it was listed in
// (an index into EntryList::folders()), its own id as that folder's listing gave it (0: none) and
// whether it is a link.
struct EntryIdentity {
    static constexpr std::uint32_t kNoFolder = 0x7fffffff;
    std::uint32_t folder = kNoFolder;
    bool link = false;
    std::uint64_t id = 0;
};

// A folder the walk listed: its identity, the folder it was listed in (kNoFolder for the start
// folder) and its change time as the listing found it (Listing::changed).
struct ListedFolder {
    platform::FileId id;
    std::uint32_t parent = EntryIdentity::kNoFolder;
    std::int64_t changed = 0;
};

// The result entries of a search in walk order, packed into text chunks of a megabyte: a
// million entries cost their text plus sixteen bytes each (with what the walk saw of their
// files), and the list grows without ever copying what it holds (a single growing buffer would
// copy, and hold twice, all of it each time it doubles, in the middle of a walk). Entries keep
// the exact bytes the walk produced; the bulk operations act on these, not on the text drawn on
// screen.
class EntryList {
public:
    SearchStart start;

    void clear() {
        start = {};
        m_chunks.clear();
        m_ends.clear();
        m_firstEntry.clear();
        m_folderOf.clear();
        m_ids.clear();
        m_folders.clear();
        m_textBytes = 0;
    }
    void reserve(std::size_t entries, std::size_t textBytes) {
        m_ends.reserve(entries);
        m_folderOf.reserve(entries);
        m_ids.reserve(entries);
        m_nextChunk = std::max(m_nextChunk, std::min(textBytes, std::size_t(1) << 30));
    }
    void append(std::string_view entry) { append(entry, {}, {}); }
    // Appends the concatenation of parts as one entry, without a temporary string.
    void append(std::string_view a, std::string_view b, std::string_view c,
                const EntryIdentity& identity = {}) {
        const std::size_t length = a.size() + b.size() + c.size();
        std::string& chunk = room(length);
        chunk.append(a);
        chunk.append(b);
        chunk.append(c);
        m_ends.push_back(static_cast<std::uint32_t>(chunk.size()));
        m_folderOf.push_back(identity.folder | (identity.link ? kLinkBit : 0u));
        m_ids.push_back(identity.id);
        m_textBytes += length;
    }
    // Records a folder the walk listed; returns its index for the identities of its entries.
    std::uint32_t addFolder(const ListedFolder& folder) {
        m_folders.push_back(folder);
        return static_cast<std::uint32_t>(m_folders.size() - 1);
    }
    EntryIdentity identity(std::size_t i) const {
        return {m_folderOf[i] & ~kLinkBit, (m_folderOf[i] & kLinkBit) != 0, m_ids[i]};
    }
    const std::vector<ListedFolder>& folders() const { return m_folders; }
    std::size_t size() const { return m_ends.size(); }
    bool empty() const { return m_ends.empty(); }
    std::string_view operator[](std::size_t i) const {
        const auto next = std::upper_bound(m_firstEntry.begin(), m_firstEntry.end(), i);
        const auto chunk = static_cast<std::size_t>(next - m_firstEntry.begin()) - 1;
        const std::size_t begin = i == m_firstEntry[chunk] ? 0 : m_ends[i - 1];
        return std::string_view(m_chunks[chunk]).substr(begin, m_ends[i] - begin);
    }
    std::size_t textBytes() const { return m_textBytes; }

private:
    static constexpr std::size_t kChunk = std::size_t(1) << 20;
    static constexpr std::uint32_t kLinkBit = 0x80000000u;

    // The chunk to append `length` bytes to; a chunk never grows beyond what it reserved, so
    // the text of earlier entries never moves.
    std::string& room(std::size_t length) {
        if (m_chunks.empty() || m_chunks.back().capacity() - m_chunks.back().size() < length) {
            m_chunks.emplace_back();
            m_chunks.back().reserve(std::max({kChunk, length, std::exchange(m_nextChunk, 0)}));
            m_firstEntry.push_back(m_ends.size());
        }
        return m_chunks.back();
    }

    std::vector<std::string> m_chunks;
    std::vector<std::uint32_t> m_ends;     // end of each entry within its chunk
    std::vector<std::size_t> m_firstEntry; // index of the first entry of each chunk
    std::vector<std::uint32_t> m_folderOf; // EntryIdentity::folder, kLinkBit for a link
    std::vector<std::uint64_t> m_ids;      // EntryIdentity::id
    std::vector<ListedFolder> m_folders;
    std::size_t m_textBytes = 0;
    std::size_t m_nextChunk = 0; // size asked for by reserve() for the next chunk
};

} // namespace core
