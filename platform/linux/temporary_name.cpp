#include "platform/linux/temporary_name.h"

#include <cstdint>
#include <cstdio>
#include <random>

namespace platform::linux_host {

std::string temporaryName() {
    // Seeded once: the names only have to be unlikely, and O_EXCL or RENAME_NOREPLACE settle a
    // clash. The walk and the passes run on one thread.
    static std::mt19937_64 generator{(std::uint64_t{std::random_device{}()} << 32) ^
                                     std::random_device{}()};
    char name[40];
    std::snprintf(name, sizeof name, ".tilgomat-%016llx.tmp",
                  static_cast<unsigned long long>(generator()));
    return name;
}

} // namespace platform::linux_host
