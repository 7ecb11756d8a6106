#include "core/cp1252.h"

#include "platform/utf8.h"

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

} // namespace

std::string utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t cp = static_cast<std::uint8_t>(utf8[pos]);
        // An invalid sequence (overlong, surrogate, beyond U+10FFFF, truncated) is one '?' for
        // its first byte.
        const std::size_t length = cp < 0x80 ? 1 : platform::utf8SequenceAt(utf8, pos, cp);
        out += length ? encode(cp) : '?';
        pos += length ? length : 1;
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
        platform::appendUtf8(out, cp == kUndefined ? kReplacement : cp);
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
