#pragma once

// Unicode-aware upper and lower case of UTF-8 text through a "C.UTF-8" locale object, which
// does not depend on the process's own locale. Bytes that are not valid UTF-8 stay as they are.

#include <locale.h>

#include <string>
#include <string_view>

namespace platform::linux_host {

class CaseMapping {
public:
    CaseMapping();
    ~CaseMapping();
    CaseMapping(const CaseMapping&) = delete;
    CaseMapping& operator=(const CaseMapping&) = delete;

    std::string toUpper(std::string_view text) const;
    std::string toLower(std::string_view text) const;

private:
    std::string map(std::string_view text, bool upper) const;

    locale_t m_locale = nullptr; // null when the system has no UTF-8 locale: ASCII only
};

} // namespace platform::linux_host
