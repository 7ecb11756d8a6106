// Starting a program on Windows: a path of MAX_PATH characters or more is given to CreateProcessW
// in its short form, and what cannot be started says why: a folder, a file that is no program,
// none at all. (Wine itself starts no program from a path that long, whatever form it is given.)

#include "platform/win32/file_operations.h"
#include "platform/win32/program_start.h"
#include "support/drive_fixture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace platform::win32;

TEST(ProgramStart, LongPathsAndTrueAnswers) {
    testsupport::TwoDrives t;
    wchar_t system[MAX_PATH] = {};
    ASSERT_GT(::GetSystemDirectoryW(system, MAX_PATH), 0u);
    std::filesystem::copy_file(std::filesystem::path(system) / "hostname.exe",
                               t.c.path() / "hostname.exe");
    std::wstring folder = L"\\\\?\\" + t.c.path().wstring();
    for (int level = 0; level < 5; ++level) {
        folder += L"\\" + std::wstring(60, static_cast<wchar_t>(L'a' + level));
        ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    }
    const std::wstring deep = folder + L"\\hostname.exe";
    ASSERT_TRUE(::CopyFileW((t.c.path() / "hostname.exe").c_str(), deep.c_str(), TRUE));
    auto startable = startablePath(deep);
    ASSERT_TRUE(startable);
    EXPECT_LT(startable->size(), std::size_t{MAX_PATH});
    EXPECT_EQ(*hostFileId(L"\\\\?\\" + *startable), *hostFileId(deep));

    t.c.file("liesmich.txt", "kein Programm");
    t.c.folder("Ordner");
    const struct {
        std::string path;
        std::error_code answer;
    } rows[] = {
        {"C:\\hostname.exe", {}},
        {"C:\\Ordner", std::make_error_code(std::errc::is_a_directory)},
        {"C:\\liesmich.txt", std::make_error_code(std::errc::executable_format_error)},
        {"C:\\fehlt.exe", std::make_error_code(std::errc::no_such_file_or_directory)},
    };
    for (const auto& row : rows)
        EXPECT_EQ(t.fs->startProgram(row.path), row.answer) << row.path;
}

} // namespace
