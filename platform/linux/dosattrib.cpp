#include "platform/linux/dosattrib.h"

#include "platform/linux/hex_digit.h"

#include <cstdio>

namespace platform::linux_host {

namespace {

std::optional<std::uint32_t> parseHexText(std::string_view bytes) {
    std::size_t i = 2;
    std::uint64_t value = 0;
    for (; i < bytes.size() && bytes[i] != '\0'; ++i) {
        int digit = hexDigit(bytes[i]);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint64_t>(digit);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    if (i == 2)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::uint32_t littleEndian(std::string_view bytes, std::size_t offset, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[offset + i]))
                 << (8 * i);
    return value;
}

} // namespace

std::optional<std::uint32_t> parseDosAttrib(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes[0] == '0' && (bytes[1] == 'x' || bytes[1] == 'X'))
        return parseHexText(bytes);
    // Binary form: empty text (one NUL), one byte of padding, the version twice as 16-bit
    // numbers, padding to 8, then valid flags and the attribute as 32-bit numbers.
    if (bytes.size() >= 16 && bytes[0] == '\0') {
        std::uint32_t version = littleEndian(bytes, 2, 2);
        if (version == 4 || version == 5)
            return littleEndian(bytes, 12, 4);
    }
    return std::nullopt;
}

std::string formatDosAttrib(std::uint32_t attributes) {
    char text[16];
    int n = std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(attributes));
    return std::string(text, static_cast<std::size_t>(n));
}

} // namespace platform::linux_host
