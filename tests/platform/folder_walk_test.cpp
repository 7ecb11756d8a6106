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

// A walk's listings keep nothing for another walk: each starts from the folders as they are.
TEST(FolderWalk, EveryWalkStartsFromTheFoldersAsTheyAreNow) {
    TwoDrives t;
    t.d.file("A/sub/alt.txt");
    Listing listing;
    auto start = t.fs->resolveFolder("D:\\A");
    ASSERT_TRUE(start);
    const auto first = t.fs->beginWalk();
    ASSERT_FALSE(first->list(*start, listing));
    ASSERT_FALSE(first->list(t.fs->childFolder(*start, "sub"), listing));
    EXPECT_EQ(namesOf(listing), (std::set<std::string>{".", "..", "alt.txt"}));

    std::filesystem::rename(t.d.path() / "A", t.d.path() / "B");
    t.d.file("A/sub/neu.txt");
    // The second walk starts in a folder the first one holds the folder above of, now B.
    const auto sub = t.fs->resolveFolder("D:\\A\\sub");
    ASSERT_TRUE(sub);
    const auto second = t.fs->beginWalk();
    ASSERT_FALSE(second->list(*sub, listing));
    EXPECT_EQ(namesOf(listing), (std::set<std::string>{".", "..", "neu.txt"}));
    // A folder that is gone cannot be listed.
    EXPECT_TRUE(second->list(t.fs->childFolder(*sub, "fehlt"), listing));
}

} // namespace
