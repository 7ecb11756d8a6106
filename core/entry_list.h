#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// The result entries of a search in walk order, packed into one buffer: a million entries cost
// their text plus eight bytes each. Entries keep the exact bytes the walk produced; the bulk
// operations act on these, not on the text drawn on screen.
class EntryList {
public:
    void clear() {
        m_text.clear();
        m_ends.clear();
    }
    void reserve(std::size_t entries, std::size_t textBytes) {
        m_ends.reserve(entries);
        m_text.reserve(textBytes);
    }
    void append(std::string_view entry) {
        m_text.append(entry);
        m_ends.push_back(m_text.size());
    }
    // Appends the concatenation of parts as one entry, without a temporary string.
    void append(std::string_view a, std::string_view b, std::string_view c) {
        m_text.append(a);
        m_text.append(b);
        m_text.append(c);
        m_ends.push_back(m_text.size());
    }
    std::size_t size() const { return m_ends.size(); }
    bool empty() const { return m_ends.empty(); }
    std::string_view operator[](std::size_t i) const {
        std::size_t begin = i == 0 ? 0 : m_ends[i - 1];
        return std::string_view(m_text).substr(begin, m_ends[i] - begin);
    }
    std::size_t textBytes() const { return m_text.size(); }

private:
    std::string m_text;
    std::vector<std::size_t> m_ends;
};

} // namespace core
