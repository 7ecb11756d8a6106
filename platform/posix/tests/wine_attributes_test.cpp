// The attribute store of this backend is the one Wine uses (user.DOSATTRIB for hidden and
// system, the write bits for read-only): checked against Wine itself, where it is installed.
// Wine shows the archive bit on every file and does not store it, so archive is not compared.

#include "support/temp_tree.h"

#include "platform/platform.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

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
    EXPECT_EQ(*fs->getAttributes("C:\\dort.txt") & (ReadOnly | Hidden | System),
              ReadOnly | Hidden | System);
    const std::string again = flagsOf(wine.run("attrib " + Wine::zPath(dir.path() / "dort.txt")));
    EXPECT_NE(again.find('R'), std::string::npos) << again;
}

} // namespace
