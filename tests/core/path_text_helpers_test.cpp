#include "core/path_text.h"

#include <gtest/gtest.h>
#include <tuple>

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
    for (auto [text, root, parent] : {std::tuple{"\\\\s\\d\\a\\b", "\\\\s\\d", "\\\\s\\d\\a"},
                                      {"\\\\s\\d\\a", "\\\\s\\d", "\\\\s\\d"},
                                      {"\\\\s\\d", "\\\\s\\d", ""},
                                      {"\\\\s\\", "", ""}}) {
        EXPECT_EQ(core::shareRootOf(text), root) << text;
        EXPECT_EQ(core::parentOf(text), parent) << text;
    }
    EXPECT_TRUE(core::onSameDrive("\\\\S\\Daten\\x", "\\\\s\\daten"));
    EXPECT_FALSE(core::onSameDrive("\\\\s\\d", "\\\\s\\d2\\x") ||
                 core::onSameDrive("\\\\s\\d", "D:\\"));
    EXPECT_EQ(core::exactPathText(core::joinPath("\\\\s\\d", "a")), "\\\\?\\UNC\\s\\d\\a");
}

} // namespace
