#include "support/drive_fixture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <ctime>

namespace {

using namespace platform;
using testsupport::entryExists;
using testsupport::readBytes;
using testsupport::TwoDrives;

TEST(FileOperations, DeleteRefusesWhatWindowsWouldRefuse) {
    TwoDrives t;
    auto plain = t.c.file("weg.txt", "x");
    auto readOnly = t.c.file("fest.txt", "x");
    auto folder = t.c.folder("Ordner");
    auto fifo = t.c.path() / "rohr";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    ASSERT_FALSE(t.fs->setAttributes("C:\\fest.txt", ReadOnly));

    EXPECT_FALSE(t.fs->deleteFile("c:\\WEG.TXT"));
    EXPECT_FALSE(entryExists(plain));
    // Refused even for a user whose permissions would allow it (tests run as root).
    EXPECT_EQ(t.fs->deleteFile("C:\\fest.txt"), std::errc::permission_denied);
    EXPECT_TRUE(entryExists(readOnly));
    EXPECT_EQ(t.fs->deleteFile("C:\\Ordner"), std::errc::is_a_directory);
    EXPECT_TRUE(entryExists(folder));
    EXPECT_TRUE(t.fs->deleteFile("C:\\rohr"));
    EXPECT_TRUE(entryExists(fifo));
    EXPECT_EQ(t.fs->deleteFile("C:\\fehlt"), std::errc::no_such_file_or_directory);

    // A link is removed itself, never what it leads to; a link to a folder is a folder.
    auto target = t.c.file("ziel.txt", "bleibt");
    ::symlink("ziel.txt", (t.c.path() / "verweis").c_str());
    ::symlink("Ordner", (t.c.path() / "zumOrdner").c_str());
    ::symlink("nirgends", (t.c.path() / "kaputt").c_str());
    ::symlink("fest.txt", (t.c.path() / "zuFest").c_str());
    EXPECT_FALSE(t.fs->deleteFile("C:\\verweis"));
    EXPECT_FALSE(entryExists(t.c.path() / "verweis"));
    EXPECT_EQ(readBytes(target), "bleibt");
    EXPECT_EQ(t.fs->deleteFile("C:\\zumOrdner"), std::errc::is_a_directory);
    EXPECT_EQ(t.fs->deleteFile("C:\\zuFest"), std::errc::permission_denied);
    EXPECT_FALSE(t.fs->deleteFile("C:\\kaputt"));
    EXPECT_FALSE(entryExists(t.c.path() / "kaputt"));
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
    EXPECT_EQ(*t.fs->fileLength("C:\\leer.txt"), 0u);
    EXPECT_EQ(*t.fs->fileLength("C:\\FUENF.TXT"), 5u);
    EXPECT_FALSE(t.fs->fileLength("C:\\Daten"));
    EXPECT_FALSE(t.fs->fileLength("C:\\fehlt.txt"));

    std::tm local{};
    local.tm_year = 2021 - 1900;
    local.tm_mon = 2;
    local.tm_mday = 7;
    local.tm_hour = 13;
    local.tm_min = 5;
    local.tm_sec = 9;
    local.tm_isdst = -1;
    const struct timespec times[2] = {{0, UTIME_OMIT}, {std::mktime(&local), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (t.c.path() / "fuenf.txt").c_str(), times, 0), 0);
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
    EXPECT_FALSE(t.fs->appendToFile("C:\\Tilgomat.txt", "eins\r\n"));
    EXPECT_FALSE(t.fs->appendToFile("c:\\tilgomat.txt", "zwei\r\n"));
    EXPECT_EQ(readBytes(t.c.path() / "Tilgomat.txt"), "eins\r\nzwei\r\n");
    EXPECT_EQ(*t.fs->readFile("C:\\Tilgomat.txt"), "eins\r\nzwei\r\n");
    EXPECT_EQ(t.fs->appendToFile("C:\\fehlt\\log.txt", "x"), std::errc::no_such_file_or_directory);

    t.c.file("fest.txt", "alt");
    ASSERT_FALSE(t.fs->setAttributes("C:\\fest.txt", ReadOnly));
    EXPECT_EQ(t.fs->appendToFile("C:\\fest.txt", "neu"), std::errc::permission_denied);
    EXPECT_EQ(readBytes(t.c.path() / "fest.txt"), "alt");

    // Neither call waits for a writer or reader at a FIFO.
    ASSERT_EQ(::mkfifo((t.c.path() / "rohr").c_str(), 0644), 0);
    EXPECT_TRUE(t.fs->appendToFile("C:\\rohr", "x"));
    EXPECT_TRUE(t.fs->readFile("C:\\rohr").error());
    EXPECT_EQ(t.fs->readFile("C:\\").error(), std::errc::is_a_directory);
}

} // namespace
