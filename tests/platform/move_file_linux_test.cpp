// The move on POSIX hosts: mode, inode and the nanoseconds of the time stay; a second hard link,
// a link and a FIFO are left to copy and delete; a dot-name's hidden bit travels as a copy's
// would; another file system is reported; case-insensitive lookups see every change.

#include "support/drive_fixture.h"
#include "support/linux_files.h"
#include "support/pass_actions.h"
#include "support/result_value.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

using namespace platform;
using testsupport::entryExists;
using testsupport::modeOf;
using testsupport::readBytes;
using testsupport::TwoDrives;
using testsupport::valueOf;

ino_t inodeOf(const std::filesystem::path& p) {
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st.st_ino;
}

TEST(MoveFile, RenamesAndKeepsModeInodeAndTheTimeToTheNanosecond) {
    TwoDrives t;
    auto source = t.c.file("Quelle/Brief.txt", "Inhalt");
    ::chmod(source.c_str(), 0640);
    const struct timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 5}};
    ASSERT_EQ(::utimensat(AT_FDCWD, source.c_str(), times, 0), 0);
    const ino_t inode = inodeOf(source);

    ASSERT_FALSE(testsupport::moveFile(*t.fs, "c:\\quelle\\brief.txt", "D:\\Brief.txt"));
    auto moved = t.d.path() / "Brief.txt";
    EXPECT_EQ(inodeOf(moved), inode);
    EXPECT_EQ(modeOf(moved), 0640u);
    EXPECT_EQ(testsupport::mtimeOf(moved).tv_sec, 1000000000);
    EXPECT_EQ(testsupport::mtimeOf(moved).tv_nsec, 5);
}

// A second link would stay behind a copy and a delete; a link is copied as its file; a FIFO is
// no file to move. Each is refused and stays.
TEST(MoveFile, LinksAndSpecialFilesAreLeftToCopyAndDelete) {
    TwoDrives t;
    auto plain = t.c.file("plain.txt", "p");
    ASSERT_EQ(::link(plain.c_str(), (t.c.path() / "zweiter.txt").c_str()), 0);
    EXPECT_EQ(testsupport::moveFile(*t.fs, "C:\\plain.txt", "D:\\plain.txt"),
              std::errc::operation_not_supported);
    ASSERT_EQ(::symlink("zweiter.txt", (t.c.path() / "verweis.txt").c_str()), 0);
    EXPECT_EQ(testsupport::moveFile(*t.fs, "C:\\verweis.txt", "D:\\verweis.txt"),
              std::errc::operation_not_supported);
    ASSERT_EQ(::mkfifo((t.c.path() / "rohr").c_str(), 0644), 0);
    EXPECT_TRUE(testsupport::moveFile(*t.fs, "C:\\rohr", "D:\\rohr"));
    EXPECT_EQ(readBytes(plain), "p");
    EXPECT_TRUE(entryExists(t.c.path() / "verweis.txt"));
    EXPECT_TRUE(entryExists(t.c.path() / "rohr"));
    for (const char* name : {"plain.txt", "verweis.txt", "rohr"})
        EXPECT_FALSE(entryExists(t.d.path() / name)) << name;
}

TEST(MoveFile, TheTargetGetsTheHiddenBitTheCopyWouldGive) {
    TwoDrives t;
    t.c.file(".versteckt", "v");
    ASSERT_EQ(valueOf(t.fs->getAttributes("C:\\.versteckt")), Hidden | Archive);
    // With a prefix the name no longer starts with a dot; the bit must not get lost.
    ASSERT_FALSE(testsupport::moveFile(*t.fs, "C:\\.versteckt", "D:\\000_.versteckt"));
    EXPECT_EQ(valueOf(t.fs->getAttributes("D:\\000_.versteckt")), Hidden | Archive);

    t.c.file("sichtbar", "s");
    ASSERT_FALSE(testsupport::moveFile(*t.fs, "C:\\sichtbar", "D:\\.sichtbar"));
    EXPECT_EQ(valueOf(t.fs->getAttributes("D:\\.sichtbar")), Archive);
}

// Another file system cannot be reached by a rename: the move reports it and changes nothing.
TEST(MoveFile, AnotherFileSystemIsReported) {
    testsupport::TempDir c;
    const testsupport::OtherFileSystemFolder there(c.path());
    if (there.path().empty())
        GTEST_SKIP() << there.whyNot();
    const std::filesystem::path& other = there.path();
    auto fs = createPlatformOver({{'c', c.str(), {}}, {'e', other.string(), {}}}, c.str());
    auto source = c.file("a.txt", "a");

    EXPECT_EQ(testsupport::moveFile(*fs, "C:\\a.txt", "E:\\a.txt"), std::errc::cross_device_link);
    EXPECT_EQ(readBytes(source), "a");
    EXPECT_FALSE(entryExists(other / "a.txt"));
}

// Names missing exactly are found without regard to case, also while copies land in the folder
// one after another and while another program changes it between them.
TEST(FolderIndex, FollowsOwnAndOtherChanges) {
    TwoDrives t;
    t.c.file("q.txt", "neu");
    t.d.file("Ziel/BRIEF.TXT", "alt");
    for (int i = 0; i < 20; ++i) {
        const std::string name = "d:\\ziel\\datei" + std::to_string(i) + ".txt";
        ASSERT_FALSE(testsupport::copyFile(*t.fs, "C:\\q.txt", name));
    }
    ASSERT_FALSE(testsupport::copyFile(*t.fs, "C:\\q.txt", "d:\\ziel\\brief.txt"));
    EXPECT_EQ(readBytes(t.d.path() / "Ziel" / "BRIEF.TXT"), "neu");
    EXPECT_FALSE(entryExists(t.d.path() / "Ziel" / "brief.txt"));

    // Another program adds, renames and removes names right after our own changes, within one
    // tick of the coarsest clock: every lookup sees the folder as it is now.
    std::ofstream(t.d.path() / "Ziel" / "NOTIZ.TXT") << "fremd";
    ASSERT_FALSE(testsupport::copyFile(*t.fs, "C:\\q.txt", "d:\\ziel\\notiz.txt"));
    EXPECT_EQ(readBytes(t.d.path() / "Ziel" / "NOTIZ.TXT"), "neu");
    EXPECT_FALSE(entryExists(t.d.path() / "Ziel" / "notiz.txt"));
    std::filesystem::rename(t.d.path() / "Ziel" / "NOTIZ.TXT", t.d.path() / "Ziel" / "Notiz.Txt");
    EXPECT_EQ(valueOf(t.fs->canonicalPath("d:\\ziel\\NOTIZ.txt")), "D:\\Ziel\\Notiz.Txt");
    std::filesystem::remove(t.d.path() / "Ziel" / "Notiz.Txt");
    EXPECT_EQ(t.fs->canonicalPath("d:\\ziel\\notiz.txt").error(),
              std::errc::no_such_file_or_directory);
    ASSERT_FALSE(testsupport::moveFile(*t.fs, "C:\\q.txt", "d:\\ziel\\notiz.txt"));
    EXPECT_EQ(readBytes(t.d.path() / "Ziel" / "notiz.txt"), "neu");
    EXPECT_EQ(valueOf(t.fs->canonicalPath("d:\\ziel\\NOTIZ.TXT")), "D:\\Ziel\\notiz.txt");
}

} // namespace
