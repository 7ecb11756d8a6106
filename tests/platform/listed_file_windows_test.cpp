// A listed file reached again on Windows, where no link can stand in for a folder: a folder on
// its way renamed away and another made under its name is not the listed one, and the folders
// of a file reached stay where they are until the pass ends.

#include "platform/error.h"
#include "support/drive_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

using namespace platform;
using testsupport::TwoDrives;

constexpr std::string_view kFile = "\\\\?\\D:\\Start\\Sub\\f.txt";

// What a walk from D:\Start records on its way to f.txt, without an id of the file's own (as
// where a listing's ids are dropped), so that the folders alone tell.
ListedTrail trailOf(Platform& fs) {
    Listing start, sub;
    EXPECT_FALSE(fs.listFolder("D:\\Start", ListDetail::Kind, start));
    EXPECT_FALSE(fs.listFolder("D:\\Start\\Sub", ListDetail::Kind, sub));
    return ListedTrail{{start.id, sub.id}, 0, false};
}

TEST(ListedFileWindows, AFolderRenamedAwayAndMadeAgainIsNotTheListedOne) {
    const struct {
        std::string renamed; // empty: nothing changes
        std::error_code removal;
    } rows[] = {
        {"", {}},
        {"Start", make_error_code(platform::Error::NotListed)},
        {"Start/Sub", make_error_code(platform::Error::NotListed)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.renamed);
        TwoDrives t;
        t.d.file("Start/Sub/f.txt", "gelistet");
        const ListedTrail trail = trailOf(*t.fs);
        if (!row.renamed.empty()) {
            const auto folder = t.d.path() / row.renamed,
                       away = t.d.path() / (row.renamed + ".alt");
            std::error_code refused;
            {
                // The file is let go at once; its folders stay held by the pass for the next.
                const auto pass = t.fs->beginPass({});
                ASSERT_TRUE(pass->reachListed(kFile, trail));
                std::filesystem::rename(folder, away, refused);
            }
            EXPECT_TRUE(refused) << "renamed while the pass held it";
            std::filesystem::rename(folder, away);
            t.d.file("Start/Sub/f.txt", "neu");
        }
        const auto pass = t.fs->beginPass({});
        auto file = pass->reachListed(kFile, trail);
        EXPECT_EQ(file ? (*file)->remove() : file.error(), row.removal);
        EXPECT_EQ(testsupport::readBytes(t.d.path() / "Start/Sub/f.txt"), row.removal ? "neu" : "");
    }
}

} // namespace
