#include "platform/win32/drive_text.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// Each query answers with a label, so a query made for the wrong kind of drive shows in the text.
TEST(MachineDriveText, OnlyTheQueryThatAnswersAtOnceIsMade) {
    const struct {
        unsigned type;
        std::wstring volume, remote;
        std::string text;
    } rows[] = {
        {DRIVE_FIXED, L"Ü-Platte", L"\\\\nas\\daten", "c: [Ü-Platte]"},
        {DRIVE_FIXED, L"", L"\\\\nas\\daten", "c:"},
        {DRIVE_RAMDISK, L"RAM", L"\\\\nas\\daten", "c: [RAM]"},
        {DRIVE_REMOTE, L"DATEN", L"\\\\nas\\daten", "c: [\\\\nas\\daten]"},
        {DRIVE_REMOTE, L"DATEN", L"", "c:"},
        {DRIVE_REMOVABLE, L"STICK", L"\\\\nas\\daten", "c:"},
        {DRIVE_CDROM, L"DVD", L"\\\\nas\\daten", "c:"},
        {DRIVE_UNKNOWN, L"?", L"\\\\nas\\daten", "c:"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(platform::win32::machineDriveText(
                      'c', row.type, [&] { return row.volume; }, [&] { return row.remote; }),
                  row.text);
    }
}

} // namespace
