#pragma once

// Construction of the POSIX backend with an explicit drive table, for tests and benchmarks.
// The program itself uses createHostPlatform(), which builds the table from the mounts.

#include "platform/platform.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct DriveMapping {
    char letter = 'c';    // lower case
    std::string hostRoot; // absolute host folder, e.g. "/" or "/tmp/t/c"
    std::string label;    // shown in brackets in the drive text; the root folder when empty
};

// `workingFolder` is the host folder that counts as the process's working folder (it decides
// the current drive and that drive's current folder); empty = the real working folder. With
// `mountInfo` (text in the form of /proc/self/mountinfo), the table follows the mounts.
std::unique_ptr<Platform> createPosixPlatform(std::vector<DriveMapping> drives,
                                              std::string workingFolder = {},
                                              std::function<std::string()> mountInfo = {});

} // namespace platform
