#include "bulk_fixture.h"

#include "core/bulk_operations.h"

#include <filesystem>
#include <fstream>

namespace {

using coretest::BulkFixture;
using coretest::TestWindow;

using DeletePass = BulkFixture;

TEST_F(DeletePass, ASurvivorIsWarnedAboutOnceAndLoggedAsFailure) {
    data.file("Quelle/a.txt", "a");
    data.file("Quelle/b.txt", "b");
    data.file("Quelle/c.txt", "c");
    ASSERT_FALSE(fs.setAttributes("D:\\Quelle\\b.txt", platform::ReadOnly));
    TestWindow window(fs, "D:\\Quelle", "TXT", false);
    window.setEntries({"    d:\\quelle\\a.txt", "    d:\\quelle\\b.txt", "    d:\\quelle\\c.txt"});

    core::deleteListedEntries(window, fs, log);

    EXPECT_FALSE(exists("Quelle/a.txt"));
    EXPECT_TRUE(exists("Quelle/b.txt"));
    EXPECT_FALSE(exists("Quelle/c.txt"));
    EXPECT_EQ(logBytes(), line("d:\\quelle\\a.txt", "1/3") + line("d:\\quelle\\b.txt", "2/3") +
                              line("d:\\quelle\\c.txt", "3/3") +
                              line("d:\\quelle\\b.txt", "1/1 ->error delete"));
    EXPECT_EQ(window.warnings, 1);
    EXPECT_EQ(window.searches, 2);
    EXPECT_EQ(window.refreshes, 2);
    EXPECT_EQ(entries(window), "    d:\\quelle\\b.txt|");
}

TEST_F(DeletePass, FolderEntriesCountButAreNeverTouched) {
    data.file("Quelle/a.txt");
    data.file("Quelle/b.txt");
    data.folder("Quelle/Archiv");
    TestWindow window(fs, "D:\\Quelle", "TXT", false);
    window.setEntries({">>d:\\quelle\\Archiv", "    d:\\quelle\\a.txt", "    d:\\quelle\\b.txt"});

    core::deleteListedEntries(window, fs, log);

    EXPECT_EQ(logBytes(), line("d:\\quelle\\a.txt", "2/3") + line("d:\\quelle\\b.txt", "3/3"));
    EXPECT_TRUE(exists("Quelle/Archiv"));
    EXPECT_EQ(window.warnings, 0);
    // The new search lists the folder entry; a list without file entries needs no warning.
    EXPECT_EQ(entries(window), ">>d:\\quelle\\Archiv|");

    core::deleteListedEntries(window, fs, log);
    EXPECT_TRUE(exists("Quelle/Archiv"));
    EXPECT_EQ(window.searches, 2);

    // An empty list runs no search and logs nothing.
    window.setEntries({});
    core::deleteListedEntries(window, fs, log);
    core::copyOrMoveEntries(window, fs, log, "D:\\Quelle", {}, true, false);
    EXPECT_EQ(logBytes(), line("d:\\quelle\\a.txt", "2/3") + line("d:\\quelle\\b.txt", "3/3"));
    EXPECT_EQ(window.warnings, 0);
    EXPECT_EQ(window.searches, 2);
    EXPECT_EQ(window.refreshes, 2);
}

TEST_F(DeletePass, EntriesWithoutDriveLetterAreSkipped) {
    data.file("Quelle/a.txt");
    // An empty folder text searches the root of the current drive: entries begin with "\".
    TestWindow window(fs, "", "TXT", true);
    window.listMatchingFiles();
    ASSERT_EQ(entries(window), "    \\Quelle\\a.txt|");

    core::deleteListedEntries(window, fs, log);

    EXPECT_TRUE(exists("Quelle/a.txt"));
    EXPECT_FALSE(std::filesystem::exists(logFile()));
    EXPECT_TRUE(fs.deletes.empty());
    EXPECT_EQ(window.warnings, 0);
}

TEST_F(DeletePass, TheLogItselfIsLoggedThenDeleted) {
    {
        std::ofstream old(logFile(), std::ios::binary);
        old << "alte Zeile\r\n";
    }
    data.file("Quelle/a.txt");
    TestWindow window(fs, "D:\\Quelle", "TXT", false);
    window.setEntries({"    c:\\dokumente\\Tilgomat.txt", "    d:\\quelle\\a.txt"});

    core::deleteListedEntries(window, fs, log);

    // Its own line went into the old log before it was deleted; the next line started anew.
    EXPECT_EQ(fs.deletes.front(), "c:\\dokumente\\Tilgomat.txt");
    EXPECT_EQ(logBytes(), line("d:\\quelle\\a.txt", "2/2"));
    EXPECT_FALSE(exists("Quelle/a.txt"));
}

TEST_F(DeletePass, ALogThatCannotBeWrittenStopsNothing) {
    data.file("Quelle/a.txt");
    data.file("Quelle/b.txt");
    fs.failing[testsupport::Op::AppendToFile] = std::make_error_code(std::errc::io_error);
    TestWindow window(fs, "D:\\Quelle", "TXT", false);
    window.setEntries({"    d:\\quelle\\a.txt", "    d:\\quelle\\b.txt"});

    core::deleteListedEntries(window, fs, log);

    EXPECT_FALSE(exists("Quelle/a.txt"));
    EXPECT_FALSE(exists("Quelle/b.txt"));
    EXPECT_FALSE(std::filesystem::exists(logFile()));
    EXPECT_EQ(window.resultList().size(), 0u);
}

} // namespace
