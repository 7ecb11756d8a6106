#include "core/attribute_bits.h"
#include "core/bulk_operations.h"
#include "core/date_text.h"
#include "core/result_entry.h"

#include <gtest/gtest.h>

namespace {

using core::entryPath;
using core::isFileEntry;

TEST(FileEntryTest, AcceptsOnlyPathsStartingWithADriveLetterOrShare) {
    EXPECT_TRUE(isFileEntry("    c:\\daten\\Brief.doc"));
    EXPECT_TRUE(isFileEntry("C:\\a"));
    EXPECT_TRUE(isFileEntry("  z:\\x  "));
    EXPECT_TRUE(isFileEntry("a")); // the test looks at the first character only
    EXPECT_TRUE(isFileEntry("    \\\\server\\share\\Brief.doc")); // a search on a share

    EXPECT_FALSE(isFileEntry(""));
    EXPECT_FALSE(isFileEntry("      "));
    EXPECT_FALSE(isFileEntry(">>c:\\daten\\Archiv"));
    EXPECT_FALSE(isFileEntry("  >>c:\\daten\\Archiv"));
    EXPECT_FALSE(isFileEntry("    \\daten\\Brief.doc")); // search from an empty folder text
    EXPECT_FALSE(isFileEntry("    \\\\daten\\"));
    EXPECT_FALSE(isFileEntry("    1:\\x"));
    EXPECT_FALSE(isFileEntry("    _:\\x"));
    EXPECT_FALSE(isFileEntry("    @x"));
    EXPECT_FALSE(isFileEntry("    [x"));
    EXPECT_FALSE(isFileEntry("    \xC3\xA4:\\x")); // ä is no drive letter
    EXPECT_FALSE(isFileEntry("\tc:\\x"));          // only blanks are trimmed
}

TEST(FileEntryTest, ActsOnTheExactNameAfterTheFourBlanks) {
    EXPECT_EQ(entryPath("    c:\\d\\name"), "c:\\d\\name");
    EXPECT_EQ(entryPath("    c:\\d\\ name "), "c:\\d\\ name ");
    EXPECT_EQ(entryPath("    c:\\d\\name  "), "c:\\d\\name  ");
    EXPECT_NE(entryPath("    c:\\d\\ name "), entryPath("    c:\\d\\name"));
    // Text not written by the walk is trimmed.
    EXPECT_EQ(entryPath("  c:\\d\\name  "), "c:\\d\\name");
    EXPECT_EQ(entryPath(">>c:\\d\\sub"), ">>c:\\d\\sub");
}

TEST(TargetName, TheZeroBasedPrefix) {
    using core::targetFileName;
    EXPECT_EQ(targetFileName(5, "a.txt", false), "a.txt");
    EXPECT_EQ(targetFileName(0, "a.txt", true), "000_a.txt");
    EXPECT_EQ(targetFileName(2, "b.txt", true), "002_b.txt");
    EXPECT_EQ(targetFileName(99, "b", true), "099_b");
    EXPECT_EQ(targetFileName(999, "b", true), "999_b");
    EXPECT_EQ(targetFileName(1000, "b", true), "1000_b");
    EXPECT_EQ(targetFileName(32767, "b", true), "32767_b");
    EXPECT_EQ(targetFileName(65536, "b", true), "65536_b");
    EXPECT_EQ(targetFileName(2147483648u, "b", true), "2147483648_b");
    EXPECT_EQ(targetFileName(7, "", true), "007_");
}

TEST(DateText, GermanFormWithTheDateAloneAtMidnight) {
    EXPECT_EQ(core::dateText({2024, 3, 7, 9, 5, 4}), "07.03.2024 09:05:04");
    EXPECT_EQ(core::dateText({2024, 12, 31, 23, 59, 59}), "31.12.2024 23:59:59");
    EXPECT_EQ(core::dateText({2024, 1, 1, 0, 0, 0}), "01.01.2024");
    EXPECT_EQ(core::dateText({2024, 1, 1, 0, 0, 1}), "01.01.2024 00:00:01");
    EXPECT_EQ(core::dateText({2024, 1, 1, 12, 0, 0}), "01.01.2024 12:00:00");
    EXPECT_EQ(core::dateText({999, 1, 1, 1, 0, 0}), "01.01.0999 01:00:00");
}

TEST(AttributeBits, BoxesShowTheirBitAndClicksRebuildFromTheBoxesAlone) {
    constexpr std::uint32_t readOnlyArchiveDirectory = 1 | 32 | 16;
    EXPECT_TRUE(core::boxChecked(readOnlyArchiveDirectory, 0));
    EXPECT_FALSE(core::boxChecked(readOnlyArchiveDirectory, 1));
    EXPECT_FALSE(core::boxChecked(readOnlyArchiveDirectory, 2));
    EXPECT_TRUE(core::boxChecked(readOnlyArchiveDirectory, 3));
    EXPECT_EQ(core::attributesFromBoxes({1, 0, 0, 1}), 33u); // the directory bit is dropped
    EXPECT_EQ(core::attributesFromBoxes({1, 1, 1, 1}), 39u);
    EXPECT_EQ(core::attributesFromBoxes({0, 0, 0, 0}), 0u);
}

} // namespace
