#include "support/drive_fixture.h"
#include "support/result_value.h"

#include <gtest/gtest.h>

namespace {

using testsupport::TwoDrives;
using testsupport::valueOf;

TEST(PathText, DriveTextsAndCurrentFolders) {
    TwoDrives t("home/anna");
    auto drives = t.fs->drives();
    ASSERT_EQ(drives.size(), 2u);
    EXPECT_EQ(drives[0].letter, 'c');
    EXPECT_EQ(drives[0].text, "c: [" + t.c.str() + "]");
    EXPECT_EQ(drives[1].letter, 'd');
    EXPECT_EQ(drives[1].text, "d: [DATEN]");

    EXPECT_EQ(t.fs->currentDrive(), 'c');
    EXPECT_EQ(t.fs->currentFolder('c'), "C:\\home\\anna");
    EXPECT_EQ(t.fs->currentFolder('C'), "C:\\home\\anna");
    EXPECT_EQ(t.fs->currentFolder('d'), "D:\\");
    EXPECT_EQ(t.fs->currentFolder('x'), "");

    // The drive holding the working folder is the one with the longest root: here d:, which
    // lies inside c:'s folder.
    testsupport::TempDir c;
    std::string inner = testsupport::utf8(c.folder("mnt/stick/Fotos"));
    auto fs = platform::createPlatformOver(
        {{'c', c.str(), ""}, {'d', testsupport::utf8(c.path() / "mnt/stick"), ""}}, inner);
    EXPECT_EQ(fs->currentDrive(), 'd');
    EXPECT_EQ(fs->currentFolder('d'), "D:\\Fotos");
    EXPECT_EQ(fs->currentFolder('c'), "C:\\");
    EXPECT_EQ(fs->drives()[1].text, "d: [" + testsupport::utf8(c.path() / "mnt" / "stick") + "]");

    // A working folder outside every drive: the first drive at its root.
    testsupport::TempDir elsewhere;
    auto outside = platform::createPlatformOver({{'e', c.str(), ""}}, elsewhere.str());
    EXPECT_EQ(outside->currentDrive(), 'e');
    EXPECT_EQ(outside->currentFolder('e'), "E:\\");
}

TEST(PathText, FormsOfPathText) {
    TwoDrives t("home/anna");
    t.c.file("Daten/Brief.txt", "x");
    t.c.file("home/anna/notiz.txt");
    t.d.file("Archiv/alt.doc");
    auto canonical = [&](std::string_view text) {
        auto r = t.fs->canonicalPath(text);
        return r ? *r : "error: " + r.error().message();
    };
    EXPECT_EQ(canonical("C:\\Daten\\Brief.txt"), "C:\\Daten\\Brief.txt");
    EXPECT_EQ(canonical("C:\\\\Daten\\\\Brief.txt"), "C:\\Daten\\Brief.txt");
    EXPECT_EQ(canonical("C:/Daten/Brief.txt"), "C:\\Daten\\Brief.txt");
    EXPECT_EQ(canonical("C:\\Daten\\"), "C:\\Daten");
    EXPECT_EQ(canonical("C:\\"), "C:\\");
    EXPECT_EQ(canonical("C:"), "C:\\home\\anna");
    EXPECT_EQ(canonical("c:notiz.txt"), "C:\\home\\anna\\notiz.txt");
    EXPECT_EQ(canonical("notiz.txt"), "C:\\home\\anna\\notiz.txt");
    EXPECT_EQ(canonical(""), "C:\\home\\anna");
    EXPECT_EQ(canonical("\\Daten"), "C:\\Daten");
    EXPECT_EQ(canonical("..\\..\\Daten\\.\\Brief.txt"), "C:\\Daten\\Brief.txt");
    EXPECT_EQ(canonical("C:\\..\\..\\Daten"), "C:\\Daten");
    EXPECT_EQ(canonical("C:\\gibtsnicht\\..\\Daten"), "C:\\Daten");
    EXPECT_EQ(canonical("D:"), "D:\\");
    EXPECT_EQ(canonical("d:archiv\\ALT.DOC"), "D:\\Archiv\\alt.doc");
    // Case-insensitive lookup of every name, as the search lower-cases its start folder.
    EXPECT_EQ(canonical("c:\\daten\\brief.txt"), "C:\\Daten\\Brief.txt");

    auto folder = t.fs->resolveFolder("c:\\daten");
    ASSERT_TRUE(folder);
    EXPECT_EQ(folder->path, testsupport::utf8(t.c.path() / "Daten"));
    EXPECT_EQ(t.fs->resolveFolder("C:\\Daten\\Brief.txt").error(), std::errc::not_a_directory);
    EXPECT_EQ(t.fs->resolveFolder("C:\\nichts").error(), std::errc::no_such_file_or_directory);
    EXPECT_EQ(t.fs->resolveFolder("C:\\Daten\\Brief.txt\\x").error(), std::errc::not_a_directory);
    EXPECT_FALSE(t.fs->resolveFolder("Q:\\"));
    // Characters that no name may hold literally, and NUL, never reach the host.
    for (std::string_view bad : {"C:\\Da*en", "C:\\Daten\\Brief.txt:x", "C:\\Da?en", "C:\\a|b"})
        EXPECT_EQ(t.fs->canonicalPath(bad).error(), std::errc::invalid_argument) << bad;
    EXPECT_EQ(t.fs->canonicalPath(std::string_view("C:\\Daten\0x", 10)).error(),
              std::errc::invalid_argument);
    // Exact text is taken as written or refused: a drive and its root, single backslashes, no
    // "." or "..", no "/".
    EXPECT_EQ(canonical("\\\\?\\C:\\Daten\\Brief.txt"), "C:\\Daten\\Brief.txt");
    for (std::string_view bad : {"\\\\?\\Daten", "\\\\?\\C:Daten", "\\\\?\\C:/Daten",
                                 "\\\\?\\C:\\Daten\\", "\\\\?\\C:\\\\Daten", "\\\\?\\C:\\.\\Daten",
                                 "\\\\?\\C:\\Daten\\..\\Daten", "\\\\?\\C:\\Daten/Brief.txt"})
        EXPECT_EQ(t.fs->canonicalPath(bad).error(), std::errc::invalid_argument) << bad;
}

TEST(PathText, NetworkPathsAndDeviceNamesAreRefused) {
    TwoDrives t;
    // A network path without its server or share, never a folder on the current drive: refused
    // before anything is looked up or made. One with both leads to no folder of the drives.
    for (std::string_view share :
         {"\\/nas", "\\\\nas", "\\\\nas\\\\daten", "\\\\.\\C:", "\\\\?\\UNC\\nas",
          "\\\\?\\UNC\\nas/d", "\\\\?\\UNC\\nas\\d\\\\x"}) {
        EXPECT_EQ(t.fs->canonicalPath(share).error(), std::errc::invalid_argument) << share;
        EXPECT_EQ(t.fs->createFolder(share), std::errc::invalid_argument) << share;
    }
    for (std::string_view share : {"\\\\keiner.invalid\\daten", "//keiner.invalid/daten/x"})
        EXPECT_TRUE(!t.fs->canonicalPath(share) && t.fs->createFolder(share)) << share;
    for (std::string_view device :
         {"C:\\CON", "C:\\nul.txt", "C:\\Com9", "C:\\lpt1.a.b", "C:\\AUX ", "C:\\COM0",
          "C:\\lpt0.txt", "C:\\COM\u00b9", "C:\\LPT\u00b3.log", "C:\\CONIN$", "C:\\conout$.txt"})
        EXPECT_EQ(t.fs->createFolder(device), std::errc::invalid_argument) << device;
    for (std::string_view name :
         {"Console", "COM10", "LPTX", "NULL.txt", "COM\u00b9\u00b9", "CONIN"})
        EXPECT_FALSE(t.fs->createFolder("C:\\" + std::string(name))) << name;
}

TEST(PathText, NamesAreFoundWithoutRegardToCase) {
    TwoDrives t;
    t.c.folder("Übung");
    // Upper case beyond ASCII.
    EXPECT_EQ(valueOf(t.fs->canonicalPath("c:\\übung")), "C:\\Übung");
    EXPECT_EQ(valueOf(t.fs->canonicalPath("C:\\ÜBUNG")), "C:\\Übung");
}

} // namespace
