#include "core/cp1252.h"

#include <array>
#include <cstdint>

namespace core {

namespace {

constexpr char32_t kUndefined = 0;
constexpr char32_t kReplacement = 0xFFFD;

// Code points of the bytes 0x80-0x9F, where Windows-1252 differs from Latin-1.
constexpr std::array<char32_t, 32> kSpecials = {
    0x20AC,     kUndefined, 0x201A, 0x0192, 0x201E, 0x2026,     0x2020, 0x2021,     // 80-87
    0x02C6,     0x2030,     0x0160, 0x2039, 0x0152, kUndefined, 0x017D, kUndefined, // 88-8F
    kUndefined, 0x2018,     0x2019, 0x201C, 0x201D, 0x2022,     0x2013, 0x2014,     // 90-97
    0x02DC,     0x2122,     0x0161, 0x203A, 0x0153, kUndefined, 0x017E, 0x0178,     // 98-9F
};

// The code point of every byte; control bytes map to themselves.
constexpr std::array<char32_t, 256> kTable = [] {
    std::array<char32_t, 256> table{};
    for (std::size_t b = 0; b < table.size(); ++b)
        table[b] = (b >= 0x80 && b < 0xA0) ? kSpecials[b - 0x80] : static_cast<char32_t>(b);
    return table;
}();

char encode(char32_t cp) {
    if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0))
        return '?';
    if (cp < 0x7F)
        return static_cast<char>(cp);
    for (std::size_t b = 0x80; b < kTable.size(); ++b) {
        if (kTable[b] == cp)
            return static_cast<char>(b);
    }
    return '?';
}

// Decodes one UTF-8 sequence at `pos` into `cp` and advances `pos`; returns false and
// advances by one byte when the sequence is invalid (overlong, surrogate, beyond
// U+10FFFF, truncated).
bool decodeOne(std::string_view s, std::size_t& pos, char32_t& cp) {
    auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
    std::uint8_t lead = byte(pos);
    std::size_t length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        cp = lead;
        ++pos;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1F;
        min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
        min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07;
        min = 0x10000;
    } else {
        ++pos;
        return false;
    }
    if (pos + length > s.size()) {
        ++pos;
        return false;
    }
    for (std::size_t i = 1; i < length; ++i) {
        std::uint8_t next = byte(pos + i);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return false;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return false;
    }
    pos += length;
    return true;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::string utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t cp = 0;
        out += decodeOne(utf8, pos, cp) ? encode(cp) : '?';
    }
    return out;
}

void appendCp1252AsUtf8(std::string& out, std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        // Runs of ASCII are copied whole; log lines are mostly ASCII.
        std::size_t run = pos;
        while (run < bytes.size() && static_cast<std::uint8_t>(bytes[run]) < 0x80)
            ++run;
        out.append(bytes.substr(pos, run - pos));
        if (run == bytes.size())
            break;
        char32_t cp = kTable[static_cast<std::uint8_t>(bytes[run])];
        appendUtf8(out, cp == kUndefined ? kReplacement : cp);
        pos = run + 1;
    }
}

std::string cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    appendCp1252AsUtf8(out, bytes);
    return out;
}

} // namespace core
