#include "support/server_read_only.h"

#include "platform/types.h"

#include <sys/xattr.h>

#include <cstdio>

namespace testsupport {

bool markReadOnlyAsAServerDoes(const std::filesystem::path& file, std::uint32_t attributes) {
    char value[16];
    const int n = std::snprintf(value, sizeof value, "0x%x", attributes | platform::ReadOnly);
    return ::setxattr(file.c_str(), "user.DOSATTRIB", value, static_cast<std::size_t>(n), 0) == 0;
}

} // namespace testsupport
