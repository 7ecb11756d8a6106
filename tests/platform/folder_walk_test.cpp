#include "support/drive_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace {

using namespace platform;
using testsupport::TwoDrives;

std::set<std::string> namesOf(const Listing& listing) {
    std::set<std::string> names;
    for (const auto& e : listing.entries())
        names.emplace(listing.name(e));
    return names;
}

// Subfolders are opened relative to their listed parent; a new walk (which resolves its start
// folder) never goes on from folders kept by the one before.
TEST(OpenDescent, EveryWalkStartsFromTheFoldersAsTheyAreNow) {
    TwoDrives t;
    t.d.file("A/sub/alt.txt");
    t.d.file("A/sub/tief/x.txt");
    Listing listing;
    auto start = t.fs->resolveFolder("D:\\A");
    ASSERT_TRUE(start);
    ASSERT_FALSE(t.fs->listFolder(*start, ListDetail::Kind, listing));
    const HostFolder sub = t.fs->childFolder(*start, "sub");
    ASSERT_FALSE(t.fs->listFolder(sub, ListDetail::Kind, listing));
    EXPECT_EQ(namesOf(listing), (std::set<std::string>{".", "..", "alt.txt", "tief"}));
    ASSERT_FALSE(t.fs->listFolder(t.fs->childFolder(sub, "tief"), ListDetail::Kind, listing));
    EXPECT_EQ(namesOf(listing), (std::set<std::string>{".", "..", "x.txt"}));
    // Back up to a sibling and down again.
    t.d.file("A/zwei/y.txt");
    ASSERT_FALSE(t.fs->listFolder(t.fs->childFolder(*start, "zwei"), ListDetail::Kind, listing));
    EXPECT_EQ(namesOf(listing), (std::set<std::string>{".", "..", "y.txt"}));

    std::filesystem::rename(t.d.path() / "A", t.d.path() / "B");
    t.d.file("A/sub/neu.txt");
    // The new walk starts inside a folder the last one kept open, which is now B.
    auto sub2 = t.fs->resolveFolder("D:\\A\\sub");
    ASSERT_TRUE(sub2);
    ASSERT_FALSE(t.fs->listFolder(*sub2, ListDetail::Kind, listing));
    EXPECT_EQ(namesOf(listing), (std::set<std::string>{".", "..", "neu.txt"}));
    start = t.fs->resolveFolder("D:\\A");
    ASSERT_TRUE(start);
    ASSERT_FALSE(t.fs->listFolder(*start, ListDetail::Kind, listing));
    // A folder that is gone cannot be listed.
    EXPECT_TRUE(t.fs->listFolder(t.fs->childFolder(*start, "zwei"), ListDetail::Kind, listing));
}

} // namespace
