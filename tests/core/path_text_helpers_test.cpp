#include "core/path_text.h"

#include <gtest/gtest.h>
#include <utility>

namespace {

TEST(PathTextHelpers, DrivesParentsAndJoins) {
    EXPECT_EQ(core::driveLetterOf("D:\\x"), 'd');
    EXPECT_EQ(core::driveLetterOf("e: [STICK]"), 'e');
    EXPECT_EQ(core::driveLetterOf("\\x"), 0);
    EXPECT_EQ(core::driveLetterOf("1:"), 0);
    EXPECT_TRUE(core::isDriveText("d: [x]"));
    EXPECT_TRUE(core::isDriveText("D:"));
    EXPECT_FALSE(core::isDriveText("D:\\x"));
    EXPECT_TRUE(core::onSameDrive("e: [STICK]", "E:\\Ziel"));
    EXPECT_FALSE(core::onSameDrive("\\x", "\\y"));

    EXPECT_EQ(core::parentOf("C:\\a\\b"), "C:\\a");
    EXPECT_EQ(core::parentOf("C:\\a"), "C:\\");
    EXPECT_EQ(core::parentOf("C:\\"), "");
    EXPECT_EQ(core::joinPath("C:\\", "a"), "C:\\a");
    EXPECT_EQ(core::joinPath("C:\\a", "b"), "C:\\a\\b");
    EXPECT_EQ(core::withTrailingBackslash(""), "\\");
    EXPECT_EQ(core::exactPathText("C:\\a"), "\\\\?\\C:\\a");
}

TEST(PathTextHelpers, AShareRootPlaysTheDrivesPart) {
    for (auto [text, root] : {std::pair{"\\\\s\\d\\x", "\\\\s\\d"},
                              {"\\\\s\\d", "\\\\s\\d"},
                              {"\\\\s\\", ""},
                              {"\\\\\\d", ""},
                              {"\\s\\d", ""},
                              {"C:\\s", ""}})
        EXPECT_EQ(core::shareRootOf(text), root) << text;
    EXPECT_FALSE(core::isDriveText("\\\\s\\d"));
    EXPECT_TRUE(core::onSameDrive("\\\\S\\Daten\\x", "\\\\s\\daten"));
    EXPECT_FALSE(core::onSameDrive("\\\\s\\daten", "\\\\s\\daten2\\x"));
    EXPECT_FALSE(core::onSameDrive("\\\\s\\d", "D:\\"));
    EXPECT_EQ(core::parentOf("\\\\s\\d\\a\\b"), "\\\\s\\d\\a");
    EXPECT_EQ(core::parentOf("\\\\s\\d\\a"), "\\\\s\\d");
    EXPECT_EQ(core::parentOf("\\\\s\\d"), "");
    EXPECT_EQ(core::joinPath("\\\\s\\d", "a"), "\\\\s\\d\\a");
    EXPECT_EQ(core::exactPathText("\\\\s\\d\\a"), "\\\\?\\UNC\\s\\d\\a");
}

} // namespace
