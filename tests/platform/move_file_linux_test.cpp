// The move on Linux: mode, inode and the nanoseconds of the time stay; a second hard link,
// a link and a FIFO are left to copy and delete; a dot-name's hidden bit travels as a copy's
// would; another file system is reported; case-insensitive lookups see every change.

#include "support/drive_fixture.h"
#include "support/linux_files.h"
#include "support/pass_actions.h"
#include "support/result_value.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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
// one after another and while another program changes it between them: in a folder that is
// watched, and in one whose path is too long for a watch, which is listed anew each time.
TEST(FolderIndex, FollowsOwnAndOtherChanges) {
    TwoDrives t;
    t.c.file("q.txt", "neu");
    testsupport::Fd watched(::open(t.d.folder("Ziel").c_str(), O_RDONLY | O_DIRECTORY));
    const std::string longName(250, 'l');
    std::string deepText = "d:\\tief", deepCanonical = "D:\\Tief";
    testsupport::Fd deep(::open(t.d.folder("Tief").c_str(), O_RDONLY | O_DIRECTORY));
    std::vector<testsupport::Fd> levels;
    for (std::size_t length = t.d.str().size(); length <= PATH_MAX; length += longName.size()) {
        ::mkdirat(deep.get(), longName.c_str(), 0755);
        levels.push_back(std::move(deep));
        deep.reset(::openat(levels.back().get(), longName.c_str(), O_RDONLY | O_DIRECTORY));
        deepText += "\\" + longName;
        deepCanonical += "\\" + longName;
    }
    struct Folder {
        const testsupport::Fd& fd;
        std::string text, canonical;
    };
    for (const Folder& folder :
         {Folder{watched, "d:\\ziel", "D:\\Ziel"}, Folder{deep, deepText, deepCanonical}}) {
        SCOPED_TRACE(folder.canonical.substr(0, 7));
        // The folder by its descriptor: a path past PATH_MAX is no path the system takes.
        const std::filesystem::path at = "/proc/self/fd/" + std::to_string(folder.fd.get());
        std::ofstream(at / "BRIEF.TXT") << "alt";
        for (int i = 0; i < 20; ++i) {
            const std::string name = folder.text + "\\datei" + std::to_string(i) + ".txt";
            ASSERT_FALSE(testsupport::copyFile(*t.fs, "C:\\q.txt", name));
        }
        ASSERT_FALSE(testsupport::copyFile(*t.fs, "C:\\q.txt", folder.text + "\\brief.txt"));
        EXPECT_EQ(readBytes(at / "BRIEF.TXT"), "neu");
        EXPECT_FALSE(entryExists(at / "brief.txt"));

        // Another program adds, renames and removes names right after our own changes, within
        // one tick of the coarsest clock: every lookup sees the folder as it is now.
        std::ofstream(at / "NOTIZ.TXT") << "fremd";
        ASSERT_FALSE(testsupport::copyFile(*t.fs, "C:\\q.txt", folder.text + "\\notiz.txt"));
        EXPECT_EQ(readBytes(at / "NOTIZ.TXT"), "neu");
        EXPECT_FALSE(entryExists(at / "notiz.txt"));
        std::filesystem::rename(at / "NOTIZ.TXT", at / "Notiz.Txt");
        EXPECT_EQ(valueOf(t.fs->canonicalPath(folder.text + "\\NOTIZ.txt")),
                  folder.canonical + "\\Notiz.Txt");
        std::filesystem::remove(at / "Notiz.Txt");
        EXPECT_EQ(t.fs->canonicalPath(folder.text + "\\notiz.txt").error(),
                  std::errc::no_such_file_or_directory);
        ASSERT_FALSE(testsupport::moveFile(*t.fs, "C:\\q.txt", folder.text + "\\notiz.txt"));
        EXPECT_EQ(readBytes(at / "notiz.txt"), "neu");
        EXPECT_EQ(valueOf(t.fs->canonicalPath(folder.text + "\\NOTIZ.TXT")),
                  folder.canonical + "\\notiz.txt");
        ASSERT_FALSE(testsupport::moveFile(*t.fs, folder.text + "\\notiz.txt", "C:\\q.txt"));
    }
}

} // namespace
