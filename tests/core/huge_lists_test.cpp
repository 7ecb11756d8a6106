// Lists longer than 32,767 and than 1,000,000 entries, without a million files on disk: one
// folder of the double lists 1,100,000 synthetic names. Counts, positions, notes and prefixes
// stay right past every 16-bit and six-digit boundary.

#include "fault_scenario.h"

#include "support/entry_texts.h"
#include "support/mass_listing.h"

#include "core/bulk_operations.h"
#include "core/entry_list.h"
#include "core/search.h"

namespace {

constexpr std::size_t kFiles = 1'100'000;
constexpr std::size_t kFolders = 40'000;

TEST(HugeLists, AWalkOverMoreThanAMillionEntriesCountsEveryOne) {
    coretest::Scenario s;
    // D:\Quelle\Masse lists 1,100,000 files and 40,000 folders, folders interleaved.
    s.data.folder("Quelle/Masse");
    const auto masse = s.fs.resolveFolder("D:\\Quelle\\Masse");
    ASSERT_TRUE(masse);
    s.fs.syntheticListing = [&](const platform::HostFolder& folder, platform::Listing& out) {
        if (folder.path != masse->path)
            return false;
        testsupport::massListing(kFiles, kFolders, out);
        return true;
    };

    const core::SearchResult found = core::search(s.fs, {"d:\\quelle\\masse", "TXT", false});
    const core::EntryList& hits = found.entries;
    ASSERT_EQ(hits.size(), kFiles + kFolders);
    const auto files = static_cast<std::size_t>(found.files);
    const auto folders = static_cast<std::size_t>(found.folders);
    EXPECT_EQ(files, kFiles);
    EXPECT_EQ(folders, kFolders);
    EXPECT_EQ(core::entryText(hits, 0), "    d:\\quelle\\masse\\f0.txt");
    EXPECT_EQ(core::entryText(hits, 1), ">>d:\\quelle\\masse\\o0");
    EXPECT_EQ(core::entryText(hits, hits.size() - 1), "    d:\\quelle\\masse\\f1099999.txt");
}

TEST(HugeLists, PassesOverMoreThanAMillionEntriesKeepNotesAndPrefixes) {
    coretest::Scenario s;
    // 1,140,000 folder entries, then the one file: its note and prefix carry all seven digits.
    core::EntryList list;
    list.reserve(kFiles + kFolders + 1, (kFiles + kFolders) * 24);
    for (std::size_t i = 0; i < kFiles + kFolders; ++i)
        testsupport::appendEntryText(list, ">>d:\\quelle\\o" + std::to_string(i));
    testsupport::appendEntryText(list, "    d:\\quelle\\a.txt");
    s.window.setEntries(std::move(list));
    core::copyOrMoveEntries(s.window, s.fs, s.log, "D:\\Ziel", {}, false, true);
    EXPECT_EQ(testsupport::readBytes(s.data.path() / "Ziel/1140000_a.txt"), "erste Datei");
    EXPECT_TRUE(s.logBytes() ==
                coretest::Scenario::line("d:\\quelle\\a.txt", "1140001/1140001 -> copy"));
}

} // namespace
