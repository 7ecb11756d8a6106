#include "core/pattern.h"

#include "platform/utf8.h"

namespace core {

namespace {

// A byte that does not start valid UTF-8 becomes a lone low surrogate, a value no valid
// sequence decodes to, so it equals only the same byte.
constexpr char32_t strayByte(unsigned char b) {
    return 0xDC00 | b;
}

// Decodes `s` into code points; `offsets`, when given, receives the byte offset of each.
void decode(std::string_view s, std::vector<char32_t>& out, std::vector<std::size_t>* offsets) {
    out.clear();
    if (offsets)
        offsets->clear();
    for (std::size_t i = 0; i < s.size();) {
        if (offsets)
            offsets->push_back(i);
        const auto b = static_cast<unsigned char>(s[i]);
        char32_t cp = b;
        std::size_t length = 1;
        if (b >= 0x80) {
            length = platform::utf8SequenceAt(s, i, cp);
            if (length == 0) {
                cp = strayByte(b);
                length = 1;
            }
        }
        out.push_back(cp);
        i += length;
    }
}

char asciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::string reducePattern(const platform::Platform& fs, std::string_view patternText) {
    const auto first = patternText.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = patternText.find_last_not_of(' ');
    std::string reduced = fs.toUpper(patternText.substr(first, last - first + 1));
    if (reduced.front() == '*') {
        const auto dot = reduced.find('.');
        if (dot != std::string::npos)
            reduced.erase(0, dot + 1);
    }
    return reduced;
}

TailMatcher::TailMatcher(const platform::Platform& fs, std::string_view reducedPattern)
    : m_fs(&fs), m_matchesAll(reducedPattern == "*") {
    std::vector<char32_t> pattern;
    decode(reducedPattern, pattern, nullptr);
    m_valid = compile(pattern);
}

bool TailMatcher::compile(const std::vector<char32_t>& pattern) {
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char32_t c = pattern[i];
        Token token;
        switch (c) {
        case U'?':
            token.kind = Kind::AnyOne;
            break;
        case U'#':
            token.kind = Kind::Digit;
            break;
        case U'*':
            token.kind = Kind::AnyRun;
            break;
        case U'[': {
            std::size_t close = i + 1;
            while (close < pattern.size() && pattern[close] != U']')
                ++close;
            if (close == pattern.size())
                return false;
            std::size_t k = i + 1;
            i = close;
            // An empty list stands for no character at all, and so takes no place in the tail.
            if (k == close)
                continue;
            token.kind = Kind::List;
            token.negated = pattern[k] == U'!';
            if (token.negated)
                ++k;
            token.rangeBegin = m_ranges.size();
            while (k < close) {
                if (k + 2 < close && pattern[k + 1] == U'-') {
                    if (pattern[k] > pattern[k + 2])
                        return false;
                    m_ranges.push_back({pattern[k], pattern[k + 2]});
                    k += 3;
                } else {
                    m_ranges.push_back({pattern[k], pattern[k]});
                    ++k;
                }
            }
            token.rangeEnd = m_ranges.size();
            break;
        }
        default:
            token.ch = c;
            break;
        }
        ++m_tailLength;
        // A run of stars matches what one star matches; keeping one bounds the backtracking.
        if (token.kind == Kind::AnyRun && !m_tokens.empty() && m_tokens.back().kind == Kind::AnyRun)
            continue;
        m_tokens.push_back(token);
    }
    return true;
}

bool TailMatcher::accepts(const Token& token, char32_t c) const {
    switch (token.kind) {
    case Kind::Literal:
        return c == token.ch;
    case Kind::AnyOne:
        return true;
    case Kind::Digit:
        return c >= U'0' && c <= U'9';
    case Kind::List: {
        bool inList = false;
        for (std::size_t r = token.rangeBegin; r < token.rangeEnd && !inList; ++r)
            inList = c >= m_ranges[r].first && c <= m_ranges[r].last;
        return inList != token.negated;
    }
    case Kind::AnyRun:
        break;
    }
    return false;
}

// Every token but "*" takes exactly one character, so on a mismatch it is enough to let the
// last "*" seen take one character more: no earlier choice can do better. At most
// length x tokens steps.
template <class CharAt> bool TailMatcher::matchTail(std::size_t length, CharAt charAt) const {
    constexpr std::size_t none = static_cast<std::size_t>(-1);
    const std::size_t count = m_tokens.size();
    std::size_t p = 0, t = 0, starToken = none, starText = 0;
    while (t < length) {
        if (p < count && m_tokens[p].kind == Kind::AnyRun) {
            starToken = p++;
            starText = t;
        } else if (p < count && accepts(m_tokens[p], charAt(t))) {
            ++p;
            ++t;
        } else if (starToken != none) {
            p = starToken + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < count && m_tokens[p].kind == Kind::AnyRun)
        ++p;
    return p == count;
}

bool TailMatcher::matches(std::string_view name) const {
    if (!m_valid)
        return false;
    if (m_matchesAll)
        return true;
    const std::size_t start = name.size() > m_tailLength ? name.size() - m_tailLength : 0;
    // Where the last L bytes are ASCII they are the last L characters, and their upper case is
    // plain ASCII upper case.
    for (std::size_t i = start; i < name.size(); ++i) {
        if (static_cast<unsigned char>(name[i]) >= 0x80)
            return matchNonAscii(name);
    }
    const char* tail = name.data() + start;
    return matchTail(name.size() - start, [tail](std::size_t i) {
        return static_cast<char32_t>(static_cast<unsigned char>(asciiUpper(tail[i])));
    });
}

bool TailMatcher::matchNonAscii(std::string_view name) const {
    decode(name, m_decoded, &m_offsets);
    const std::size_t first = m_decoded.size() > m_tailLength ? m_decoded.size() - m_tailLength : 0;
    const std::string upper = m_fs->toUpper(name.substr(m_offsets[first]));
    decode(upper, m_decoded, nullptr);
    return matchTail(m_decoded.size(), [this](std::size_t i) { return m_decoded[i]; });
}

} // namespace core
