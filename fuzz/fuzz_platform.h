#pragma once

// The host backend the fuzz targets upper-case with; one drive, nothing on it is touched.

#include "platform/platform.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace fuzz {

inline const platform::Platform& hostPlatform() {
    static const auto fs = platform::createPlatformOver({{'c', "/", {}}}, "/");
    return *fs;
}

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A finding: libFuzzer records the input that led here.
[[noreturn]] inline void fail() {
    __builtin_trap();
}

inline void require(bool condition) {
    if (!condition)
        fail();
}

} // namespace fuzz
