#include "core/attribute_bits.h"
#include "core/bulk_operations.h"
#include "core/date_text.h"
#include "core/result_entry.h"

#include <gtest/gtest.h>

namespace {

using core::EntryPath;
using core::IsFileEntry;

TEST(FileEntryTest, AcceptsOnlyPathsStartingWithADriveLetter) {
    EXPECT_TRUE(IsFileEntry("    c:\\daten\\Brief.doc"));
    EXPECT_TRUE(IsFileEntry("C:\\a"));
    EXPECT_TRUE(IsFileEntry("  z:\\x  "));
    EXPECT_TRUE(IsFileEntry("a")); // the test looks at the first character only

    EXPECT_FALSE(IsFileEntry(""));
    EXPECT_FALSE(IsFileEntry("      "));
    EXPECT_FALSE(IsFileEntry(">>c:\\daten\\Archiv"));
    EXPECT_FALSE(IsFileEntry("  >>c:\\daten\\Archiv"));
    EXPECT_FALSE(IsFileEntry("    \\daten\\Brief.doc")); // search from an empty folder text
    EXPECT_FALSE(IsFileEntry("    1:\\x"));
    EXPECT_FALSE(IsFileEntry("    _:\\x"));
    EXPECT_FALSE(IsFileEntry("    @x"));
    EXPECT_FALSE(IsFileEntry("    [x"));
    EXPECT_FALSE(IsFileEntry("    \xC3\xA4:\\x")); // ä is no drive letter
    EXPECT_FALSE(IsFileEntry("\tc:\\x"));          // only blanks are trimmed
}

TEST(FileEntryTest, ActsOnTheExactNameAfterTheFourBlanks) {
    EXPECT_EQ(EntryPath("    c:\\d\\name"), "c:\\d\\name");
    EXPECT_EQ(EntryPath("    c:\\d\\ name "), "c:\\d\\ name ");
    EXPECT_EQ(EntryPath("    c:\\d\\name  "), "c:\\d\\name  ");
    EXPECT_NE(EntryPath("    c:\\d\\ name "), EntryPath("    c:\\d\\name"));
    // Text not written by the walk is trimmed.
    EXPECT_EQ(EntryPath("  c:\\d\\name  "), "c:\\d\\name");
    EXPECT_EQ(EntryPath(">>c:\\d\\sub"), ">>c:\\d\\sub");
}

TEST(TargetName, InsertsABackslashAndTheZeroBasedPrefix) {
    using core::TargetName;
    EXPECT_EQ(TargetName("C:\\Ziel", 5, "a.txt", false), "C:\\Ziel\\a.txt");
    EXPECT_EQ(TargetName("C:\\", 5, "a.txt", false), "C:\\\\a.txt");
    EXPECT_EQ(TargetName("C:\\Ziel", 0, "a.txt", true), "C:\\Ziel\\000_a.txt");
    EXPECT_EQ(TargetName("C:\\Ziel", 2, "b.txt", true), "C:\\Ziel\\002_b.txt");
    EXPECT_EQ(TargetName("C:\\Ziel", 99, "b", true), "C:\\Ziel\\099_b");
    EXPECT_EQ(TargetName("C:\\Ziel", 999, "b", true), "C:\\Ziel\\999_b");
    EXPECT_EQ(TargetName("C:\\Ziel", 1000, "b", true), "C:\\Ziel\\1000_b");
    EXPECT_EQ(TargetName("C:\\Ziel", 32767, "b", true), "C:\\Ziel\\32767_b");
    EXPECT_EQ(TargetName("C:\\Ziel", 123456, "b", true), "C:\\Ziel\\123456_b");
    EXPECT_EQ(TargetName("C:\\Ziel", 7, "", true), "C:\\Ziel\\007_");
}

TEST(DateText, GermanFormWithTheDateAloneAtMidnight) {
    EXPECT_EQ(core::DateText({2024, 3, 7, 9, 5, 4}), "07.03.2024 09:05:04");
    EXPECT_EQ(core::DateText({2024, 12, 31, 23, 59, 59}), "31.12.2024 23:59:59");
    EXPECT_EQ(core::DateText({2024, 1, 1, 0, 0, 0}), "01.01.2024");
    EXPECT_EQ(core::DateText({2024, 1, 1, 0, 0, 1}), "01.01.2024 00:00:01");
    EXPECT_EQ(core::DateText({2024, 1, 1, 12, 0, 0}), "01.01.2024 12:00:00");
    EXPECT_EQ(core::DateText({999, 1, 1, 1, 0, 0}), "01.01.0999 01:00:00");
}

TEST(AttributeBits, BoxesShowTheirBitAndClicksRebuildFromTheBoxesAlone) {
    constexpr std::uint32_t readOnlyArchiveDirectory = 1 | 32 | 16;
    EXPECT_TRUE(core::BoxChecked(readOnlyArchiveDirectory, 0));
    EXPECT_FALSE(core::BoxChecked(readOnlyArchiveDirectory, 1));
    EXPECT_FALSE(core::BoxChecked(readOnlyArchiveDirectory, 2));
    EXPECT_TRUE(core::BoxChecked(readOnlyArchiveDirectory, 3));
    EXPECT_EQ(core::AttributesFromBoxes({1, 0, 0, 1}), 33u); // the directory bit is dropped
    EXPECT_EQ(core::AttributesFromBoxes({1, 1, 1, 1}), 39u);
    EXPECT_EQ(core::AttributesFromBoxes({0, 0, 0, 0}), 0u);
}

} // namespace
