// Delete, create folder, length, date, append and read as the program relies on them, on every
// host: a delete refuses what Windows refuses (read-only files, folders), appends create the file
// and never write a read-only one.

#include "support/drive_fixture.h"
#include "support/pass_actions.h"
#include "support/result_value.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>

namespace {

using namespace platform;
using testsupport::entryExists;
using testsupport::readBytes;
using testsupport::TwoDrives;
using testsupport::valueOf;

TEST(FileOperations, DeleteRefusesWhatWindowsWouldRefuse) {
    TwoDrives t;
    auto plain = t.c.file("weg.txt", "x");
    auto readOnly = t.c.file("fest.txt", "x");
    auto folder = t.c.folder("Ordner");
    ASSERT_FALSE(t.fs->setAttributes("C:\\fest.txt", ReadOnly));

    EXPECT_FALSE(t.fs->deleteFile("c:\\WEG.TXT"));
    EXPECT_FALSE(entryExists(plain));
    // Refused even for a user whose permissions would allow it (root, an administrator).
    EXPECT_EQ(t.fs->deleteFile("C:\\fest.txt"), std::errc::permission_denied);
    EXPECT_TRUE(entryExists(readOnly));
    EXPECT_EQ(t.fs->deleteFile("C:\\Ordner"), std::errc::is_a_directory);
    EXPECT_TRUE(entryExists(folder));
    EXPECT_EQ(t.fs->deleteFile("C:\\fehlt"), std::errc::no_such_file_or_directory);
}

TEST(FileOperations, CreateFolderLengthDate) {
    TwoDrives t;
    t.c.folder("Daten");
    EXPECT_FALSE(t.fs->createFolder("c:\\daten\\Neu"));
    EXPECT_TRUE(std::filesystem::is_directory(t.c.path() / "Daten/Neu"));
    EXPECT_EQ(t.fs->createFolder("C:\\DATEN"), std::errc::file_exists);
    EXPECT_EQ(t.fs->createFolder("C:\\fehlt\\Neu"), std::errc::no_such_file_or_directory);

    t.c.file("leer.txt");
    t.c.file("fuenf.txt", "12345");
    EXPECT_EQ(valueOf(t.fs->fileLength("C:\\leer.txt")), 0u);
    EXPECT_EQ(valueOf(t.fs->fileLength("C:\\FUENF.TXT")), 5u);
    EXPECT_FALSE(t.fs->fileLength("C:\\Daten"));
    EXPECT_FALSE(t.fs->fileLength("C:\\fehlt.txt"));

    // 7 March 2021, 13:05:09 local time.
    std::tm local{};
    local.tm_year = 2021 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 7;
    local.tm_hour = 13;
    local.tm_min = 5;
    local.tm_sec = 9;
    local.tm_isdst = -1;
    std::filesystem::last_write_time(
        t.c.path() / "fuenf.txt", std::chrono::file_clock::from_sys(
                                      std::chrono::system_clock::from_time_t(std::mktime(&local))));
    auto date = t.fs->fileDateTime("C:\\fuenf.txt");
    ASSERT_TRUE(date);
    EXPECT_EQ(*date, (DateTime{2021, 3, 7, 13, 5, 9}));
    EXPECT_FALSE(t.fs->fileDateTime("C:\\fehlt.txt"));

    DateTime now = t.fs->now();
    EXPECT_GE(now.year, 2024);
    EXPECT_TRUE(now.month >= 1 && now.month <= 12 && now.day >= 1 && now.day <= 31);
}

TEST(FileOperations, AppendAndRead) {
    TwoDrives t;
    EXPECT_FALSE(testsupport::appendToFile(*t.fs, "C:\\Tilgomat.txt", "eins\r\n"));
    EXPECT_FALSE(testsupport::appendToFile(*t.fs, "c:\\tilgomat.txt", "zwei\r\n"));
    EXPECT_EQ(readBytes(t.c.path() / "Tilgomat.txt"), "eins\r\nzwei\r\n");
    EXPECT_EQ(valueOf(t.fs->readFile("C:\\Tilgomat.txt")), "eins\r\nzwei\r\n");
    EXPECT_EQ(testsupport::appendToFile(*t.fs, "C:\\fehlt\\log.txt", "x"),
              std::errc::no_such_file_or_directory);

    t.c.file("fest.txt", "alt");
    ASSERT_FALSE(t.fs->setAttributes("C:\\fest.txt", ReadOnly));
    EXPECT_EQ(testsupport::appendToFile(*t.fs, "C:\\fest.txt", "neu"),
              std::errc::permission_denied);
    EXPECT_EQ(readBytes(t.c.path() / "fest.txt"), "alt");
    EXPECT_EQ(t.fs->readFile("C:\\").error(), std::errc::is_a_directory);
}

} // namespace
