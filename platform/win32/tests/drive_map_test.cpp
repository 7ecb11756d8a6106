#include "platform/path_syntax.h"
#include "platform/win32/drive_map.h"
#include "platform/win32/wide_text.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

using platform::win32::DriveMap;

TEST(DriveMap, NetworkPathsAndTypedNames) {
    for (auto [host, prefixed] : {std::pair{L"C:\\Daten", L"\\\\?\\C:\\Daten"},
                                  {L"\\\\nas\\daten\\Anna", L"\\\\?\\UNC\\nas\\daten\\Anna"}}) {
        EXPECT_EQ(DriveMap::withPrefix(host), prefixed);
        EXPECT_EQ(DriveMap::withPrefix(prefixed), prefixed);
        EXPECT_EQ(DriveMap::withoutPrefix(prefixed), host);
    }
    const DriveMap drives({{'c', "C:\\Wurzel", ""}, {'n', "\\\\nas\\daten", ""}}, "C:\\Wurzel");
    // A documents folder on a share is path text on the drive mapped to it.
    EXPECT_EQ(drives.pathText(L"\\\\?\\unc\\NAS\\Daten\\Anna\\Dokumente"), "N:\\Anna\\Dokumente");
    EXPECT_EQ(*drives.hostPath("N:\\Anna"), L"\\\\?\\UNC\\nas\\daten\\Anna");
    // A share no letter maps is path text of its own, its root in place of the drive's.
    EXPECT_EQ(drives.pathText(L"\\\\?\\UNC\\srv\\Home\\Dokumente"), "\\\\srv\\Home\\Dokumente");
    for (std::string_view text : {"\\\\srv\\Home\\.\\Dokumente.", "//srv/Home/x/../Dokumente",
                                  "\\\\?\\UNC\\srv\\Home\\Dokumente"})
        EXPECT_EQ(*drives.hostPath(text), L"\\\\?\\UNC\\srv\\Home\\Dokumente") << text;
    // Dots and spaces go from typed names as Windows drops them; never from exact ones.
    EXPECT_EQ(*drives.hostPath("c:\\Daten.\\Neu. ."), L"\\\\?\\C:\\Wurzel\\Daten\\Neu");
    EXPECT_EQ(*drives.hostPath("\\\\?\\C:\\Neu."), L"\\\\?\\C:\\Wurzel\\Neu.");
    EXPECT_EQ(drives.hostPath("C:\\Daten\\. .").error(), std::errc::invalid_argument);
}

} // namespace

// Windows' own reading of typed text, which CreateFileW applies (GetFullPathNameW), is the
// model: the backend looks up the names it looks up, and refuses the device names it knows.
TEST(DriveMap, TypedTextIsReadAsWindowsReadsIt) {
    const auto windows = [](const std::wstring& typed) {
        wchar_t full[MAX_PATH] = {};
        EXPECT_GT(::GetFullPathNameW(typed.c_str(), MAX_PATH, full, nullptr), 0u);
        return std::wstring(full);
    };
    const DriveMap machine({}, "");
    for (std::wstring typed :
         {L"C:\\a.\\b", L"C:\\a..\\b", L"C:\\a .\\b", L"C:\\a. \\b", L"C:\\a \\b. .", L"C:\\a\\b..",
          L"C:\\a.\\", L"C:\\a...\\b", L"C:\\a..\\.", L"C:\\a..\\b\\.."}) {
        std::wstring found = windows(typed);
        if (found.size() > 3 && found.back() == L'\\')
            found.pop_back();
        EXPECT_EQ(*machine.hostPath(platform::win32::fromWide(typed)), L"\\\\?\\" + found)
            << platform::win32::fromWide(typed);
    }
    for (std::wstring name : {L"CON", L"nul.txt", L"COM1 .txt", L"CONIN$", L"conout$.log", L"LPT9",
                              L"COM10", L"CLOCK$", L"CONIN", L"Console"}) {
        const bool device = windows(L"C:\\x\\" + name).starts_with(L"\\\\.\\");
        EXPECT_EQ(platform::checkNewFolderName("C:\\x\\" + platform::win32::fromWide(name)) ==
                      std::errc::invalid_argument,
                  device)
            << platform::win32::fromWide(name);
    }
}
