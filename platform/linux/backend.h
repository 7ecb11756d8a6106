#pragma once

// The Linux backend over drives of the caller's own whose table follows a mount table of the
// caller's own, for the backend's own tests. Everything else uses createHostPlatform() or
// createPlatformOver() of platform.h.

#include "platform/platform.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform::linux_host {

// With `mountInfo` (text in the form of /proc/self/mountinfo), the table follows the mounts.
std::unique_ptr<Platform> createFollowingMounts(std::vector<DriveMapping> drives,
                                                std::string workingFolder,
                                                std::function<std::string()> mountInfo);

} // namespace platform::linux_host
