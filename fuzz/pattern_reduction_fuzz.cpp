// The pattern reduction on any typed text: the reduced pattern is the trimmed, upper-cased text,
// cut after its first "." when it starts with "*", and it matches like the reference matcher
// (the name being the typed text itself, so that the two are related).

#include "fuzz_platform.h"

#include "core/pattern.h"
#include "core/wildcard_reference.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::bytesOf(data, size);
    if (text.size() > 512)
        return 0;
    const auto& fs = fuzz::hostPlatform();
    const std::string reduced = core::reducePattern(fs, text);

    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        fuzz::require(reduced.empty());
        return 0;
    }
    const std::string upper =
        fs.toUpper(text.substr(first, text.find_last_not_of(' ') - first + 1));
    const std::size_t dot = upper.find('.');
    const std::string expected =
        upper.front() == '*' && dot != std::string::npos ? upper.substr(dot + 1) : upper;
    fuzz::require(reduced == expected);

    const core::TailMatcher matcher(fs, reduced);
    fuzz::require(matcher.matches(text) == wildcardref::tailMatches(fs, reduced, text));
    return 0;
}
