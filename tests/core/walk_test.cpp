#include "core/modFile.h"
#include "core/pattern.h"
#include "core/search.h"

#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Entries = std::vector<std::string>;

// The entries a walk must give, built from the backend's own listings of each folder by path
// text, so that the expected order is the listing order the backend delivers.
void expectedWalk(const platform::Platform& fs, const std::string& folder,
                  const core::TailMatcher& matcher, bool subfolders, Entries& out) {
    platform::Listing listing;
    ASSERT_FALSE(fs.listFolder(std::string_view(folder), platform::ListDetail::Kind, listing))
        << folder;
    for (const auto& entry : listing.entries()) {
        const std::string name(listing.name(entry));
        if (!entry.folder) {
            if (matcher.matches(name))
                out.push_back("    " + folder + name);
        } else if (name != "." && name != "..") {
            if (subfolders)
                expectedWalk(fs, folder + name + "\\", matcher, true, out);
            else
                out.push_back(">>" + folder + name);
        }
    }
}

class WalkTest : public ::testing::Test {
protected:
    WalkTest() {
        m_root.file("Datei.txt", "x");
        m_root.file("Daten/Brief.txt", "x");
        m_root.file("Daten/Notiz.TXT", "x");
        m_root.file("Daten/Bild.jpg", "x");
        m_root.file("Daten/.versteckt.txt", "x");
        m_root.file("Daten/Archiv/Alt.TXT", "x");
        m_root.file("Daten/Archiv/Neu.doc", "x");
        m_root.folder("Daten/Leer");
        m_root.file("Daten/Zweig/Tief/Blatt.txt", "x");
        m_root.file("Daten/Zweig/Mitte.txt", "x");
        m_fs = platform::createPlatformOver({{'c', m_root.str(), {}}}, m_root.str());
    }

    Entries walk(const std::string& folder, const std::string& patternText, bool subfolders) {
        const core::SearchResult found =
            core::search(*m_fs, {folder, patternText, subfolders}, [this] { ++m_eventRounds; });
        Entries out;
        std::int64_t folders = 0;
        for (std::size_t i = 0; i < found.entries.size(); ++i) {
            out.emplace_back(found.entries[i]);
            folders += out.back().starts_with(">>") ? 1 : 0;
        }
        EXPECT_EQ(found.folders, folders);
        EXPECT_EQ(found.files + found.folders, static_cast<std::int64_t>(out.size()));
        return out;
    }

    Entries expected(const std::string& folder, std::string_view patternText, bool subfolders) {
        Entries out;
        expectedWalk(*m_fs, folder,
                     core::TailMatcher(*m_fs, core::reducePattern(*m_fs, patternText)), subfolders,
                     out);
        return out;
    }

    static Entries sorted(Entries e) {
        std::sort(e.begin(), e.end());
        return e;
    }

    testsupport::TempDir m_root;
    std::unique_ptr<platform::Platform> m_fs;
    int m_eventRounds = 0;
};

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

TEST_F(WalkTest, WithoutSubfoldersListsThemAsFolderEntries) {
    const Entries got = walk("c:\\daten", "*.*", false);
    EXPECT_EQ(got, expected("c:\\daten\\", "*.*", false));
    EXPECT_EQ(sorted(got),
              (Entries{"    c:\\daten\\.versteckt.txt", "    c:\\daten\\Bild.jpg",
                       "    c:\\daten\\Brief.txt", "    c:\\daten\\Notiz.TXT",
                       ">>c:\\daten\\Archiv", ">>c:\\daten\\Leer", ">>c:\\daten\\Zweig"}));
    EXPECT_EQ(m_eventRounds, 1);
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
    auto fs =
        platform::createPlatformOver({{'c', m_root.str(), {}}}, (m_root.path() / "Daten").string());
    core::EntryList hits;
    const auto n = modFile::CollectFiles(*fs, "", "TXT", hits, false);
    ASSERT_EQ(n, 2);
    std::vector<std::string> got{std::string(hits[0]), std::string(hits[1])};
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (Entries{"    \\Datei.txt", ">>\\Daten"}));
}

TEST_F(WalkTest, MissingStartFolderGivesNothing) {
    core::EntryList hits;
    hits.append("    c:\\früher");
    EXPECT_EQ(modFile::CollectFiles(*m_fs, "c:\\gibtsnicht", "*", hits, true), 0);
    EXPECT_EQ(hits.size(), 1u);
}

TEST_F(WalkTest, AppendsAfterExistingEntries) {
    core::EntryList hits;
    hits.append("    c:\\früher");
    EXPECT_EQ(modFile::CollectFiles(*m_fs, "c:\\daten\\archiv", "DOC", hits, true), 1);
    ASSERT_EQ(hits.size(), 2u);
    EXPECT_EQ(hits[1], "    c:\\daten\\archiv\\Neu.doc");
}

TEST_F(WalkTest, LinkBackToAnAncestorEnds) {
    namespace fs = std::filesystem;
    m_root.file("Ring/a/Datei.txt", "x");
    fs::create_directory_symlink(m_root.path() / "Ring", m_root.path() / "Ring/a/zurueck");
    // A link to a folder that is not an ancestor is walked like any folder.
    m_root.file("Ring/b/Nachbar.txt", "x");
    fs::create_directory_symlink(m_root.path() / "Ring/b", m_root.path() / "Ring/a/quer");
    const Entries got = walk("c:\\ring", "*.txt", true);
    EXPECT_EQ(sorted(got),
              (Entries{"    c:\\ring\\a\\Datei.txt", "    c:\\ring\\a\\quer\\Nachbar.txt",
                       "    c:\\ring\\b\\Nachbar.txt"}));
}

TEST_F(WalkTest, NamesTheProgramTextCannotCarry) {
    // A host name with ":" is shown with a private-use stand-in, and the walk still descends
    // through a folder so named.
    m_root.file("Sonder/a:b/x.txt", "x");
    const Entries got = walk("c:\\sonder", "*.txt", true);
    EXPECT_EQ(got, (Entries{"    c:\\sonder\\a\uF03Ab\\x.txt"}));
}

} // namespace
