// Folder listing as the walk and the file view rely on it, on every host: names, the folder
// bit, "." and ".." except at a drive root, the attributes of every entry, and the identity of
// the listed folder.

#include "listing_by_name.h"
#include "support/drive_fixture.h"
#include "support/result_value.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using platform::ListDetail;
using platform::Listing;
using testsupport::byName;
using testsupport::TwoDrives;

TEST(Listing, EntriesFoldersAndDotEntries) {
    TwoDrives t;
    t.c.file("Brief.txt");
    t.c.folder("Archiv");
    t.c.file("Archiv/alt.doc");

    // An empty drive root lists nothing.
    Listing root;
    ASSERT_FALSE(t.fs->listFolder("D:\\", ListDetail::Kind, root));
    EXPECT_EQ(root.size(), 0u);
    ASSERT_FALSE(t.fs->listFolder("C:\\", ListDetail::Kind, root));
    auto seen = byName(root);
    EXPECT_EQ(seen.count("."), 0u);
    EXPECT_EQ(seen.count(".."), 0u);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_FALSE(seen["Brief.txt"].folder);
    EXPECT_TRUE(seen["Archiv"].folder);
    // The quick listing carries the folder bit and nothing else.
    EXPECT_EQ(seen["Archiv"].attributes, platform::Directory);
    EXPECT_EQ(seen["Brief.txt"].attributes, 0u);

    Listing sub;
    ASSERT_FALSE(t.fs->listFolder("c:\\archiv", ListDetail::Kind, sub));
    seen = byName(sub);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen["."].folder);
    EXPECT_TRUE(seen[".."].folder);
    EXPECT_FALSE(seen["alt.doc"].folder);

    // The identity of a folder is the same however it is reached.
    EXPECT_EQ(sub.id, testsupport::valueOf(t.fs->fileId("C:\\Archiv")));
    auto rootFolder = t.fs->resolveFolder("C:\\");
    ASSERT_TRUE(rootFolder);
    Listing child;
    ASSERT_FALSE(
        t.fs->listFolder(t.fs->childFolder(*rootFolder, "Archiv"), ListDetail::Kind, child));
    EXPECT_EQ(child.id, sub.id);
    EXPECT_NE(root.id, sub.id);

    EXPECT_TRUE(t.fs->listFolder("C:\\Brief.txt", ListDetail::Kind, sub));
    auto gone = t.fs->resolveFolder("C:\\Archiv");
    ASSERT_TRUE(gone);
    std::filesystem::remove_all(t.c.path() / "Archiv");
    EXPECT_TRUE(t.fs->listFolder(*gone, ListDetail::Kind, sub));
    EXPECT_EQ(sub.size(), 0u);
}

TEST(Listing, AttributesOfEveryEntry) {
    using namespace platform;
    TwoDrives t;
    t.c.file("normal.txt");
    t.c.file("fest.txt");
    ASSERT_FALSE(t.fs->setAttributes("C:\\fest.txt", ReadOnly | Archive));
    t.c.file("system.sys");
    ASSERT_FALSE(t.fs->setAttributes("C:\\system.sys", System | Archive));
    t.c.file("versteckt.txt");
    ASSERT_FALSE(t.fs->setAttributes("C:\\versteckt.txt", Hidden | Archive));
    t.c.folder("Ordner");

    Listing listing;
    ASSERT_FALSE(t.fs->listFolder("C:\\", ListDetail::Attributes, listing));
    auto seen = byName(listing);
    EXPECT_EQ(seen["normal.txt"].attributes, Archive);
    EXPECT_EQ(seen["fest.txt"].attributes, ReadOnly | Archive);
    EXPECT_EQ(seen["system.sys"].attributes, System | Archive);
    EXPECT_EQ(seen["versteckt.txt"].attributes, Hidden | Archive);
    EXPECT_EQ(seen["Ordner"].attributes, Directory);

    Listing sub;
    ASSERT_FALSE(t.fs->listFolder("C:\\Ordner", ListDetail::Attributes, sub));
    seen = byName(sub);
    // "." and ".." are folders; their dot does not make them hidden.
    EXPECT_EQ(seen["."].attributes, Directory);
    EXPECT_EQ(seen[".."].attributes, Directory);
}

} // namespace
