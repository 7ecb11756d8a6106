#pragma once

// The search pattern: reduction of the typed text, and the test that a file name ends in what
// the reduced pattern asks for.

#include "platform/platform.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// The pattern text trimmed of blanks and upper-cased; a leading "*" drops everything up to and
// including the first "." ("*.doc" gives "DOC", "*.*" gives "*", "*abc" gives "*ABC").
std::string reducePattern(const platform::Platform& fs, std::string_view patternText);

// A reduced pattern compiled once per search. A name matches when its last L characters,
// upper-cased, match the whole pattern, where L is the pattern's length in characters and a
// bracket list counts as one. "?" is any character, "*" any run, "#" a digit 0-9, "[list]"
// and "[!list]" one character in or not in the list (ranges such as A-F allowed). Characters
// are Unicode code points; bytes that are not valid UTF-8 count one each. A pattern with an
// unclosed "[" or a descending range matches nothing. Matching takes at most tail length times
// pattern length steps, whatever the pattern.
//
// Not thread-safe: matches() reuses internal buffers so that it allocates nothing for ASCII
// names.
class TailMatcher {
public:
    TailMatcher(const platform::Platform& fs, std::string_view reducedPattern);

    bool matches(std::string_view name) const;

    // L: the number of trailing characters of a name that are compared.
    std::size_t tailLength() const { return m_tailLength; }

private:
    enum class Kind { Literal, AnyOne, Digit, List, AnyRun };
    struct Token {
        Kind kind = Kind::Literal;
        char32_t ch = 0;          // Literal
        std::size_t rangeBegin{}; // List: m_ranges[rangeBegin, rangeEnd)
        std::size_t rangeEnd{};
        bool negated = false; // List
    };
    struct Range {
        char32_t first;
        char32_t last;
    };

    bool compile(const std::vector<char32_t>& pattern);
    bool accepts(const Token& token, char32_t c) const;
    template <class CharAt> bool matchTail(std::size_t length, CharAt charAt) const;
    bool matchNonAscii(std::string_view name) const;

    const platform::Platform* m_fs;
    std::vector<Token> m_tokens;
    std::vector<Range> m_ranges;
    std::size_t m_tailLength = 0;
    bool m_valid = true;
    bool m_matchesAll = false;

    mutable std::vector<char32_t> m_decoded;
    mutable std::vector<std::size_t> m_offsets;
};

} // namespace core
