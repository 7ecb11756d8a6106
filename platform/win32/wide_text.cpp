#include "platform/win32/wide_text.h"

#include "platform/utf8.h"

namespace platform::win32 {

namespace {

void appendUnit(std::wstring& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<wchar_t>(cp);
        return;
    }
    cp -= 0x10000;
    out += static_cast<wchar_t>(0xD800 + (cp >> 10));
    out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
}

} // namespace

std::wstring toWide(std::string_view utf8) {
    std::wstring out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        if (const std::size_t n = utf8SequenceAt(utf8, i, cp)) {
            appendUnit(out, cp);
            i += n;
            continue;
        }
        const auto b = [&](std::size_t k) { return static_cast<unsigned char>(utf8[i + k]); };
        // A lone surrogate as WTF-8 writes it: ED A0..BF 80..BF.
        if (b(0) == 0xED && i + 2 < utf8.size() && b(1) >= 0xA0 && b(1) <= 0xBF &&
            (b(2) & 0xC0) == 0x80) {
            out += static_cast<wchar_t>(0xD000 | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F));
            i += 3;
            continue;
        }
        // Any other byte that is not UTF-8 stands for the character of that number.
        out += static_cast<wchar_t>(b(0));
        ++i;
    }
    return out;
}

std::string fromWide(std::wstring_view wide) {
    std::string out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const char32_t unit = static_cast<char16_t>(wide[i]);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < wide.size()) {
            const char32_t low = static_cast<char16_t>(wide[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        appendUtf8(out, unit);
    }
    return out;
}

} // namespace platform::win32
