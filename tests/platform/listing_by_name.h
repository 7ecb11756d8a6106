#pragma once

// A listing's entries by name, for the listing tests of every host.

#include "platform/platform.h"

#include <cstdint>
#include <map>
#include <string>

namespace testsupport {

struct Seen {
    bool folder = false;
    std::uint32_t attributes = 0;
};

inline std::map<std::string, Seen> byName(const platform::Listing& listing) {
    std::map<std::string, Seen> seen;
    for (const auto& e : listing.entries())
        seen[std::string(listing.name(e))] = {e.folder, e.attributes};
    return seen;
}

} // namespace testsupport
