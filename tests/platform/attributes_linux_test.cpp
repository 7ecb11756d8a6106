#include "support/drive_fixture.h"
#include "support/linux_files.h"
#include "support/result_value.h"

#include <sys/stat.h>
#include <sys/xattr.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using namespace platform;
using testsupport::modeOf;
using testsupport::TwoDrives;
using testsupport::valueOf;

std::string storedValue(const std::filesystem::path& p) {
    char value[64];
    ssize_t n = ::getxattr(p.c_str(), "user.DOSATTRIB", value, sizeof value);
    return n < 0 ? std::string("(none)") : std::string(value, static_cast<std::size_t>(n));
}

TEST(Attributes, DefaultsWithoutStoredValue) {
    TwoDrives t;
    t.c.file("normal.txt");
    t.c.file(".profil");
    t.c.folder("Ordner");
    t.c.folder(".ordner");
    EXPECT_EQ(valueOf(t.fs->getAttributes("C:\\normal.txt")), Archive);
    EXPECT_EQ(valueOf(t.fs->getAttributes("C:\\.profil")), Hidden | Archive);
    EXPECT_EQ(valueOf(t.fs->getAttributes("C:\\Ordner")), Directory);
    EXPECT_EQ(valueOf(t.fs->getAttributes("C:\\.ordner")), Hidden | Directory);
    EXPECT_EQ(valueOf(t.fs->getAttributes("C:\\")), Directory);
    EXPECT_EQ(t.fs->getAttributes("C:\\fehlt").error(), std::errc::no_such_file_or_directory);
}

TEST(Attributes, StoredValueRoundTrip) {
    TwoDrives t;
    auto file = t.c.file("brief.txt");
    auto dot = t.c.file(".profil");

    ASSERT_FALSE(t.fs->setAttributes("C:\\brief.txt", Hidden | System));
    EXPECT_EQ(storedValue(file), "0x6");
    EXPECT_EQ(valueOf(t.fs->getAttributes("C:\\brief.txt")), Hidden | System);
    // Clearing archive must be stored too, since its absence means archive.
    ASSERT_FALSE(t.fs->setAttributes("C:\\brief.txt", 0));
    EXPECT_EQ(storedValue(file), "0x0");
    EXPECT_EQ(valueOf(t.fs->getAttributes("C:\\brief.txt")), 0u);
    // Back to what the file is without a stored value: the stale value goes.
    ASSERT_FALSE(t.fs->setAttributes("C:\\brief.txt", Archive | Directory));
    EXPECT_EQ(storedValue(file), "(none)");
    EXPECT_EQ(valueOf(t.fs->getAttributes("C:\\brief.txt")), Archive);

    // A dot-file is hidden by its name; making it visible needs a stored value.
    ASSERT_FALSE(t.fs->setAttributes("C:\\.PROFIL", Archive));
    EXPECT_EQ(storedValue(dot), "0x20");
    EXPECT_EQ(valueOf(t.fs->getAttributes("C:\\.profil")), Archive);
    ASSERT_FALSE(t.fs->setAttributes("C:\\.profil", Hidden | Archive));
    EXPECT_EQ(storedValue(dot), "(none)");

    // Written by another tool, as text.
    std::string command = "setfattr -n user.DOSATTRIB -v '\"0x22\"' '" + file.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(valueOf(t.fs->getAttributes("c:\\BRIEF.TXT")), Hidden | Archive);

    // Samba's binary forms; the stored read-only bit counts, the directory bit does not.
    std::string v3("0x3\0\3\0\3\0\0\0\x03\0\0\0", 14);
    ASSERT_EQ(::setxattr(file.c_str(), "user.DOSATTRIB", v3.data(), v3.size(), 0), 0);
    EXPECT_EQ(valueOf(t.fs->getAttributes("C:\\brief.txt")), ReadOnly | Hidden);
    std::string v4(24, '\0');
    v4[2] = v4[4] = 4;
    v4[8] = 1;
    v4[12] = 0x34;
    ASSERT_EQ(::setxattr(file.c_str(), "user.DOSATTRIB", v4.data(), v4.size(), 0), 0);
    EXPECT_EQ(valueOf(t.fs->getAttributes("C:\\brief.txt")), System | Archive);
    // An unreadable value counts as none.
    ASSERT_EQ(::setxattr(file.c_str(), "user.DOSATTRIB", "Unsinn", 6, 0), 0);
    EXPECT_EQ(valueOf(t.fs->getAttributes("C:\\brief.txt")), Archive);
}

// Read-only takes every write bit and is stored too; clearing it gives the owner write access,
// and the group and others where they may read, as far as the file creation mask allows.
TEST(Attributes, ReadOnlyTakesEveryWriteBitAndClearingGivesThemBackAsTheMaskAllows) {
    struct Case {
        mode_t mode, mask, cleared;
    };
    for (const Case c : {Case{0644, 022, 0644}, Case{0664, 002, 0664}, Case{0664, 022, 0644},
                         Case{0666, 0, 0666}, Case{0600, 077, 0600}, Case{0640, 027, 0640}}) {
        SCOPED_TRACE(testing::Message() << std::oct << c.mode << " umask " << c.mask);
        const mode_t processMask = ::umask(c.mask);
        TwoDrives t;
        ::umask(processMask);
        auto file = t.c.file("brief.txt");
        ::chmod(file.c_str(), c.mode);
        ASSERT_FALSE(t.fs->setAttributes("C:\\brief.txt", Hidden | ReadOnly));
        EXPECT_EQ(modeOf(file) & 0222u, 0u);
        EXPECT_EQ(storedValue(file), "0x3");
        EXPECT_EQ(valueOf(t.fs->getAttributes("C:\\brief.txt")), ReadOnly | Hidden);
        ASSERT_FALSE(t.fs->setAttributes("C:\\brief.txt", Archive));
        EXPECT_EQ(modeOf(file), c.cleared);
        EXPECT_EQ(storedValue(file), "(none)");
    }

    // Any single write bit means writable.
    TwoDrives t;
    auto file = t.c.file("brief.txt");
    ::chmod(file.c_str(), 0402);
    EXPECT_EQ(valueOf(t.fs->getAttributes("C:\\brief.txt")), Archive);
    ASSERT_FALSE(t.fs->setAttributes("C:\\brief.txt", Archive));
    EXPECT_EQ(modeOf(file), 0402u);
}

} // namespace

namespace {

// A user's link leads the program to the file only where that user owns the file too: run by
// root, clearing read-only on another's link to a file of root's changes nothing.
TEST(Attributes, AreChangedThroughALinkOnlyForItsOwnersFiles) {
    TwoDrives t;
    const auto file = t.c.file("root.txt", "r");
    ASSERT_FALSE(t.fs->setAttributes("C:\\root.txt", ReadOnly | Archive));
    std::filesystem::create_symlink(file, t.c.path() / "eigen");
    std::filesystem::create_symlink(file, t.c.path() / "fremd");
    if (::lchown((t.c.path() / "fremd").c_str(), 65534, 65534) != 0)
        GTEST_SKIP() << "only root can give a link to another user";
    EXPECT_EQ(t.fs->setAttributes("C:\\fremd", Archive), std::errc::permission_denied);
    EXPECT_EQ(valueOf(t.fs->getAttributes("C:\\root.txt")), ReadOnly | Archive);
    EXPECT_FALSE(t.fs->setAttributes("C:\\eigen", Archive));
    EXPECT_EQ(valueOf(t.fs->getAttributes("C:\\root.txt")), Archive);
}

} // namespace
