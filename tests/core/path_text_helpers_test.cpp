#include "core/path_text.h"

#include <gtest/gtest.h>

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
}

} // namespace
