#include "platform/linux/case_mapping.h"

#include "platform/utf8.h"

#include <wctype.h>

namespace platform::linux_host {

namespace {

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
            appendUtf8(out, static_cast<char32_t>(mapped));
        else
            out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

} // namespace platform::linux_host
