// Windows among other programs and other names: a file in use, a second writer of the log, a
// target held by another program, a short name of another file, a file held from its copy to its
// delete, a scanner opening every new file.

#include "support/drive_fixture.h"
#include "support/pass_actions.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <set>
#include <string>
#include <thread>

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

    // A target that may not be deleted, here because another program holds it sharing no
    // delete, is found out before anything is written in its folder.
    const auto busy = t.d.file("belegt.txt", "alt");
    const auto written = std::unique_ptr<void, decltype(&::FindCloseChangeNotification)>(
        ::FindFirstChangeNotificationW(t.d.path().c_str(), FALSE, FILE_NOTIFY_CHANGE_FILE_NAME),
        &::FindCloseChangeNotification);
    {
        const auto other = opened(busy, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(other);
        EXPECT_EQ(testsupport::copyFile(*t.fs, "C:\\quelle.txt", "D:\\belegt.txt"),
                  std::errc::resource_unavailable_try_again);
    }
    EXPECT_EQ(::WaitForSingleObject(written.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(readBytes(busy), "alt");

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

// From its copy until its delete, no other program writes or deletes the file; only a move's copy,
// after the one-step move was refused, holds it with the right to delete it, which a program
// that shares no delete then cannot open it beside.
TEST(WindowsCopy, AFileReadForAMoveIsHeldUntilItsDelete) {
    for (const bool move : {false, true}) {
        SCOPED_TRACE(move);
        TwoDrives t;
        const auto source = t.c.file("Start/f.txt", "gelistet");
        t.d.file("f.txt", "alt");
        platform::PassFolders folders;
        folders.target = "D:\\";
        const auto pass = t.fs->beginPass(folders);
        auto file = pass->reachListed("\\\\?\\C:\\Start\\f.txt", {});
        ASSERT_TRUE(file);
        if (move) {
            ASSERT_EQ((*file)->moveTo("f.txt"), std::errc::file_exists);
        }
        ASSERT_FALSE((*file)->copyTo("f.txt"));
        for (DWORD access : {DWORD{GENERIC_WRITE}, DWORD{DELETE}})
            EXPECT_FALSE(opened(source, access, kShareAll)) << access;
        EXPECT_TRUE(opened(source, GENERIC_READ, kShareAll));
        EXPECT_EQ(!opened(source, GENERIC_READ, FILE_SHARE_READ), move);
        EXPECT_FALSE((*file)->remove());
        file->reset();
        EXPECT_FALSE(testsupport::entryExists(source));
        EXPECT_EQ(readBytes(t.d.path() / "f.txt"), "gelistet");
    }
}

// A virus scanner or the indexer opens a new file the moment it can, for a while, as this one
// does with the hidden temporary file of a copy: a copy onto an existing target waits for it
// instead of failing.
TEST(WindowsCopy, AScannerOpeningTheNewFileDelaysTheCopy) {
    TwoDrives t;
    const std::string data(std::size_t(1) << 21, 'x');
    t.c.file("quelle.bin", data);
    constexpr int kCopies = 8;
    for (int i = 0; i < kCopies; ++i)
        t.d.file("ziel" + std::to_string(i) + ".bin", "alt");
    std::atomic<bool> done{false};
    std::thread scanner([&] {
        std::set<std::wstring> seen;
        while (!done) {
            WIN32_FIND_DATAW found{};
            const HANDLE find = ::FindFirstFileW((t.d.path() / "*").c_str(), &found);
            for (bool more = find != INVALID_HANDLE_VALUE; more;
                 more = ::FindNextFileW(find, &found)) {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) ||
                    !seen.insert(found.cFileName).second)
                    continue;
                for (;;) {
                    const auto open = opened(t.d.path() / found.cFileName, GENERIC_READ, kShareAll);
                    if (open) {
                        ::Sleep(20);
                        break;
                    }
                    if (::GetLastError() != ERROR_SHARING_VIOLATION || done)
                        break;
                }
            }
            if (find != INVALID_HANDLE_VALUE)
                ::FindClose(find);
        }
    });
    for (int i = 0; i < kCopies; ++i)
        EXPECT_FALSE(
            testsupport::copyFile(*t.fs, "C:\\quelle.bin", "D:\\ziel" + std::to_string(i) + ".bin"))
            << i;
    done = true;
    scanner.join();
    for (int i = 0; i < kCopies; ++i)
        EXPECT_EQ(readBytes(t.d.path() / ("ziel" + std::to_string(i) + ".bin")), data) << i;
}

} // namespace
