#pragma once

// A result list's entries as strings, for comparing whole lists in one assertion.

#include "core/entry_list.h"

#include <string>
#include <vector>

namespace testsupport {

inline std::vector<std::string> entryTexts(const core::EntryList& list) {
    std::vector<std::string> out;
    out.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i)
        out.emplace_back(list[i]);
    return out;
}

} // namespace testsupport
