#include "bulk_fixture.h"

#include "core/bulk_operations.h"

#include <algorithm>
#include <filesystem>
#include <set>

namespace {

using coretest::BulkFixture;
using coretest::TestWindow;

using CopyMove = BulkFixture;

std::size_t countOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST_F(CopyMove, PrefixIsTheZeroBasedPositionCountingFolderEntries) {
    data.file("Quelle/a.txt", "a");
    data.file("Quelle/b.txt", "b");
    data.folder("Quelle/Archiv");
    data.folder("Ziel");
    TestWindow window(fs, "D:\\Quelle", "TXT", false);
    window.setEntries({">>d:\\quelle\\Archiv", "    d:\\quelle\\a.txt", "    d:\\quelle\\b.txt"});

    core::copyOrMoveEntries(window, fs, log, "D:\\Ziel", {}, false, true);

    EXPECT_EQ(content("Ziel/001_a.txt"), "a");
    EXPECT_EQ(content("Ziel/002_b.txt"), "b");
    EXPECT_TRUE(exists("Quelle/a.txt"));
    EXPECT_EQ(logBytes(),
              line("d:\\quelle\\a.txt", "2/3 -> copy") + line("d:\\quelle\\b.txt", "3/3 -> copy"));
    EXPECT_EQ(window.warnings, 0);
    EXPECT_EQ(window.searches, 1);
    EXPECT_EQ(window.refreshes, 1);
}

TEST_F(CopyMove, PositionsGoBeyondThreeDigitsAndSixteenBits) {
    data.file("Quelle/a.txt", "a");
    data.folder("Ziel");
    TestWindow window(fs, "D:\\Quelle", "TXT", false);
    core::EntryList list;
    for (int i = 0; i < 40000; ++i)
        testsupport::appendEntryText(list, ">>d:\\quelle\\Archiv");
    testsupport::appendEntryText(list, "    d:\\quelle\\a.txt");
    window.setEntries(list);

    core::copyOrMoveEntries(window, fs, log, "D:\\Ziel", {}, false, true);

    EXPECT_EQ(content("Ziel/40000_a.txt"), "a");
    EXPECT_EQ(logBytes(), line("d:\\quelle\\a.txt", "40001/40001 -> copy"));
}

TEST_F(CopyMove, ListsWithoutFilesDoNothing) {
    data.folder("Quelle/Archiv");
    data.folder("Ziel");
    TestWindow window(fs, "D:\\Quelle", "TXT", false);
    for (bool move : {false, true}) {
        window.setEntries({">>d:\\quelle\\Archiv", "    \\quelle\\a.txt"});
        core::copyOrMoveEntries(window, fs, log, "D:\\Ziel", {}, move, true);
    }
    EXPECT_FALSE(std::filesystem::exists(logFile()));
    EXPECT_TRUE(fs.copies.empty());
    EXPECT_TRUE(std::filesystem::is_empty(data.path() / "Ziel"));
    EXPECT_EQ(window.warnings, 0);
}

TEST_F(CopyMove, CopyIntoAMissingFolderOnlyLogsAttempts) {
    data.file("Quelle/a.txt", "a");
    data.file("Quelle/b.txt", "b");
    TestWindow window(fs, "D:\\Quelle", "TXT", false);
    window.setEntries({"    d:\\quelle\\a.txt", "    d:\\quelle\\b.txt"});

    core::copyOrMoveEntries(window, fs, log, "D:\\Fehlt", {}, false, false);

    EXPECT_FALSE(exists("Fehlt"));
    EXPECT_EQ(logBytes(),
              line("d:\\quelle\\a.txt", "1/2 -> copy") + line("d:\\quelle\\b.txt", "2/2 -> copy"));
    EXPECT_EQ(window.warnings, 0);
}

TEST_F(CopyMove, MoveIntoAMissingFolderKeepsEverySource) {
    data.file("Quelle/a.txt", "a");
    data.file("Quelle/b.txt", "b");
    TestWindow window(fs, "D:\\Quelle", "TXT", false);
    window.setEntries({"    d:\\quelle\\a.txt", "    d:\\quelle\\b.txt"});

    core::copyOrMoveEntries(window, fs, log, "D:\\Fehlt", {}, true, false);

    EXPECT_EQ(content("Quelle/a.txt"), "a");
    EXPECT_EQ(content("Quelle/b.txt"), "b");
    EXPECT_TRUE(fs.deletes.empty());
    EXPECT_EQ(window.warnings, 1);
    std::string bytes = logBytes();
    EXPECT_TRUE(bytes.starts_with(line("d:\\quelle\\a.txt", "1/2 -> move") +
                                  line("d:\\quelle\\b.txt", "2/2 -> move")));
    EXPECT_EQ(countOf(bytes, "/2 ->error delete\r\n"), 2u);
}

TEST_F(CopyMove, AFailedCopyNeverCostsTheSource) {
    data.file("Quelle/a.txt", "a");
    data.file("Quelle/b.txt", "b");
    data.folder("Ziel");
    fs.failingCopySources.insert("d:\\quelle\\b.txt");
    TestWindow window(fs, "D:\\Quelle", "TXT", false);
    window.setEntries({"    d:\\quelle\\a.txt", "    d:\\quelle\\b.txt"});

    core::copyOrMoveEntries(window, fs, log, "D:\\Ziel", {}, true, false);

    EXPECT_FALSE(exists("Quelle/a.txt"));
    EXPECT_EQ(content("Ziel/a.txt"), "a");
    EXPECT_EQ(content("Quelle/b.txt"), "b");
    EXPECT_FALSE(exists("Ziel/b.txt"));
    EXPECT_EQ(window.warnings, 1);
    EXPECT_EQ(logBytes(), line("d:\\quelle\\a.txt", "1/2 -> move") +
                              line("d:\\quelle\\b.txt", "2/2 -> move") +
                              line("d:\\quelle\\b.txt", "1/1 ->error delete"));
}

TEST_F(CopyMove, SameNamesWithoutPrefix) {
    data.file("Quelle/x/a.txt", "eins");
    data.file("Quelle/y/a.txt", "zwei");
    data.folder("Ziel");
    TestWindow window(fs, "D:\\Quelle", "TXT", true);
    window.setEntries({"    d:\\quelle\\x\\a.txt", "    d:\\quelle\\y\\a.txt"});

    // A copy never replaces what it has just written: the later one is not copied, and the copy
    // says so, so that nobody deletes its original believing it safe.
    core::copyOrMoveEntries(window, fs, log, "D:\\Ziel", {}, false, false);
    EXPECT_EQ(content("Ziel/a.txt"), "eins");
    EXPECT_EQ(window.copyWarnings, 1);
    EXPECT_EQ(logBytes(), line("d:\\quelle\\x\\a.txt", "1/2 -> copy") +
                              line("d:\\quelle\\y\\a.txt", "2/2 -> copy"));

    // A move replaces the target that was there before the run, but not the one it has just
    // written: the later source stays and is reported.
    std::filesystem::remove(logFile());
    window.setEntries({"    d:\\quelle\\x\\a.txt", "    d:\\quelle\\y\\a.txt"});
    core::copyOrMoveEntries(window, fs, log, "D:\\Ziel", {}, true, false);
    EXPECT_EQ(content("Ziel/a.txt"), "eins");
    EXPECT_FALSE(exists("Quelle/x/a.txt"));
    EXPECT_EQ(content("Quelle/y/a.txt"), "zwei");
    EXPECT_EQ(window.warnings, 1);
    EXPECT_EQ(logBytes(), line("d:\\quelle\\x\\a.txt", "1/2 -> move") +
                              line("d:\\quelle\\y\\a.txt", "2/2 -> move") +
                              line("d:\\quelle\\y\\a.txt", "1/1 ->error delete"));
}

TEST_F(CopyMove, ATargetThatIsListedFurtherDownIsNotOverwritten) {
    data.file("Quelle/a.txt", "neu");
    data.file("Ziel/a.txt", "alt");
    TestWindow window(fs, "D:\\", "A.TXT", true);
    for (bool move : {false, true}) {
        window.setEntries({"    d:\\quelle\\a.txt", "    d:\\ziel\\a.txt"});
        core::copyOrMoveEntries(window, fs, log, "D:\\Ziel", {}, move, false);
        EXPECT_EQ(content("Quelle/a.txt"), "neu");
        EXPECT_EQ(content("Ziel/a.txt"), "alt");
    }
    EXPECT_EQ(window.warnings, 1);
}

TEST_F(CopyMove, CopyingOrMovingAFileOntoItselfLeavesItAlone) {
    data.file("Quelle/a.txt", "inhalt");
    TestWindow window(fs, "D:\\Quelle", "TXT", false);
    window.setEntries({"    d:\\quelle\\a.txt"});
    core::copyOrMoveEntries(window, fs, log, "D:\\QUELLE", {}, false, false);
    EXPECT_EQ(content("Quelle/a.txt"), "inhalt");
    EXPECT_EQ(window.warnings, 0);

    core::copyOrMoveEntries(window, fs, log, "D:\\Quelle", {}, true, false);
    EXPECT_EQ(content("Quelle/a.txt"), "inhalt");
    EXPECT_TRUE(fs.deletes.empty());
    EXPECT_EQ(window.warnings, 1);
}

// The moved files left their listed place: the new search lists them in the target, and
// nothing reports them as not removed.
TEST_F(CopyMove, AMoveIntoTheSearchedTreeIsNotReportedAsLeftBehind) {
    data.file("Quelle/a.txt", "a");
    data.file("Quelle/b.txt", "b");
    data.folder("Quelle/Ziel");
    TestWindow window(fs, "D:\\Quelle", "TXT", true);
    window.setEntries({"    d:\\quelle\\a.txt", "    d:\\quelle\\b.txt"});

    core::copyOrMoveEntries(window, fs, log, "D:\\Quelle\\Ziel", {}, true, false);

    EXPECT_FALSE(exists("Quelle/a.txt"));
    EXPECT_EQ(content("Quelle/Ziel/a.txt"), "a");
    EXPECT_EQ(content("Quelle/Ziel/b.txt"), "b");
    EXPECT_EQ(window.warnings, 0);
    EXPECT_EQ(countOf(logBytes(), "->error delete"), 0u);
    EXPECT_EQ(window.resultList().size(), 2u);
}

// A name of another case that goes during the pass no longer stands in the way: the copy takes
// the name as listed.
TEST_F(CopyMove, ANameOfAnotherCaseGoneDuringThePassIsNotWrittenTo) {
    data.file("Quelle/a.txt", "a");
    data.file("Quelle/b.txt", "b");
    data.file("Ziel/B.TXT", "alt");
    TestWindow window(fs, "D:\\Quelle", "TXT", false);
    window.setEntries({"    d:\\quelle\\a.txt", "    d:\\quelle\\b.txt"});
    fs.beforeCall = [&](testsupport::Op op, std::string_view path) {
        if (op == testsupport::Op::ReachListed && path.ends_with("b.txt"))
            std::filesystem::remove(data.path() / "Ziel/B.TXT");
    };
    core::copyOrMoveEntries(window, fs, log, "D:\\Ziel", {}, false, false);
    EXPECT_EQ(testsupport::namesIn(data.path() / "Ziel"),
              (std::set<std::string>{"a.txt", "b.txt"}));
}

TEST_F(CopyMove, NamesWithBlanksAreCopiedExactly) {
    data.file("Quelle/ a", "blanks");
    data.file("Quelle/a", "plain");
    data.folder("Ziel");
    TestWindow window(fs, "D:\\Quelle", "A", false);
    window.setEntries({"    d:\\quelle\\ a"});

    core::copyOrMoveEntries(window, fs, log, "D:\\Ziel", {}, true, false);

    EXPECT_EQ(content("Ziel/ a"), "blanks");
    EXPECT_FALSE(exists("Ziel/a"));
    EXPECT_FALSE(exists("Quelle/ a"));
    EXPECT_EQ(content("Quelle/a"), "plain");
}

} // namespace
