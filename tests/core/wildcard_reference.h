#pragma once

// A deliberately simple second implementation of the tail match, used to check the real matcher
// (core/pattern.h) on random and fuzzed input: it decodes one code point at a time, compares the
// tail with a full dynamic-programming table and upper-cases one character at a time.

#include "platform/platform.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace wildcardref {

// One character of a name or pattern: its code point, or for a byte that does not start valid
// UTF-8 a value of its own (0xDC00 | byte), and its bytes.
struct Char {
    char32_t cp = 0;
    std::string bytes;
};

// Length of a well-formed UTF-8 sequence at `i` (Unicode's table of valid byte ranges), or 0.
inline std::size_t validLength(std::string_view s, std::size_t i) {
    auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    auto in = [](unsigned char v, unsigned lo, unsigned hi) { return v >= lo && v <= hi; };
    const std::size_t left = s.size() - i;
    const unsigned char b0 = b(0);
    if (b0 < 0x80)
        return 1;
    if (in(b0, 0xC2, 0xDF))
        return left >= 2 && in(b(1), 0x80, 0xBF) ? 2 : 0;
    if (in(b0, 0xE0, 0xEF)) {
        if (left < 3 || !in(b(2), 0x80, 0xBF))
            return 0;
        const unsigned lo = b0 == 0xE0 ? 0xA0 : 0x80;
        const unsigned hi = b0 == 0xED ? 0x9F : 0xBF;
        return in(b(1), lo, hi) ? 3 : 0;
    }
    if (in(b0, 0xF0, 0xF4)) {
        if (left < 4 || !in(b(2), 0x80, 0xBF) || !in(b(3), 0x80, 0xBF))
            return 0;
        const unsigned lo = b0 == 0xF0 ? 0x90 : 0x80;
        const unsigned hi = b0 == 0xF4 ? 0x8F : 0xBF;
        return in(b(1), lo, hi) ? 4 : 0;
    }
    return 0;
}

inline std::vector<Char> split(std::string_view s) {
    std::vector<Char> out;
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = validLength(s, i);
        Char c;
        if (n == 0) {
            c.cp = 0xDC00 | static_cast<unsigned char>(s[i]);
            n = 1;
        } else {
            const auto b0 = static_cast<unsigned char>(s[i]);
            char32_t cp = n == 1 ? b0 : n == 2 ? (b0 & 0x1F) : n == 3 ? (b0 & 0x0F) : (b0 & 0x07);
            for (std::size_t k = 1; k < n; ++k)
                cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
            c.cp = cp;
        }
        c.bytes = std::string(s.substr(i, n));
        out.push_back(std::move(c));
        i += n;
    }
    return out;
}

struct Item {
    enum Kind { Literal, AnyOne, Digit, List, AnyRun } kind = Literal;
    char32_t ch = 0;
    bool negated = false;
    std::vector<std::pair<char32_t, char32_t>> ranges;

    bool accepts(char32_t c) const {
        switch (kind) {
        case Literal:
            return c == ch;
        case AnyOne:
            return true;
        case Digit:
            return c >= U'0' && c <= U'9';
        case List: {
            bool found = false;
            for (const auto& [lo, hi] : ranges)
                found = found || (c >= lo && c <= hi);
            return found != negated;
        }
        case AnyRun:
            break;
        }
        return false;
    }
};

// Parses a reduced pattern; false for an unclosed "[" or a descending range. An empty list "[]"
// stands for nothing.
inline bool parse(const std::vector<Char>& p, std::vector<Item>& items) {
    for (std::size_t i = 0; i < p.size(); ++i) {
        Item item;
        if (p[i].cp == U'?') {
            item.kind = Item::AnyOne;
        } else if (p[i].cp == U'#') {
            item.kind = Item::Digit;
        } else if (p[i].cp == U'*') {
            item.kind = Item::AnyRun;
        } else if (p[i].cp == U'[') {
            std::size_t close = i + 1;
            while (close < p.size() && p[close].cp != U']')
                ++close;
            if (close >= p.size())
                return false;
            std::vector<char32_t> inner;
            for (std::size_t k = i + 1; k < close; ++k)
                inner.push_back(p[k].cp);
            i = close;
            if (inner.empty())
                continue;
            item.kind = Item::List;
            std::size_t k = 0;
            if (inner[0] == U'!') {
                item.negated = true;
                k = 1;
            }
            while (k < inner.size()) {
                if (k + 2 < inner.size() && inner[k + 1] == U'-') {
                    if (inner[k] > inner[k + 2])
                        return false;
                    item.ranges.emplace_back(inner[k], inner[k + 2]);
                    k += 3;
                } else {
                    item.ranges.emplace_back(inner[k], inner[k]);
                    ++k;
                }
            }
        } else {
            item.ch = p[i].cp;
        }
        items.push_back(std::move(item));
    }
    return true;
}

// True when the name's last L characters, upper-cased, match the whole reduced pattern, L being
// the number of pattern items; the reduced pattern "*" matches every name.
inline bool tailMatches(const platform::Platform& fs, std::string_view reduced,
                        std::string_view name) {
    if (reduced == "*")
        return true;
    std::vector<Item> items;
    if (!parse(split(reduced), items))
        return false;
    std::vector<Char> chars = split(name);
    const std::size_t first = chars.size() > items.size() ? chars.size() - items.size() : 0;
    std::vector<char32_t> tail;
    for (std::size_t i = first; i < chars.size(); ++i) {
        if (chars[i].cp >= 0xDC00 && chars[i].cp <= 0xDCFF) {
            tail.push_back(chars[i].cp);
            continue;
        }
        std::vector<Char> upper = split(fs.toUpper(chars[i].bytes));
        tail.push_back(upper.size() == 1 ? upper[0].cp : chars[i].cp);
    }
    // match[t][p]: the first t tail characters are matched by the first p items.
    const std::size_t tn = tail.size(), pn = items.size();
    std::vector<std::vector<char>> match(tn + 1, std::vector<char>(pn + 1, 0));
    match[0][0] = 1;
    for (std::size_t p = 1; p <= pn; ++p)
        match[0][p] = match[0][p - 1] && items[p - 1].kind == Item::AnyRun;
    for (std::size_t t = 1; t <= tn; ++t) {
        for (std::size_t p = 1; p <= pn; ++p) {
            const Item& item = items[p - 1];
            if (item.kind == Item::AnyRun)
                match[t][p] = match[t][p - 1] || match[t - 1][p];
            else
                match[t][p] = match[t - 1][p - 1] && item.accepts(tail[t - 1]);
        }
    }
    return match[tn][pn] != 0;
}

} // namespace wildcardref
