#include "platform/posix/case_mapping.h"

#include <wctype.h>

namespace platform::posix {

namespace {

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Decodes one well-formed UTF-8 sequence at `i` (no overlong forms, no surrogates); returns its
// length, or 0 when the bytes there are not valid UTF-8.
std::size_t decode(std::string_view s, std::size_t i, char32_t& cp) {
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    unsigned char b0 = at(0);
    std::size_t left = s.size() - i;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        if (left < 2 || !isContinuation(at(1)))
            return 0;
        cp = (char32_t(b0 & 0x1F) << 6) | (at(1) & 0x3F);
        return 2;
    }
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (left < 3 || !isContinuation(at(1)) || !isContinuation(at(2)))
            return 0;
        if ((b0 == 0xE0 && at(1) < 0xA0) || (b0 == 0xED && at(1) > 0x9F))
            return 0;
        cp = (char32_t(b0 & 0x0F) << 12) | (char32_t(at(1) & 0x3F) << 6) | (at(2) & 0x3F);
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (left < 4 || !isContinuation(at(1)) || !isContinuation(at(2)) || !isContinuation(at(3)))
            return 0;
        if ((b0 == 0xF0 && at(1) < 0x90) || (b0 == 0xF4 && at(1) > 0x8F))
            return 0;
        cp = (char32_t(b0 & 0x07) << 18) | (char32_t(at(1) & 0x3F) << 12) |
             (char32_t(at(2) & 0x3F) << 6) | (at(3) & 0x3F);
        return 4;
    }
    return 0;
}

void encode(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool isScalarValue(wint_t c) {
    return c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
}

} // namespace

CaseMapping::CaseMapping() : m_locale(newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr)) {}

CaseMapping::~CaseMapping() {
    if (m_locale)
        freelocale(m_locale);
}

std::string CaseMapping::toUpper(std::string_view text) const {
    return map(text, true);
}

std::string CaseMapping::toLower(std::string_view text) const {
    return map(text, false);
}

std::string CaseMapping::map(std::string_view text, bool upper) const {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if (upper && c >= 'a' && c <= 'z')
                c = static_cast<unsigned char>(c - 'a' + 'A');
            else if (!upper && c >= 'A' && c <= 'Z')
                c = static_cast<unsigned char>(c - 'A' + 'a');
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        char32_t cp = 0;
        std::size_t length = decode(text, i, cp);
        if (length == 0) {
            out.push_back(text[i]);
            ++i;
            continue;
        }
        wint_t mapped = cp;
        if (m_locale)
            mapped = upper ? towupper_l(static_cast<wint_t>(cp), m_locale)
                           : towlower_l(static_cast<wint_t>(cp), m_locale);
        if (isScalarValue(mapped))
            encode(static_cast<char32_t>(mapped), out);
        else
            out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

} // namespace platform::posix
