// Windows among other programs and other names: a file in use, a second writer of the log, a
// short name of another file, a file held from its copy to its delete.

#include "support/drive_fixture.h"
#include "support/pass_actions.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace platform;
using testsupport::readBytes;
using testsupport::TwoDrives;

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Another program's open of a file, closed when it goes; empty where it was refused.
std::unique_ptr<void, decltype(&::CloseHandle)> opened(const std::filesystem::path& file,
                                                       DWORD access, DWORD share) {
    HANDLE h = ::CreateFileW(file.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr);
    return {h == INVALID_HANDLE_VALUE ? nullptr : h, &::CloseHandle};
}

TEST(WindowsCopy, OtherProgramsAndOtherNames) {
    TwoDrives t;
    const auto source = t.c.file("quelle.txt", "neu");
    {
        const auto locked = opened(source, GENERIC_READ, 0);
        ASSERT_TRUE(locked);
        EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\quelle.txt", "D:\\kopie.txt"),
                  std::errc::resource_unavailable_try_again);
    }
    // Another instance writing its log at the same time.
    const auto log = t.c.file("Tilgomat.txt", "eins\n");
    {
        const auto other = opened(log, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(other);
        EXPECT_FALSE(testsupport::appendToFile(*t.fs, "C:\\Tilgomat.txt", "zwei\n"));
    }
    EXPECT_EQ(readBytes(log), "eins\nzwei\n");

    const auto kept = t.d.file("Bericht vom Jahr 2019.txt", "alt");
    wchar_t shortPath[MAX_PATH];
    const DWORD length = ::GetShortPathNameW(kept.c_str(), shortPath, MAX_PATH);
    ASSERT_GT(length, 0u);
    const std::string shortName = testsupport::utf8(std::filesystem::path(shortPath).filename());
    ASSERT_NE(shortName, "Bericht vom Jahr 2019.txt");
    EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\quelle.txt", "D:\\" + shortName),
              std::errc::file_exists)
        << shortName;
    EXPECT_EQ(readBytes(kept), "alt");
}

TEST(WindowsCopy, AFileReadForAMoveIsHeldUntilItsDelete) {
    TwoDrives t;
    const auto source = t.c.file("Start/f.txt", "gelistet");
    platform::PassFolders folders;
    folders.target = "D:\\";
    const auto pass = t.fs->beginPass(folders);
    auto file = pass->reachListed("\\\\?\\C:\\Start\\f.txt", {});
    ASSERT_TRUE(file);
    ASSERT_FALSE((*file)->copyTo("f.txt"));
    for (DWORD access : {DWORD{GENERIC_WRITE}, DWORD{DELETE}})
        EXPECT_FALSE(opened(source, access, kShareAll)) << access;
    EXPECT_TRUE(opened(source, GENERIC_READ, kShareAll));
    EXPECT_FALSE((*file)->remove());
    file->reset();
    EXPECT_FALSE(testsupport::entryExists(source));
    EXPECT_EQ(readBytes(t.d.path() / "f.txt"), "gelistet");
}

} // namespace
