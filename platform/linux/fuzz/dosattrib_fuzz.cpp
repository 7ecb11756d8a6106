// The user.DOSATTRIB parser on any stored value: it answers without reading past the value, and
// whatever number it reads is read back the same from the text form the program writes.

#include "fuzz_platform.h"

#include "platform/linux/dosattrib.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly the value's bytes, so that a read beyond them is caught.
    const std::string value(fuzz::bytesOf(data, size));
    const auto parsed = platform::linux_host::parseDosAttrib(value);
    if (!parsed)
        return 0;
    const std::string text = platform::linux_host::formatDosAttrib(*parsed);
    fuzz::require(platform::linux_host::parseDosAttrib(text) == parsed);
    fuzz::require(text.find('\0') == std::string::npos);
    return 0;
}
