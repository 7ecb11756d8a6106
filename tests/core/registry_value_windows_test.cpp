// Registry values as the about box reads them, written by Windows' own "reg add" into the
// current user's registry, which needs no elevation (under Wine, into its throw-away prefix):
// text, a number, an expandable text, and a text past the 1,024 bytes the reading allows.

#include "core/registry_value.h"

#include "platform/platform.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

const std::uint32_t kHkeyCurrentUser =
    static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(HKEY_CURRENT_USER));

class RegistryValues : public ::testing::Test {
protected:
    RegistryValues()
        : m_key("SOFTWARE\\Tilgomat-Test\\" + std::to_string(::GetCurrentProcessId())) {}
    ~RegistryValues() override { run("reg delete \"HKCU\\" + m_key + "\" /f"); }

    static void run(const std::string& command) {
        ASSERT_EQ(std::system((command + " >NUL 2>&1").c_str()), 0) << command;
    }
    void add(const std::string& name, const std::string& type, const std::string& data) {
        run("reg add \"HKCU\\" + m_key + "\" /v " + name + " /t " + type + " /d \"" + data +
            "\" /f");
    }
    bool read(const std::string& name, std::string& value) {
        return core::GetKeyValue(m_fs->registry(), kHkeyCurrentUser, m_key, name, value);
    }

    std::string m_key;
    std::unique_ptr<platform::Platform> m_fs = platform::createHostPlatform();
};

TEST_F(RegistryValues, ReadAsTheAboutBoxNeedsThem) {
    add("PATH", "REG_SZ", "C:\\Programme\\Werkzeuge\\msinfo32.exe");
    add("Zahl", "REG_DWORD", "305419896");
    // Set only after "reg add", so that its command shell leaves the name alone.
    add("Erweitert", "REG_EXPAND_SZ", "%TILGOMAT_TEST_ORDNER%\\x.exe");
    ASSERT_TRUE(::SetEnvironmentVariableW(L"TILGOMAT_TEST_ORDNER", L"C:\\Würfel"));
    add("Lang", "REG_SZ", std::string(1100, 'x'));
    add("Grenze", "REG_SZ", std::string(1023, 'y'));

    std::string value = "vorher";
    EXPECT_TRUE(read("PATH", value));
    EXPECT_EQ(value, "C:\\Programme\\Werkzeuge\\msinfo32.exe");
    EXPECT_TRUE(read("Zahl", value));
    EXPECT_EQ(value, "305419896");
    EXPECT_TRUE(read("Erweitert", value));
    EXPECT_EQ(value, "C:\\Würfel\\x.exe");
    ::SetEnvironmentVariableW(L"TILGOMAT_TEST_ORDNER", nullptr);
    // 1,023 characters and the terminating zero fill the buffer; one more does not fit.
    EXPECT_TRUE(read("Grenze", value));
    EXPECT_EQ(value, std::string(1023, 'y'));
    EXPECT_FALSE(read("Lang", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(read("Fehlt", value));
    EXPECT_FALSE(core::GetKeyValue(m_fs->registry(), kHkeyCurrentUser,
                                   "SOFTWARE\\Tilgomat-Test\\Fehlt", "PATH", value));
}

} // namespace
