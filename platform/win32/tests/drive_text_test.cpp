#include "platform/win32/drive_text.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// Both queries answer, so one made for the wrong kind of drive shows in the text.
TEST(MachineDriveText, OnlyTheQueryThatAnswersAtOnceIsMade) {
    const auto volume = [] { return std::wstring(L"Ü-Platte"); };
    const auto share = [] { return std::wstring(L"\\\\nas\\daten"); };
    const std::pair<unsigned, std::string> rows[] = {{DRIVE_FIXED, "c: [Ü-Platte]"},
                                                     {DRIVE_RAMDISK, "c: [Ü-Platte]"},
                                                     {DRIVE_REMOTE, "c: [\\\\nas\\daten]"},
                                                     {DRIVE_REMOVABLE, "c:"},
                                                     {DRIVE_CDROM, "c:"},
                                                     {DRIVE_UNKNOWN, "c:"}};
    for (const auto& [type, text] : rows)
        EXPECT_EQ(platform::win32::machineDriveText('c', type, volume, share), text) << type;
    // A network drive remembered but not connected now has no share name.
    EXPECT_EQ(
        platform::win32::machineDriveText('z', DRIVE_REMOTE, volume, [] { return std::wstring(); }),
        "z:");
}

} // namespace
