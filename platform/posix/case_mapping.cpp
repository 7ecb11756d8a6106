#include "platform/posix/case_mapping.h"

#include "platform/utf8.h"

#include <wctype.h>

namespace platform::posix {

namespace {

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
        std::size_t length = utf8SequenceAt(text, i, cp);
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
