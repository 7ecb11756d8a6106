#include "core/attribute_bits.h"
#include "core/bulk_operations.h"
#include "core/date_text.h"
#include "core/path_text.h"
#include "core/result_entry.h"
#include "support/entry_texts.h"

#include <gtest/gtest.h>

namespace {

// The path texts a bulk operation acts on: a drive letter or a share root at their start.
TEST(FileEntryTest, ActsOnPathsBeginningWithADriveLetterOrAShare) {
    for (std::string_view text : {"c:\\daten\\", "C:\\", "  z:\\x", "a", "\\\\server\\share\\"})
        EXPECT_TRUE(core::beginsWithDrive(text)) << text;
    for (std::string_view text : {"", "      ", "\\daten\\", "\\\\daten\\", "1:\\x", "_:\\x", "@x",
                                  "[x", "\xC3\xA4:\\x", "\tc:\\x"})
        EXPECT_FALSE(core::beginsWithDrive(text)) << text;
}

// A file keeps its exact name, blanks included; a subfolder entry is never acted on.
TEST(FileEntryTest, ActsOnTheExactNameOfFilesOnly) {
    core::EntryList list;
    for (std::string_view text : {">>c:\\d\\sub", "    c:\\d\\ name ", "    c:\\d\\name"})
        testsupport::appendEntryText(list, text);
    EXPECT_FALSE(core::isFileEntry(list, 0));
    EXPECT_TRUE(core::isFileEntry(list, 1) && core::isFileEntry(list, 2));
    EXPECT_EQ(core::listedPath(list, 1), "c:\\d\\ name ");
    EXPECT_EQ(core::actionPath(list, 2), "c:\\d\\name");
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
