#pragma once

// A file marked read-only the way a Windows file server keeps the flag a client set: on a POSIX
// host only in its user.DOSATTRIB record (bit 0x01), its write bits left as they are; on Windows
// as the file's own read-only attribute.

#include <cstdint>
#include <filesystem>

namespace testsupport {

// `attributes`: the other stored bits the file keeps (hidden, system, archive). False when the
// host could not take it.
bool markReadOnlyAsAServerDoes(const std::filesystem::path& file, std::uint32_t attributes);

} // namespace testsupport
