#include "bulk_fixture.h"

#include "core/operation_log.h"

#include <filesystem>

namespace {

using coretest::BulkFixture;

using OperationLogTest = BulkFixture;

TEST_F(OperationLogTest, WritesWindows1252LinesWithCrLf) {
    ASSERT_EQ(core::logPath(fs), "C:\\Dokumente\\Tilgomat.txt");
    ASSERT_FALSE(std::filesystem::exists(logFile()));

    log.item = "d:\\quelle\\Bericht 10€ für Jürgen.doc";
    log.note = "1/3";
    EXPECT_FALSE(log.writeLine());
    EXPECT_EQ(logBytes(),
              "17.05.2024 14:03:09;\"d:\\quelle\\Bericht 10\x80 f\xFCr J\xFCrgen.doc\";1/3\r\n");

    // Midnight gives the date alone; control characters and the backend's stand-ins for
    // characters a path cannot carry never split the line.
    fs.fixedNow = platform::DateTime{2024, 5, 18, 0, 0, 0};
    log.item = "d:\\x\\a\rb\nc\uF00Ad\".txt";
    log.note = "2/3 -> move";
    EXPECT_FALSE(log.writeErrorLine());
    fs.fixedNow = platform::DateTime{2024, 5, 18, 0, 0, 1};
    log.note = "3/3";
    EXPECT_FALSE(log.writeLine());

    EXPECT_EQ(logBytes(),
              "17.05.2024 14:03:09;\"d:\\quelle\\Bericht 10\x80 f\xFCr J\xFCrgen.doc\";1/3\r\n"
              "18.05.2024;\"d:\\x\\a?b?c?d\".txt\";2/3 -> move ->error delete\r\n"
              "18.05.2024 00:00:01;\"d:\\x\\a?b?c?d\".txt\";3/3\r\n");
    // The fields keep their values for the next caller to overwrite.
    EXPECT_EQ(log.note, "3/3");
    EXPECT_EQ(log.item, "d:\\x\\a\rb\nc\uF00Ad\".txt");
}

TEST_F(OperationLogTest, FollowsTheDocumentsFolderForEveryLine) {
    // A documents folder at a drive root gives a doubled backslash, which counts as one.
    auto rootHost = platform::createPlatformOver(
        {{'c', home.documentsText(), {}}, {'d', data.str(), {}}}, data.str(), home.documentsText());
    core::OperationLog rootLog(*rootHost);
    EXPECT_EQ(core::logPath(*rootHost), "C:\\\\Tilgomat.txt");
    rootLog.item = "d:\\a";
    rootLog.note = "1/1";
    EXPECT_FALSE(rootLog.writeLine());
    EXPECT_NE(logBytes().find("\"d:\\a\";1/1\r\n"), std::string::npos);

    // Deleting the log between two lines: the next line creates it anew.
    std::filesystem::remove(logFile());
    log.item = "d:\\b";
    log.note = "1/1";
    EXPECT_FALSE(log.writeLine());
    EXPECT_EQ(logBytes(), line("d:\\b", "1/1"));
}

TEST_F(OperationLogTest, WithoutADocumentsFolderTheLogGoesToTheCurrentDriveRoot) {
    // The fake home lies outside every drive, so there is no documents folder path.
    auto dataOnly =
        platform::createPlatformOver({{'d', data.str(), {}}}, data.str(), home.documentsText());
    testsupport::FaultyPlatform clocked(*dataOnly);
    clocked.fixedNow = fs.fixedNow;
    core::OperationLog rootLog(clocked);
    EXPECT_EQ(core::logPath(clocked), "\\Tilgomat.txt");
    rootLog.item = "d:\\a";
    rootLog.note = "1/1";
    EXPECT_FALSE(rootLog.writeLine());
    EXPECT_EQ(content("Tilgomat.txt"), line("d:\\a", "1/1"));
}

TEST_F(OperationLogTest, ALineThatCannotBeWrittenIsLostQuietly) {
    fs.failing[testsupport::Op::AppendToFile] = std::make_error_code(std::errc::io_error);
    log.item = "d:\\a";
    log.note = "1/1";
    EXPECT_TRUE(log.writeLine());
    EXPECT_FALSE(std::filesystem::exists(logFile()));
}

} // namespace
