// The backend's move in one step, as the move pass relies on it, on every host: it renames onto
// a free name only, keeps the file (its identity, data, attributes and time), and refuses with
// nothing changed whatever a copy and a delete would end differently.

#include "support/drive_fixture.h"
#include "support/pass_actions.h"
#include "support/result_value.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

namespace {

using namespace platform;
using testsupport::entryExists;
using testsupport::readBytes;
using testsupport::TwoDrives;
using testsupport::valueOf;

TEST(MoveFile, RenamesAndKeepsDataAttributesAndTime) {
    TwoDrives t;
    auto source = t.c.file("Quelle/Brief.txt", "Inhalt");
    ASSERT_FALSE(t.fs->setAttributes("C:\\Quelle\\Brief.txt", System | Archive));
    const auto when = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    std::filesystem::last_write_time(source, when);
    const FileId id = valueOf(t.fs->fileId("C:\\Quelle\\Brief.txt"));

    ASSERT_FALSE(testsupport::moveFile(*t.fs, "c:\\quelle\\brief.txt", "C:\\Brief.txt"));
    auto moved = t.c.path() / "Brief.txt";
    EXPECT_FALSE(entryExists(source));
    EXPECT_EQ(readBytes(moved), "Inhalt");
    EXPECT_EQ(valueOf(t.fs->fileId("C:\\Brief.txt")), id);
    EXPECT_EQ(valueOf(t.fs->getAttributes("C:\\Brief.txt")), System | Archive);
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::seconds>(
                  std::filesystem::last_write_time(moved) - when)
                  .count(),
              0);
}

// A file at the target name, in any case, is left to the copy's rules: the move refuses it.
TEST(MoveFile, NeverReplacesAFile) {
    TwoDrives t;
    t.c.file("a.txt", "neu");
    t.d.file("A.TXT", "alt");
    EXPECT_EQ(testsupport::moveFile(*t.fs, "C:\\a.txt", "D:\\a.txt"), std::errc::file_exists);
    EXPECT_EQ(readBytes(t.d.path() / "A.TXT"), "alt");
    EXPECT_EQ(readBytes(t.c.path() / "a.txt"), "neu");
}

// Whatever the rename would do differently from a copy and a delete is refused, and nothing
// changes; the move pass then copies and deletes.
TEST(MoveFile, RefusesWithoutChangingAnything) {
    TwoDrives t;
    auto plain = t.c.file("plain.txt", "p");

    auto readOnly = t.c.file("fest.txt", "f");
    ASSERT_FALSE(t.fs->setAttributes("C:\\fest.txt", ReadOnly | Archive));
    EXPECT_EQ(testsupport::moveFile(*t.fs, "C:\\fest.txt", "D:\\fest.txt"),
              std::errc::permission_denied);
    EXPECT_EQ(readBytes(readOnly), "f");
    EXPECT_FALSE(entryExists(t.d.path() / "fest.txt"));

    auto protectedTarget = t.d.file("geschuetzt.txt", "bleibt");
    ASSERT_FALSE(t.fs->setAttributes("D:\\geschuetzt.txt", ReadOnly | Archive));
    EXPECT_TRUE(testsupport::moveFile(*t.fs, "C:\\plain.txt", "D:\\geschuetzt.txt"));
    auto hiddenTarget = t.d.file("versteckt.txt", "bleibt");
    ASSERT_FALSE(t.fs->setAttributes("D:\\versteckt.txt", Hidden | Archive));
    EXPECT_TRUE(testsupport::moveFile(*t.fs, "C:\\plain.txt", "D:\\versteckt.txt"));
    t.d.folder("Ordner.txt");
    EXPECT_TRUE(testsupport::moveFile(*t.fs, "C:\\plain.txt", "D:\\Ordner.txt"));
    EXPECT_TRUE(testsupport::moveFile(*t.fs, "C:\\plain.txt", "c:\\PLAIN.TXT"));
    EXPECT_TRUE(testsupport::moveFile(*t.fs, "C:\\plain.txt", "D:\\Fehlt\\plain.txt"));
    EXPECT_TRUE(testsupport::moveFile(*t.fs, "C:\\fehlt.txt", "D:\\fehlt.txt"));
    EXPECT_EQ(readBytes(protectedTarget), "bleibt");
    EXPECT_EQ(readBytes(hiddenTarget), "bleibt");
    EXPECT_EQ(readBytes(plain), "p");
    EXPECT_FALSE(entryExists(t.d.path() / "plain.txt"));
    EXPECT_FALSE(entryExists(t.d.path() / "fehlt.txt"));
}

} // namespace
