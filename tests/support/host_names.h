#pragma once

// What the host's file systems make of names, for tests that need one kind of host.

#include "support/temp_tree.h"

#include <filesystem>
#include <type_traits>

namespace testsupport {

// Names are bytes where paths are narrow (Linux); on Windows they are UTF-16, and a name that is
// not UTF-8 cannot be made.
inline constexpr bool namesAreBytes = std::is_same_v<std::filesystem::path::value_type, char>;

// Whether the file system keeps names that differ only in case apart (Windows does not).
inline bool namesDifferInCase() {
    TempDir probe;
    probe.file("x");
    return !std::filesystem::exists(probe.path() / "X");
}

} // namespace testsupport
