// The backend's plain copy on Linux: the mode and the nanoseconds of the time arrive, a
// dot-file keeps its hidden bit, links and special files are never written through or opened.

#include "support/drive_fixture.h"
#include "support/linux_files.h"
#include "support/pass_actions.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "support/result_value.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace platform;
using testsupport::modeOf;
using testsupport::mtimeOf;
using testsupport::readBytes;
using testsupport::TwoDrives;

TEST(CopyFile, CarriesModeAndTheTimeToTheNanosecond) {
    TwoDrives t;
    auto source = t.c.file("Quelle/brief.txt", std::string(300000, 'q'));
    ::chmod(source.c_str(), 0640);
    const struct timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 123456789}};
    ASSERT_EQ(::utimensat(AT_FDCWD, source.c_str(), times, 0), 0);

    ASSERT_FALSE(testsupport::copyFile(*t.fs, "c:\\quelle\\BRIEF.TXT", "D:\\brief.txt"));
    auto copy = t.d.path() / "brief.txt";
    EXPECT_EQ(modeOf(copy), 0640u);
    EXPECT_EQ(mtimeOf(copy).tv_sec, 1000000000);
    EXPECT_EQ(mtimeOf(copy).tv_nsec, 123456789);

    // A dot-file keeps its hidden bit under a name without the dot.
    t.c.file(".profil", "p");
    ASSERT_FALSE(testsupport::copyFile(*t.fs, "C:\\.profil", "D:\\profil"));
    EXPECT_EQ(testsupport::valueOf(t.fs->getAttributes("D:\\profil")), Hidden | Archive);
}

TEST(CopyFile, DotFilesAndOtherNamesOfTheSameFile) {
    TwoDrives t;
    t.c.file("neu.txt", "neu");
    // A name beginning with a dot makes a file hidden: such a target is refused.
    auto dotFile = t.d.file(".punkt", "punkt");
    EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\neu.txt", "D:\\.punkt"),
              std::errc::permission_denied);
    EXPECT_EQ(readBytes(dotFile), "punkt");

    // The same file under a hard link or a link is refused and stays whole.
    ::link((t.c.path() / "neu.txt").c_str(), (t.c.path() / "hart.txt").c_str());
    ::symlink("neu.txt", (t.c.path() / "weich").c_str());
    for (std::string_view same : {"C:\\hart.txt", "C:\\weich"})
        EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\neu.txt", same),
                  std::errc::device_or_resource_busy)
            << same;
    EXPECT_EQ(readBytes(t.c.path() / "neu.txt"), "neu");
}

TEST(CopyFile, NeverOpensASpecialFileNorWritesThroughALink) {
    TwoDrives t;
    ASSERT_EQ(::mkfifo((t.c.path() / "rohr").c_str(), 0644), 0);
    EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\rohr", "D:\\rohr"),
              std::errc::operation_not_permitted);
    t.c.file("neu.txt", "neu");
    ASSERT_EQ(::mkfifo((t.d.path() / "rohr").c_str(), 0644), 0);
    EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\neu.txt", "D:\\rohr"),
              std::errc::operation_not_permitted);

    // A link at the target name is replaced; the file it led to is untouched.
    auto other = t.d.file("anderes.txt", "anderes");
    ::symlink("anderes.txt", (t.d.path() / "ziel.txt").c_str());
    ::symlink("nirgends", (t.d.path() / "kaputt.txt").c_str());
    ASSERT_FALSE(testsupport::copyFile(*t.fs, "C:\\neu.txt", "D:\\ziel.txt"));
    ASSERT_FALSE(testsupport::copyFile(*t.fs, "C:\\neu.txt", "D:\\kaputt.txt"));
    EXPECT_EQ(readBytes(other), "anderes");
    for (const char* name : {"ziel.txt", "kaputt.txt"}) {
        struct stat st {};
        ASSERT_EQ(::lstat((t.d.path() / name).c_str(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode)) << name;
        EXPECT_EQ(readBytes(t.d.path() / name), "neu");
    }
    EXPECT_FALSE(::access((t.d.path() / "nirgends").c_str(), F_OK) == 0);
}

TEST(CopyFile, FailureLeavesNoTemporaryFileAndTheTargetWhole) {
    TwoDrives t;
    auto old = t.d.file("ziel.txt", "alt");
    // /proc/self/mem is a regular file whose first bytes cannot be read: the copy fails
    // after the temporary file was made.
    auto fs = createPlatformOver({{'d', t.d.str(), ""}, {'p', "/proc/self", ""}});
    EXPECT_TRUE(testsupport::copyFile(*fs, "P:\\mem", "D:\\ziel.txt"));
    EXPECT_TRUE(testsupport::copyFile(*fs, "P:\\mem", "D:\\neu.txt"));
    EXPECT_EQ(readBytes(old), "alt");
    EXPECT_EQ(testsupport::namesIn(t.d.path()), (std::set<std::string>{"ziel.txt"}));
}

} // namespace
