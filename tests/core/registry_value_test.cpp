#include "core/registry_value.h"

#include "support/fake_registry.h"
#include "support/faulty_platform.h"

#include "platform/platform.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

namespace {

using platform::Registry;

constexpr std::uint32_t HKLM = Registry::kHkeyLocalMachine;
const std::string kKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

std::string withZero(std::string text) {
    text.push_back('\0');
    return text;
}

TEST(GetKeyValue, ReadsTextAndNumbersAndClosesTheKey) {
    testsupport::FakeRegistry registry;
    registry.setValue(kKey, "PATH", Registry::kRegSz, withZero("C:\\Programme\\msinfo32.exe"));
    registry.setValue(kKey, "Bare", Registry::kRegSz, "ohne Null");
    registry.setValue(kKey, "Empty", Registry::kRegSz, withZero(""));
    registry.setValue(kKey, "Number", Registry::kRegDword, std::string("\x78\x56\x34\x12", 4));
    registry.setValue(kKey, "Zero", Registry::kRegDword, std::string(4, '\0'));
    registry.setValue(kKey, "Max", Registry::kRegDword, std::string(4, '\xFF'));
    registry.setValue(kKey, "Short", Registry::kRegDword, std::string("\x01\x01", 2));

    std::string value = "alt";
    EXPECT_TRUE(core::GetKeyValue(registry, HKLM, kKey, "PATH", value));
    EXPECT_EQ(value, "C:\\Programme\\msinfo32.exe");
    EXPECT_TRUE(core::GetKeyValue(registry, HKLM, kKey, "Bare", value));
    EXPECT_EQ(value, "ohne Null");
    EXPECT_TRUE(core::GetKeyValue(registry, HKLM, kKey, "Empty", value));
    EXPECT_EQ(value, "");
    EXPECT_TRUE(core::GetKeyValue(registry, HKLM, kKey, "Number", value));
    EXPECT_EQ(value, "305419896");
    // The trailing zero byte of a number is part of the number, not a text end.
    EXPECT_TRUE(core::GetKeyValue(registry, HKLM, kKey, "Zero", value));
    EXPECT_EQ(value, "0");
    EXPECT_TRUE(core::GetKeyValue(registry, HKLM, kKey, "Max", value));
    EXPECT_EQ(value, "4294967295");
    EXPECT_TRUE(core::GetKeyValue(registry, HKLM, kKey, "Short", value));
    EXPECT_EQ(value, "257");
    EXPECT_EQ(registry.openKeys, 0);
}

TEST(GetKeyValue, OtherTypesCountAsFoundButLeaveTheTextAlone) {
    testsupport::FakeRegistry registry;
    registry.setValue(kKey, "Binary", 3, "\x01\x02");
    std::string value = "vorher";
    EXPECT_TRUE(core::GetKeyValue(registry, HKLM, kKey, "Binary", value));
    EXPECT_EQ(value, "vorher");
    EXPECT_EQ(registry.openKeys, 0);
}

TEST(GetKeyValue, TheNativeViewFirstThenThe32BitOne) {
    testsupport::FakeRegistry registry;
    registry.setValue(kKey, "PATH", Registry::kRegSz, withZero("C:\\64\\msinfo32.exe"));
    registry.setValue(kKey, "PATH", Registry::kRegSz, withZero("C:\\32\\msinfo32.exe"), true);
    registry.setValue(kKey, "Alt", Registry::kRegDword, std::string("\x01", 1), true);

    std::string value;
    EXPECT_TRUE(core::GetKeyValue(registry, HKLM, kKey, "PATH", value));
    EXPECT_EQ(value, "C:\\64\\msinfo32.exe");
    EXPECT_TRUE(core::GetKeyValue(registry, HKLM, kKey, "Alt", value));
    EXPECT_EQ(value, "1");
    EXPECT_EQ(registry.openKeys, 0);
}

TEST(GetKeyValue, FailuresEmptyTheTextAndCloseWhatWasOpened) {
    testsupport::FakeRegistry registry;
    registry.setValue(kKey, "Full", Registry::kRegSz, std::string(1024, 'x'));
    registry.setValue(kKey, "TooLong", Registry::kRegSz, std::string(1025, 'x'));

    std::string value;
    EXPECT_TRUE(core::GetKeyValue(registry, HKLM, kKey, "Full", value));
    EXPECT_EQ(value, std::string(1024, 'x'));

    value = "vorher";
    EXPECT_FALSE(core::GetKeyValue(registry, HKLM, kKey, "TooLong", value));
    EXPECT_EQ(value, "");
    value = "vorher";
    EXPECT_FALSE(core::GetKeyValue(registry, HKLM, kKey, "Missing", value));
    EXPECT_EQ(value, "");
    value = "vorher";
    EXPECT_FALSE(core::GetKeyValue(registry, HKLM, "SOFTWARE\\Nothing", "PATH", value));
    EXPECT_EQ(value, "");
    EXPECT_EQ(registry.openKeys, 0);
}

} // namespace

namespace {

const std::string kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

class LocateSysInfo : public ::testing::Test {
protected:
    LocateSysInfo() { fs.systemInformationOverride = ""; }

    testsupport::TempDir drive;
    testsupport::FaultyPlatform fs{
        platform::createPlatformOver({{'c', drive.str(), {}}}, drive.str())};
    testsupport::FakeRegistry& registry = fs.fakeRegistry;
};

TEST_F(LocateSysInfo, TheMsinfoPathIsTakenAsItStands) {
    registry.setValue(kKey, "PATH", Registry::kRegSz, withZero("C:\\Fehlt\\msinfo32.exe"));
    registry.setValue(kLocationKey, "MSINFO", Registry::kRegSz, withZero("C:\\Tools"));
    EXPECT_EQ(core::locateSysInfoTool(fs), "C:\\Fehlt\\msinfo32.exe");

    // A value of another type counts as found but yields no path, so starting it fails.
    registry.setValue(kKey, "PATH", 3, withZero("C:\\x.exe"));
    EXPECT_EQ(core::locateSysInfoTool(fs), "");
}

TEST_F(LocateSysInfo, TheToolsFolderCountsOnlyWhenItHoldsTheProgram) {
    registry.setValue(kLocationKey, "MSINFO", Registry::kRegSz, withZero("C:\\Tools"));
    drive.folder("Tools");
    fs.systemInformationOverride = "C:\\bin\\hardinfo";
    EXPECT_EQ(core::locateSysInfoTool(fs), std::nullopt);

    drive.file("Tools/MSINFO32.EXE");
    EXPECT_EQ(core::locateSysInfoTool(fs), "C:\\Tools\\MSINFO32.EXE");
}

TEST_F(LocateSysInfo, WithoutTheRegistryThePlatformsOwnProgramIsUsed) {
    EXPECT_EQ(core::locateSysInfoTool(fs), std::nullopt);
    fs.systemInformationOverride = "C:\\bin\\kinfocenter";
    EXPECT_EQ(core::locateSysInfoTool(fs), "C:\\bin\\kinfocenter");
}

} // namespace
