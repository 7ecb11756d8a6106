// The backend's plain copy as the program relies on it, on every host: data, attributes and the
// last-write time arrive; an existing target is replaced, unless Windows would refuse (read-only,
// hidden or system target, the source itself under another spelling, a folder).

#include "support/drive_fixture.h"
#include "support/pass_actions.h"
#include "support/result_value.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>

namespace {

using namespace platform;
using testsupport::readBytes;
using testsupport::TwoDrives;
using testsupport::valueOf;

TEST(CopyFile, CarriesDataAttributesAndTime) {
    TwoDrives t;
    auto source = t.c.file("Quelle/brief.txt", std::string(300000, 'q'));
    ASSERT_FALSE(t.fs->setAttributes("C:\\Quelle\\brief.txt", Hidden | Archive));
    const auto when = std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    std::filesystem::last_write_time(source, when);

    ASSERT_FALSE(testsupport::copyFile(*t.fs, "c:\\quelle\\BRIEF.TXT", "D:\\brief.txt"));
    auto copy = t.d.path() / "brief.txt";
    EXPECT_EQ(readBytes(copy), readBytes(source));
    EXPECT_EQ(valueOf(t.fs->getAttributes("D:\\brief.txt")), Hidden | Archive);
    EXPECT_EQ(std::chrono::duration_cast<std::chrono::seconds>(
                  std::filesystem::last_write_time(copy) - when)
                  .count(),
              0);
    EXPECT_EQ(valueOf(t.fs->fileDateTime("D:\\brief.txt")),
              valueOf(t.fs->fileDateTime("C:\\Quelle\\brief.txt")));
    // A read-only source gives a read-only copy, as it does on Windows.
    ASSERT_FALSE(t.fs->setAttributes("C:\\Quelle\\brief.txt", ReadOnly | Archive));
    ASSERT_FALSE(testsupport::copyFile(*t.fs, "C:\\Quelle\\brief.txt", "D:\\fest.txt"));
    EXPECT_EQ(valueOf(t.fs->getAttributes("D:\\fest.txt")), ReadOnly | Archive);
    // An empty file is copied as well.
    t.c.file("leer.txt");
    ASSERT_FALSE(testsupport::copyFile(*t.fs, "C:\\leer.txt", "D:\\leer.txt"));
    EXPECT_EQ(valueOf(t.fs->fileLength("D:\\leer.txt")), 0u);
    EXPECT_EQ(testsupport::namesIn(t.d.path()),
              (std::set<std::string>{"brief.txt", "fest.txt", "leer.txt"}));
}

TEST(CopyFile, ReplacesATargetUnlessWindowsWouldRefuse) {
    TwoDrives t;
    t.c.file("neu.txt", "neu");
    auto old = t.d.file("alt.txt", "alt");
    ASSERT_FALSE(testsupport::copyFile(*t.fs, "C:\\neu.txt", "d:\\ALT.TXT"));
    EXPECT_EQ(readBytes(old), "neu");

    auto readOnly = t.d.file("fest.txt", "fest");
    ASSERT_FALSE(t.fs->setAttributes("D:\\fest.txt", ReadOnly | Archive));
    EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\neu.txt", "D:\\fest.txt"),
              std::errc::permission_denied);
    EXPECT_EQ(readBytes(readOnly), "fest");

    auto hidden = t.d.file("versteckt.txt", "versteckt");
    ASSERT_FALSE(t.fs->setAttributes("D:\\versteckt.txt", Hidden | Archive));
    EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\neu.txt", "D:\\versteckt.txt"),
              std::errc::permission_denied);
    EXPECT_EQ(readBytes(hidden), "versteckt");

    auto system = t.d.file("system.txt", "system");
    ASSERT_FALSE(t.fs->setAttributes("D:\\system.txt", System | Archive));
    EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\neu.txt", "D:\\system.txt"),
              std::errc::permission_denied);
    EXPECT_EQ(readBytes(system), "system");

    t.d.folder("Ordner");
    EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\neu.txt", "D:\\Ordner"), std::errc::is_a_directory);
    EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\", "D:\\x"), std::errc::is_a_directory);
    EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\fehlt", "D:\\x"),
              std::errc::no_such_file_or_directory);
    EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\neu.txt", "D:\\fehlt\\x"),
              std::errc::no_such_file_or_directory);

    // The same file under another spelling is refused and stays whole.
    for (std::string_view same : {"C:\\neu.txt", "c:\\NEU.TXT"})
        EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\neu.txt", same),
                  std::errc::device_or_resource_busy)
            << same;
    EXPECT_EQ(readBytes(t.c.path() / "neu.txt"), "neu");

    EXPECT_EQ(
        testsupport::namesIn(t.d.path()),
        (std::set<std::string>{"alt.txt", "fest.txt", "versteckt.txt", "system.txt", "Ordner"}));
}

} // namespace
