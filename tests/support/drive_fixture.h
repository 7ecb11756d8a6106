#pragma once

// The backend-neutral fixture of the tests: the machine's backend whose drives are temporary
// folders, c: and d: (labelled "DATEN").

#include "support/temp_tree.h"

#include "platform/platform.h"

#include <filesystem>
#include <memory>
#include <string>

namespace testsupport {

struct TwoDrives {
    TempDir c;
    TempDir d;
    std::unique_ptr<platform::Platform> fs;

    // `workingBelowC`: the working folder relative to c:'s root (created); empty = c:'s root.
    explicit TwoDrives(const std::string& workingBelowC = {}) {
        std::filesystem::path working = workingBelowC.empty() ? c.path() : c.folder(workingBelowC);
        fs = platform::createPlatformOver({{'d', d.str(), "DATEN"}, {'c', c.str(), ""}},
                                          utf8(working));
    }
};

// True for any entry, a dangling link included.
inline bool entryExists(const std::filesystem::path& p) {
    std::error_code ec;
    return std::filesystem::symlink_status(p, ec).type() != std::filesystem::file_type::not_found &&
           !ec;
}

} // namespace testsupport
