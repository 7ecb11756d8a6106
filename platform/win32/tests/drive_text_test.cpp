#include "platform/win32/drive_text.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <future>
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

// A disk that does not answer at once (asleep) does not hold the list: the drive shows without
// its label, no second query is made while the first waits, and the label shows once answered.
TEST(MachineDriveText, ASleepingDiskDoesNotHoldTheList) {
    using platform::win32::machineDriveText;
    std::promise<void> wake;
    const std::shared_future<void> awake = wake.get_future().share();
    std::atomic<int> asked{0};
    const auto sleeping = [awake, &asked] {
        ++asked;
        awake.wait_for(std::chrono::seconds(5)); // bounded, so that a list that waits fails
        return std::wstring(L"Archiv");
    };
    const auto none = [] { return std::wstring(); };
    EXPECT_EQ(machineDriveText('q', DRIVE_FIXED, sleeping, none), "q:");
    EXPECT_EQ(machineDriveText('q', DRIVE_FIXED, sleeping, none), "q:");
    EXPECT_EQ(asked, 1);
    wake.set_value();
    std::string text;
    for (int round = 0; round < 100 && text != "q: [Archiv]"; ++round)
        text = machineDriveText('q', DRIVE_FIXED, sleeping, none);
    EXPECT_EQ(text, "q: [Archiv]");
}

} // namespace
