// What Windows itself does for the backend: it refuses to delete a read-only file, paths past
// 260 characters are reached through the "\\?\" form the backend uses, and the machine's own
// drives, whose roots end in a backslash, are walked like any folder.

#include "support/drive_fixture.h"
#include "support/pass_actions.h"
#include "support/result_value.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace platform;
using testsupport::TwoDrives;
using testsupport::valueOf;

TEST(WindowsFiles, TheSystemRefusesToDeleteAReadOnlyFile) {
    TwoDrives t;
    const auto file = t.c.file("fest.txt", "bleibt");
    ASSERT_FALSE(t.fs->setAttributes("C:\\fest.txt", ReadOnly | Archive));
    // The system's own answer, without the backend in between.
    EXPECT_FALSE(::DeleteFileW(file.c_str()));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(t.fs->deleteFile("C:\\fest.txt"), std::errc::permission_denied);
    EXPECT_EQ(testsupport::readBytes(file), "bleibt");
}

TEST(WindowsFiles, PathsPastTwoHundredSixtyCharactersAreReached) {
    TwoDrives t;
    std::string folder = "C:";
    for (int level = 0; level < 6; ++level) {
        folder += "\\" + std::string(50, static_cast<char>('a' + level));
        ASSERT_FALSE(t.fs->createFolder(folder)) << folder.size();
    }
    const std::string file = folder + "\\blatt.txt";
    ASSERT_GT(t.c.str().size() + file.size(), 300u);
    ASSERT_FALSE(testsupport::appendToFile(*t.fs, file, "tief"));
    EXPECT_EQ(valueOf(t.fs->fileLength(file)), 4u);
    Listing listing;
    ASSERT_FALSE(t.fs->listFolder(folder, ListDetail::Attributes, listing));
    EXPECT_EQ(listing.size(), 3u); // ".", ".." and the file
    ASSERT_FALSE(testsupport::copyFile(*t.fs, file, "D:\\blatt.txt"));
    EXPECT_EQ(valueOf(t.fs->readFile("D:\\blatt.txt")), "tief");
    ASSERT_FALSE(testsupport::copyFile(*t.fs, "D:\\blatt.txt", folder + "\\kopie.txt"));
    EXPECT_FALSE(t.fs->deleteFile(file));
    EXPECT_EQ(t.fs->fileLength(file).error(), std::errc::no_such_file_or_directory);
    EXPECT_EQ(valueOf(t.fs->canonicalPath(folder + "\\KOPIE.TXT")), folder + "\\kopie.txt");
}

TEST(WindowsFiles, FoldersBelowAMachineDriveRootAreListed) {
    TwoDrives t;
    const auto fs = createHostPlatform();
    // The temporary folder lies on one of the machine's drives: "X:\\first\\…".
    const std::string host = testsupport::utf8(t.c.path());
    ASSERT_GT(host.size(), 3u);
    ASSERT_EQ(host.substr(1, 2), ":\\");
    auto root = fs->resolveFolder(host.substr(0, 3));
    ASSERT_TRUE(root) << root.error().message();
    const std::string first = host.substr(3, host.find('\\', 3) - 3);
    // One backslash after the root: Windows takes "\\\\?\\" paths as they are, and a doubled
    // one names nothing there.
    const HostFolder child = fs->childFolder(*root, first);
    EXPECT_EQ(child.path, host.substr(0, 3) + first);
    Listing listing;
    ASSERT_FALSE(fs->listFolder(child, ListDetail::Kind, listing));
    EXPECT_GT(listing.size(), 2u);
}

} // namespace
