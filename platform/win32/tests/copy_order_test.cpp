// The order of a copy's steps, with a double for the call that sets the last-write time: a time
// the file system refuses (FAT keeps the years 1980 to 2107) fails the copy before it takes the
// target's name, so that the target stays as it was and no hidden copy is left there.

#include "platform/win32/copy_file.h"
#include "support/temp_tree.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace {

using namespace platform::win32;

std::error_code refuseTime(HANDLE, const FILETIME&) {
    return std::make_error_code(std::errc::invalid_argument);
}

std::set<std::string> namesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(testsupport::utf8(entry.path().filename()));
    return names;
}

TEST(CopyOrder, ATimeTheFileSystemRefusesLeavesTheTargetAsItWas) {
    testsupport::TempDir d;
    const auto source = d.file("quelle.txt", "neu");
    const auto target = d.file("ziel.txt", "alt");
    const HANDLE folder =
        ::CreateFileW(d.path().c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    const HANDLE in = ::CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    BY_HANDLE_FILE_INFORMATION info{};
    ASSERT_TRUE(folder != INVALID_HANDLE_VALUE && in != INVALID_HANDLE_VALUE &&
                ::GetFileInformationByHandle(in, &info));
    for (const wchar_t* name : {L"ziel.txt", L"frei.txt"}) {
        CopyOutcome outcome;
        EXPECT_EQ(copyOpenFile(in, info, folder, name, outcome, refuseTime),
                  std::errc::invalid_argument);
    }
    ::CloseHandle(in);
    ::CloseHandle(folder);
    EXPECT_EQ(testsupport::readBytes(target), "alt");
    EXPECT_FALSE(::GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(namesIn(d.path()), (std::set<std::string>{"quelle.txt", "ziel.txt"}));
}

} // namespace
