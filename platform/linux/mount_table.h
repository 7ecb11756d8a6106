#pragma once

// The drive table of the machine: "/" as C:, then removable and external volumes.

#include "platform/types.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform::linux_host {

struct MountPoint {
    std::string folder; // where it is mounted, escapes decoded
    std::string source; // the device or other source
    std::string type;   // file system type
};

// The entries of /proc/self/mountinfo text, in mount order.
std::vector<MountPoint> parseMountInfo(std::string_view text);

// The drives for a list of mounts: C: for "/", then D:, E: … for the mounts below /media,
// /run/media and /mnt in mount order, each folder once, up to Z:. A volume of `previous` that
// is still mounted keeps its letter; the others take the first free letters. `labelOf` gives a
// volume label for a source, or empty text.
std::vector<DriveMapping> drivesFromMounts(const std::vector<MountPoint>& mounts,
                                           std::string (*labelOf)(const std::string& source),
                                           const std::vector<DriveMapping>& previous = {});

// The volume label of a device from /dev/disk/by-label, empty when it has none.
std::string volumeLabel(const std::string& source);

// The text of /proc/self/mountinfo (Linux).
std::string readMountInfo();

// The drives of this machine from /proc/self/mountinfo.
std::vector<DriveMapping> hostDrives();

} // namespace platform::linux_host
