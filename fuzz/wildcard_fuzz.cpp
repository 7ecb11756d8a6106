// The tail matcher against a plain dynamic-programming matcher: the input is a reduced pattern
// and a file name separated by the first NUL byte.

#include "fuzz_platform.h"

#include "core/pattern.h"
#include "core/wildcard_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::bytesOf(data, size);
    const std::size_t cut = input.find('\0');
    if (cut == std::string_view::npos)
        return 0;
    const std::string_view pattern = input.substr(0, cut);
    const std::string_view name = input.substr(cut + 1);
    if (pattern.size() > 256 || name.size() > 1024)
        return 0;
    const auto& fs = fuzz::hostPlatform();
    const core::TailMatcher matcher(fs, pattern);
    fuzz::require(matcher.matches(name) == wildcardref::tailMatches(fs, pattern, name));
    return 0;
}
