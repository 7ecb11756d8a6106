// Folder listing on Linux: links to folders count as folders, a dot-file is hidden, the
// stored attributes are read from user.DOSATTRIB, and folders beyond PATH_MAX are listed.

#include "listing_by_name.h"
#include "support/drive_fixture.h"

#include "support/linux_files.h"
#include "support/result_value.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using platform::ListDetail;
using platform::Listing;
using testsupport::byName;
using testsupport::TwoDrives;

TEST(Listing, LinksDotFilesAndIdentities) {
    TwoDrives t;
    t.c.file("Brief.txt");
    t.c.file(".versteckt");
    t.c.folder("Archiv");
    t.c.file("Archiv/alt.doc");
    ::symlink("Archiv", (t.c.path() / "zumArchiv").c_str());
    ::symlink("Brief.txt", (t.c.path() / "zumBrief").c_str());
    ::symlink("nirgends", (t.c.path() / "kaputt").c_str());

    // What every host lists is checked elsewhere; here the links and the dot-file.
    Listing root;
    ASSERT_FALSE(t.fs->listFolder("C:\\", ListDetail::Kind, root));
    auto seen = byName(root);
    ASSERT_EQ(seen.size(), 6u);
    EXPECT_FALSE(seen[".versteckt"].folder);
    EXPECT_TRUE(seen["zumArchiv"].folder);
    EXPECT_FALSE(seen["zumBrief"].folder);
    EXPECT_FALSE(seen["kaputt"].folder);
    // The quick listing carries the folder bit and nothing else.
    EXPECT_EQ(seen["zumArchiv"].attributes, platform::Directory);
    EXPECT_EQ(seen[".versteckt"].attributes, 0u);

    // The identity of a folder is the same however it is reached, a link included.
    Listing sub;
    ASSERT_FALSE(t.fs->listFolder("c:\\archiv", ListDetail::Kind, sub));
    struct stat st {};
    ASSERT_EQ(::stat((t.c.path() / "Archiv").c_str(), &st), 0);
    EXPECT_EQ(sub.id.device, static_cast<std::uint64_t>(st.st_dev));
    EXPECT_EQ(sub.id.inode, static_cast<std::uint64_t>(st.st_ino));
    Listing viaLink;
    auto folder = t.fs->resolveFolder("C:\\zumArchiv");
    ASSERT_TRUE(folder);
    ASSERT_FALSE(t.fs->listFolder(*folder, ListDetail::Kind, viaLink));
    EXPECT_EQ(viaLink.id, sub.id);

    auto root2 = t.fs->resolveFolder("C:\\");
    ASSERT_TRUE(root2);
    EXPECT_EQ(t.fs->childFolder(*root2, "Archiv").path, (t.c.path() / "Archiv").string());

    EXPECT_TRUE(
        t.fs->listFolder(platform::HostFolder{t.c.str() + "/fehlt", {}}, ListDetail::Kind, sub));
    EXPECT_EQ(sub.size(), 0u);
}

TEST(Listing, AttributesFromModeNameAndStore) {
    TwoDrives t;
    t.c.file(".profil");
    auto readOnly = t.c.file("fest.txt");
    ::chmod(readOnly.c_str(), 0444);
    auto stored = t.c.file("system.sys");
    ASSERT_EQ(::setxattr(stored.c_str(), "user.DOSATTRIB", "0x4", 3, 0), 0);
    ::symlink("fest.txt", (t.c.path() / "zuFest").c_str());

    Listing listing;
    ASSERT_FALSE(t.fs->listFolder("C:\\", ListDetail::Attributes, listing));
    auto seen = byName(listing);
    using namespace platform;
    EXPECT_EQ(seen[".profil"].attributes, Hidden | Archive);
    EXPECT_EQ(seen["fest.txt"].attributes, ReadOnly | Archive);
    EXPECT_EQ(seen["system.sys"].attributes, System);
    EXPECT_EQ(seen["zuFest"].attributes, ReadOnly | Archive);
}

// Builds a chain of folders deeper than PATH_MAX below `base`; returns its host path.
std::string deepChain(const std::string& base, int levels, const std::string& name) {
    testsupport::Fd fd(::open(base.c_str(), O_RDONLY | O_DIRECTORY));
    std::string path = base;
    for (int i = 0; i < levels; ++i) {
        ::mkdirat(fd.get(), name.c_str(), 0755);
        fd.reset(::openat(fd.get(), name.c_str(), O_RDONLY | O_DIRECTORY));
        path += "/" + name;
    }
    ::close(::openat(fd.get(), "blatt.txt", O_CREAT | O_WRONLY, 0644));
    ::mkdirat(fd.get(), "unten", 0755);
    return path;
}

void removeChain(const std::string& base, int levels, const std::string& name) {
    std::vector<testsupport::Fd> fds;
    fds.emplace_back(::open(base.c_str(), O_RDONLY | O_DIRECTORY));
    for (int i = 0; i < levels; ++i)
        fds.emplace_back(::openat(fds.back().get(), name.c_str(), O_RDONLY | O_DIRECTORY));
    ::unlinkat(fds.back().get(), "blatt.txt", 0);
    ::unlinkat(fds.back().get(), "unten", AT_REMOVEDIR);
    for (int i = levels; i > 0; --i)
        ::unlinkat(fds[static_cast<std::size_t>(i - 1)].get(), name.c_str(), AT_REMOVEDIR);
}

TEST(Listing, FolderBeyondPathMax) {
    TwoDrives t;
    const std::string name(200, 'v');
    const int levels = PATH_MAX / 200 + 2;
    std::string deep = deepChain(t.c.str(), levels, name);
    ASSERT_GT(deep.size(), static_cast<std::size_t>(PATH_MAX));

    Listing listing;
    EXPECT_FALSE(t.fs->listFolder(platform::HostFolder{deep, {}}, ListDetail::Attributes, listing));
    auto seen = byName(listing);
    EXPECT_EQ(seen["blatt.txt"].attributes, platform::Archive);
    EXPECT_TRUE(seen["unten"].folder);
    // Path text that long reaches the file as well.
    std::string text = "C:";
    for (int i = 0; i < levels; ++i)
        text += "\\" + name;
    auto attributes = t.fs->getAttributes(text + "\\BLATT.TXT");
    ASSERT_TRUE(attributes) << attributes.error().message();
    EXPECT_EQ(*attributes, platform::Archive);
    EXPECT_EQ(testsupport::valueOf(t.fs->fileLength(text + "\\blatt.txt")), 0u);
    removeChain(t.c.str(), levels, name);
}

} // namespace
