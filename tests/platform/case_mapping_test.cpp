#include "support/drive_fixture.h"

#include <gtest/gtest.h>

namespace {

TEST(CaseMapping, UnicodeAwareAndBytePreserving) {
    testsupport::TwoDrives t;
    const auto& fs = *t.fs;
    EXPECT_EQ(fs.toUpper("brief.txt"), "BRIEF.TXT");
    EXPECT_EQ(fs.toLower("C:\\Daten\\Brief.TXT"), "c:\\daten\\brief.txt");
    EXPECT_EQ(fs.toUpper("äöü éñ"), "ÄÖÜ ÉÑ");
    EXPECT_EQ(fs.toLower("ÄÖÜ"), "äöü");
    EXPECT_EQ(fs.toUpper("ελλάδα"), "ΕΛΛΆΔΑ");
    EXPECT_EQ(fs.toUpper("ß"), "ß");
    // The mapped character may be shorter than the original.
    EXPECT_EQ(fs.toUpper("\xC4\xB1"), "I"); // dotless i
    EXPECT_EQ(fs.toUpper("a\xF0\x9F\x98\x80"
                         "b"),
              "A\xF0\x9F\x98\x80"
              "B");
    // Bytes that are not UTF-8 (stray, truncated, overlong, surrogate) stay as they are.
    EXPECT_EQ(fs.toUpper("a\xFF"
                         "b\xC3"),
              "A\xFF"
              "B\xC3");
    EXPECT_EQ(fs.toUpper("\xC0\xAF"
                         "x"),
              "\xC0\xAF"
              "X");
    EXPECT_EQ(fs.toUpper("\xED\xA0\x80"
                         "y"),
              "\xED\xA0\x80"
              "Y");
    EXPECT_EQ(fs.toUpper("\xC3"
                         "\xA4"),
              "\xC3\x84");
    // Mapped forbidden characters are not letters.
    EXPECT_EQ(fs.toUpper("a\xEF\x80\xBA"), "A\xEF\x80\xBA");
    EXPECT_EQ(fs.toUpper(""), "");
}

} // namespace
