// The attribute store of this backend is the one Wine uses (user.DOSATTRIB for hidden and
// system, the write bits for read-only): checked against Wine itself, where it is installed.
// Wine shows the archive bit on every file and does not store it, so archive is not compared.

#include "support/pass_actions.h"
#include "support/temp_tree.h"

#include "platform/platform.h"
#include "support/result_value.h"

#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

using testsupport::valueOf;

using namespace platform;

// Runs a Wine command in a prefix of this user's own (made on first use) and gives its output.
// The output goes through a file: Wine's helper processes outlive the command and would hold a
// pipe open.
class Wine {
public:
    // Wine makes a prefix only in a folder its user owns: the prefix folder is made first.
    Wine() : m_prefix("/tmp/tilgomat-wine-" + std::to_string(::getuid())) {
        std::filesystem::create_directories(m_prefix);
    }

    static bool installed() { return std::system("command -v wine >/dev/null 2>&1") == 0; }

    std::string run(const std::string& arguments) {
        const std::string out = (m_scratch.path() / "ausgabe.txt").string();
        const std::string command = "WINEPREFIX=" + m_prefix + " WINEDEBUG=-all wine " + arguments +
                                    " </dev/null >" + out + " 2>/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return testsupport::readBytes(out);
    }

    // The host path as Wine reaches it: the root folder is its drive Z:.
    static std::string zPath(const std::filesystem::path& host) {
        std::string text = "Z:" + host.string();
        for (char& c : text)
            if (c == '/')
                c = '\\';
        return "'" + text + "'";
    }

private:
    std::string m_prefix;
    testsupport::TempDir m_scratch;
};

// The attribute letters attrib shows before the path.
std::string flagsOf(const std::string& attribOutput) {
    return attribOutput.substr(0, attribOutput.find("Z:\\"));
}

TEST(WineAttributes, WineAndThisBackendReadEachOthersAttributes) {
    if (!Wine::installed())
        GTEST_SKIP() << "Wine is not installed";
    testsupport::TempDir dir;
    auto fs = createPlatformOver({{'c', dir.str(), {}}}, dir.str());
    Wine wine;

    // Given hidden and system here, shown as hidden and system by Wine's attrib.
    dir.file("hier.txt", "x");
    ASSERT_FALSE(fs->setAttributes("C:\\hier.txt", Hidden | System | Archive));
    const std::string shown = flagsOf(wine.run("attrib " + Wine::zPath(dir.path() / "hier.txt")));
    EXPECT_NE(shown.find('H'), std::string::npos) << shown;
    EXPECT_NE(shown.find('S'), std::string::npos) << shown;
    EXPECT_EQ(shown.find('R'), std::string::npos) << shown;

    // Given hidden, system and read-only by Wine, read back the same here.
    dir.file("dort.txt", "x");
    for (const char* flag : {"+h", "+s", "+r"})
        wine.run(std::string("attrib ") + flag + " " + Wine::zPath(dir.path() / "dort.txt"));
    EXPECT_EQ(valueOf(fs->getAttributes("C:\\dort.txt")) & (ReadOnly | Hidden | System),
              ReadOnly | Hidden | System);
    const std::string again = flagsOf(wine.run("attrib " + Wine::zPath(dir.path() / "dort.txt")));
    EXPECT_NE(again.find('R'), std::string::npos) << again;

    // Made read-only here, shown read-only by Wine and read back; cleared here, shown writable.
    const std::string attribHere = "attrib " + Wine::zPath(dir.path() / "hier.txt");
    ASSERT_FALSE(fs->setAttributes("C:\\hier.txt", ReadOnly | Archive));
    EXPECT_NE(flagsOf(wine.run(attribHere)).find('R'), std::string::npos);
    EXPECT_EQ(valueOf(fs->getAttributes("C:\\hier.txt")), ReadOnly | Archive);
    ASSERT_FALSE(fs->setAttributes("C:\\hier.txt", Archive));
    EXPECT_EQ(flagsOf(wine.run(attribHere)).find('R'), std::string::npos);
}

// A Samba server with its defaults keeps a Windows client's read-only flag as bit 0x01 of
// user.DOSATTRIB alone (text form, or binary form of version 4) and leaves the write bits. Here
// such a file is read-only and no action changes it. Wine 8.0 takes read-only from the write bits
// alone: its attrib shows the file without R and its del removes it.
TEST(WineAttributes, TheReadOnlyBitSambaStoresAloneKeepsAFileAsItIs) {
    for (const std::string& value :
         {std::string("0x21"), std::string("\0\0\4\0\4\0\0\0\1\0\0\0\x21\0\0\0", 16)}) {
        testsupport::TempDir dir;
        auto fs = createPlatformOver({{'c', dir.str(), {}}}, dir.str());
        const auto file = dir.file("samba.txt", "x");
        ASSERT_EQ(::setxattr(file.c_str(), "user.DOSATTRIB", value.data(), value.size(), 0), 0);
        EXPECT_EQ(valueOf(fs->getAttributes("C:\\samba.txt")), ReadOnly | Archive);
        EXPECT_EQ(fs->deleteFile("C:\\samba.txt"), std::errc::permission_denied);
        EXPECT_EQ(testsupport::moveFile(*fs, "C:\\samba.txt", "C:\\weg.txt"),
                  std::errc::permission_denied);
        EXPECT_EQ(testsupport::appendToFile(*fs, "C:\\samba.txt", "y"),
                  std::errc::permission_denied);
        // Its copy carries the stored value, and with it read-only, so it is no copy target.
        ASSERT_FALSE(testsupport::copyFile(*fs, "C:\\samba.txt", "C:\\kopie.txt"));
        EXPECT_EQ(valueOf(fs->getAttributes("C:\\kopie.txt")), ReadOnly | Archive);
        EXPECT_EQ(testsupport::copyFile(*fs, "C:\\kopie.txt", "C:\\samba.txt"),
                  std::errc::permission_denied);
    }
}

} // namespace
