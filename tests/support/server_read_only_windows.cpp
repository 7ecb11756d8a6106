#include "support/server_read_only.h"

#include "platform/types.h"

#include <windows.h>

namespace testsupport {

bool markReadOnlyAsAServerDoes(const std::filesystem::path& file, std::uint32_t attributes) {
    return ::SetFileAttributesW(file.c_str(), attributes | platform::ReadOnly) != 0;
}

} // namespace testsupport
