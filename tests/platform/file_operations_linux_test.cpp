#include "support/drive_fixture.h"
#include "support/pass_actions.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

using namespace platform;
using testsupport::entryExists;
using testsupport::readBytes;
using testsupport::TwoDrives;

// A FIFO is neither deleted nor opened (no waiting for a writer or reader); a link is removed
// itself, never what it leads to, and a link to a folder is a folder.
TEST(FileOperations, SpecialFilesAndLinks) {
    TwoDrives t;
    t.c.folder("Ordner");
    t.c.file("fest.txt", "x");
    ASSERT_FALSE(t.fs->setAttributes("C:\\fest.txt", ReadOnly));
    auto fifo = t.c.path() / "rohr";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    EXPECT_TRUE(t.fs->deleteFile("C:\\rohr"));
    EXPECT_TRUE(entryExists(fifo));
    EXPECT_TRUE(testsupport::appendToFile(*t.fs, "C:\\rohr", "x"));
    EXPECT_TRUE(t.fs->readFile("C:\\rohr").error());

    auto target = t.c.file("ziel.txt", "bleibt");
    ::symlink("ziel.txt", (t.c.path() / "verweis").c_str());
    ::symlink("Ordner", (t.c.path() / "zumOrdner").c_str());
    ::symlink("nirgends", (t.c.path() / "kaputt").c_str());
    ::symlink("fest.txt", (t.c.path() / "zuFest").c_str());
    EXPECT_FALSE(t.fs->deleteFile("C:\\verweis"));
    EXPECT_FALSE(entryExists(t.c.path() / "verweis"));
    EXPECT_EQ(readBytes(target), "bleibt");
    EXPECT_EQ(t.fs->deleteFile("C:\\zumOrdner"), std::errc::is_a_directory);
    EXPECT_EQ(t.fs->deleteFile("C:\\zuFest"), std::errc::permission_denied);
    EXPECT_FALSE(t.fs->deleteFile("C:\\kaputt"));
    EXPECT_FALSE(entryExists(t.c.path() / "kaputt"));
}

} // namespace
