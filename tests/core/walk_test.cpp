#include "walk_fixture.h"

#include "support/faulty_platform.h"

#include <map>

namespace {

using coretest::Entries;
using coretest::WalkTest;

TEST_F(WalkTest, WithSubfoldersInListingOrder) {
    const Entries got = walk("c:\\daten", "*.txt", true);
    EXPECT_EQ(got, expected("c:\\daten\\", "*.txt", true));
    EXPECT_EQ(sorted(got), (Entries{"    c:\\daten\\.versteckt.txt",
                                    "    c:\\daten\\Archiv\\Alt.TXT", "    c:\\daten\\Brief.txt",
                                    "    c:\\daten\\Notiz.TXT", "    c:\\daten\\Zweig\\Mitte.txt",
                                    "    c:\\daten\\Zweig\\Tief\\Blatt.txt"}));
    // Daten, Archiv, Leer, Zweig, Tief: one round of events per folder visited.
    EXPECT_EQ(m_eventRounds, 5);
}

TEST_F(WalkTest, FoldersWithoutIdsAreNotTakenForTheFolderAbove) {
    // As on a file system that gives no ids: every folder's is 0.
    auto fs = std::make_unique<testsupport::FaultyPlatform>(std::move(m_fs));
    fs->syntheticListing = [inner = &fs->inner()](const platform::HostFolder& f, auto& out) {
        EXPECT_FALSE(inner->listFolder(f, platform::ListDetail::Kind, out));
        out.id = {};
        return true;
    };
    m_fs = std::move(fs);
    EXPECT_EQ(walk("c:\\daten", "*.txt", true), expected("c:\\daten\\", "*.txt", true));
}

TEST_F(WalkTest, WithoutSubfoldersListsThemAsFolderEntries) {
    const Entries got = walk("c:\\daten", "*.*", false);
    EXPECT_EQ(got, expected("c:\\daten\\", "*.*", false));
    EXPECT_EQ(sorted(got),
              (Entries{"    c:\\daten\\.versteckt.txt", "    c:\\daten\\Bild.jpg",
                       "    c:\\daten\\Brief.txt", "    c:\\daten\\Notiz.TXT",
                       ">>c:\\daten\\Archiv", ">>c:\\daten\\Leer", ">>c:\\daten\\Zweig"}));
    EXPECT_EQ(m_eventRounds, 1);
}

// Folders that cannot be listed (unreadable, gone, a link back to the start folder) between
// files and other folders leave the path text of every later entry as it was.
TEST_F(WalkTest, FoldersThatCannotBeListedLendNoNameToTheEntriesAfterThem) {
    testsupport::FaultyPlatform fs(*m_fs);
    fs.failingListings = {{"zu", std::make_error_code(std::errc::permission_denied)},
                          {"weg", std::make_error_code(std::errc::no_such_file_or_directory)}};
    // Each folder's entries in listing order, folders ending in "\\"; "Ring" has the identity
    // of "Daten".
    const std::map<std::string, Entries, std::less<>> listings = {
        {"Daten", {"zu\\", "a.txt", "weg\\", "Unter\\", "Ring\\", "b.txt"}},
        {"Unter", {"c.txt", "Ring\\", "zu\\", "d.txt", "weg\\"}},
        {"Ring", {"e.txt"}}};
    fs.syntheticListing = [&listings](const platform::HostFolder& folder, platform::Listing& out) {
        const std::string name = folder.path.substr(folder.path.find_last_of("/\\") + 1);
        out.clear();
        for (std::string entry : listings.at(name)) {
            const bool isFolder = entry.ends_with('\\');
            entry.resize(entry.size() - (isFolder ? 1 : 0));
            out.add(entry, entry, isFolder, isFolder ? std::uint32_t{platform::Directory} : 0u);
        }
        out.id = {1, name == "Unter" ? 2u : 1u};
        return true;
    };
    const core::SearchResult found = core::search(fs, {"c:\\daten", "*.txt", true});
    EXPECT_EQ(testsupport::entryTexts(found.entries),
              (Entries{"    c:\\daten\\a.txt", "    c:\\daten\\Unter\\c.txt",
                       "    c:\\daten\\Unter\\d.txt", "    c:\\daten\\b.txt"}));
}

TEST_F(WalkTest, StartFolderText) {
    // The drive root: one backslash between drive and name.
    EXPECT_EQ(sorted(walk("c:\\", "*.txt", false)), (Entries{"    c:\\Datei.txt", ">>c:\\Daten"}));
    // A trailing backslash changes nothing.
    EXPECT_EQ(walk("c:\\daten", "*.*", true), walk("c:\\daten\\", "*.*", true));
    // The entries show the folder text in lower case, the names below it as stored.
    EXPECT_EQ(walk("C:\\DATEN\\ARCHIV", "*.doc", true),
              (Entries{"    c:\\daten\\archiv\\Neu.doc"}));
}

TEST_F(WalkTest, EmptyStartFolderIsTheCurrentDrivesRoot) {
    auto fs = platform::createPlatformOver({{'c', m_root.str(), {}}},
                                           testsupport::utf8(m_root.path() / "Daten"));
    core::EntryList hits;
    const auto n = core::walkFolder(*fs, "", "TXT", hits, false);
    ASSERT_EQ(n, 2);
    std::vector<std::string> got = testsupport::entryTexts(hits);
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (Entries{"    \\Datei.txt", ">>\\Daten"}));
}

TEST_F(WalkTest, MissingStartFolderGivesNothing) {
    core::EntryList hits;
    EXPECT_EQ(core::walkFolder(*m_fs, "c:\\gibtsnicht", "*", hits, true), 0);
    EXPECT_TRUE(hits.empty());
}

} // namespace
