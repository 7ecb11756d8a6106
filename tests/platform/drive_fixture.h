#pragma once

// A backend whose drives are temporary folders: c: and d: (labelled "DATEN").

#include "support/temp_tree.h"

#include "platform/posix_backend.h"

#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>

namespace platformtest {

struct TwoDrives {
    testsupport::TempDir c;
    testsupport::TempDir d;
    std::unique_ptr<platform::Platform> fs;

    // `workingBelowC`: the working folder relative to c:'s root (created); empty = c:'s root.
    explicit TwoDrives(const std::string& workingBelowC = {}) {
        std::filesystem::path working = workingBelowC.empty() ? c.path() : c.folder(workingBelowC);
        fs = platform::createPosixPlatform({{'d', d.str(), "DATEN"}, {'c', c.str(), ""}},
                                           working.string());
    }
};

inline bool entryExists(const std::filesystem::path& p) {
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0;
}

inline mode_t modeOf(const std::filesystem::path& p) {
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st.st_mode & 07777;
}

} // namespace platformtest
