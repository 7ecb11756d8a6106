// The log's Windows-1252 encoder: one output byte per character (or per byte of invalid UTF-8),
// never a control byte nor an undefined one, so no path can split or forge a log line; and the
// code page's own text survives decoding and encoding again.

#include "fuzz_platform.h"

#include "core/cp1252.h"
#include "core/wildcard_reference.h"

namespace {

bool isValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = wildcardref::validLength(s, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

bool mayStandInLog(unsigned char b) {
    switch (b) {
    case 0x81:
    case 0x8D:
    case 0x8F:
    case 0x90:
    case 0x9D:
        return false;
    default:
        return b >= 0x20 && b != 0x7F;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = fuzz::bytesOf(data, size);
    const std::string encoded = core::utf8ToCp1252(input);
    fuzz::require(encoded.size() == wildcardref::split(input).size());
    for (char c : encoded)
        fuzz::require(mayStandInLog(static_cast<unsigned char>(c)));
    const std::string decoded = core::cp1252ToUtf8(encoded);
    fuzz::require(isValidUtf8(decoded));
    fuzz::require(core::utf8ToCp1252(decoded) == encoded);
    fuzz::require(isValidUtf8(core::cp1252ToUtf8(input)));
    return 0;
}
