#include "platform/linux/dosattrib.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::linux_host::formatDosAttrib;
using platform::linux_host::parseDosAttrib;

// Samba's binary form: empty text, padding, version twice, padding, valid flags, attribute.
std::string binary(std::uint16_t version, std::uint32_t attributes) {
    std::string b(24, '\0');
    b[2] = b[4] = static_cast<char>(version);
    b[8] = 0x11;
    for (int i = 0; i < 4; ++i)
        b[12 + i] = static_cast<char>((attributes >> (8 * i)) & 0xFF);
    return b;
}

TEST(DosAttrib, TextAndSambaForms) {
    EXPECT_EQ(parseDosAttrib("0x22"), 0x22u);
    EXPECT_EQ(parseDosAttrib("0X2a"), 0x2Au);
    EXPECT_EQ(parseDosAttrib("0x0"), 0u);
    EXPECT_EQ(parseDosAttrib("0xffffffff"), 0xFFFFFFFFu);
    // Versions 1 to 3: text, NUL, binary info that is not looked at.
    EXPECT_EQ(parseDosAttrib(std::string("0x6\0\3\0\3\0\0\0\x20\0\0\0", 14)), 0x6u);
    EXPECT_EQ(parseDosAttrib(binary(4, 0x26)), 0x26u);
    EXPECT_EQ(parseDosAttrib(binary(5, 0x1020)), 0x1020u);

    EXPECT_EQ(parseDosAttrib(""), std::nullopt);
    EXPECT_EQ(parseDosAttrib("0x"), std::nullopt);
    EXPECT_EQ(parseDosAttrib("22"), std::nullopt);
    EXPECT_EQ(parseDosAttrib("0x2g"), std::nullopt);
    EXPECT_EQ(parseDosAttrib("0x22 "), std::nullopt);
    EXPECT_EQ(parseDosAttrib("0x100000000"), std::nullopt);
    EXPECT_EQ(parseDosAttrib(binary(3, 0x20)), std::nullopt);
    EXPECT_EQ(parseDosAttrib(binary(4, 0x20).substr(0, 15)), std::nullopt);

    EXPECT_EQ(formatDosAttrib(0x22), "0x22");
    EXPECT_EQ(formatDosAttrib(0), "0x0");
    for (std::uint32_t v : {0u, 1u, 0x26u, 0xABCDEFu, 0xFFFFFFFFu})
        EXPECT_EQ(parseDosAttrib(formatDosAttrib(v)), v);
}

} // namespace
