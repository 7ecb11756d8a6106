#include "support/drive_fixture.h"

#include "platform/linux/environment.h"
#include "support/result_value.h"

#include <dirent.h>
#include <pwd.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

namespace {

using platform::linux_host::parseDocumentsDir;

// A home of the test's own in HOME, with XDG_CONFIG_HOME and a user-dirs.dirs that names
// <home>/Dokumente, put back at the end.
class XdgHome {
public:
    XdgHome() {
        remember("HOME", m_home);
        remember("XDG_CONFIG_HOME", m_config);
        m_dir.folder("Dokumente");
        m_dir.file(".config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
        setenv("HOME", m_dir.str().c_str(), 1);
        setenv("XDG_CONFIG_HOME", (m_dir.path() / ".config").c_str(), 1);
    }
    ~XdgHome() {
        restore("HOME", m_home);
        restore("XDG_CONFIG_HOME", m_config);
    }
    XdgHome(const XdgHome&) = delete;
    XdgHome& operator=(const XdgHome&) = delete;

    const std::filesystem::path& home() const { return m_dir.path(); }

private:
    static void remember(const char* name, std::optional<std::string>& value) {
        if (const char* v = std::getenv(name))
            value = v;
    }
    static void restore(const char* name, const std::optional<std::string>& value) {
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }

    testsupport::TempDir m_dir;
    std::optional<std::string> m_home, m_config;
};

TEST(Environment, DocumentsDirFromUserDirs) {
    EXPECT_EQ(parseDocumentsDir("XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n", "/home/anna"),
              "/home/anna/Dokumente");
    EXPECT_EQ(parseDocumentsDir("# Kommentar\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                                "  XDG_DOCUMENTS_DIR=\"${HOME}/Eigene \\\"Dateien\\\"\"",
                                "/home/anna"),
              "/home/anna/Eigene \"Dateien\"");
    EXPECT_EQ(parseDocumentsDir("XDG_DOCUMENTS_DIR=\"/srv/dok\"", "/home/anna"), "/srv/dok");
    EXPECT_EQ(parseDocumentsDir("XDG_DOCUMENTS_DIR=\"$HOME\"", "/home/anna"), "/home/anna");
    EXPECT_EQ(parseDocumentsDir("XDG_DOCUMENTS_DIR=\"$HOMEX/a\"", "/home/anna"), "");
    EXPECT_EQ(parseDocumentsDir("XDG_DOCUMENTS_DIR=\"relativ\"", "/home/anna"), "");
    EXPECT_EQ(parseDocumentsDir("#XDG_DOCUMENTS_DIR=\"/a\"\n", "/home/anna"), "");
    EXPECT_EQ(parseDocumentsDir("XDG_DOCUMENTS_DIR=\"/a\"\nXDG_DOCUMENTS_DIR=\"/b\"\n", "/h"),
              "/b");
    EXPECT_EQ(parseDocumentsDir("", "/home/anna"), "");
}

TEST(Environment, DocumentsFolderAndFallbacks) {
    XdgHome home;
    auto fs = platform::createPlatformOver({{'c', home.home().string(), ""}});
    EXPECT_EQ(fs->documentsFolder(), "C:\\Dokumente");

    // Read anew on every call: a documents folder that does not exist falls back to home.
    std::ofstream(home.home() / ".config/user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/Fehlt\"\n";
    EXPECT_EQ(fs->documentsFolder(), "C:\\");

    // Without XDG_CONFIG_HOME the file is looked for in ~/.config.
    std::filesystem::create_directories(home.home() / "Andere");
    std::ofstream(home.home() / ".config/user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"$HOME/Andere\"\n";
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(fs->documentsFolder(), "C:\\Andere");

    // A home folder outside every drive has no path text.
    testsupport::TempDir other;
    auto elsewhere = platform::createPlatformOver({{'c', other.str(), ""}});
    EXPECT_EQ(elsewhere->documentsFolder(), "");

    // Without HOME the password database names the home folder.
    unsetenv("HOME");
    struct passwd* pw = ::getpwuid(::getuid());
    ASSERT_NE(pw, nullptr);
    auto root = platform::createPlatformOver({{'c', "/", ""}});
    std::string expected = std::filesystem::is_directory(pw->pw_dir)
                               ? testsupport::valueOf(root->canonicalPath(pw->pw_dir))
                               : std::string();
    EXPECT_EQ(root->documentsFolder(), expected);
}

// Children of this process that have ended but were not reaped.
int zombieChildren() {
    int zombies = 0;
    std::unique_ptr<DIR, int (*)(DIR*)> proc(::opendir("/proc"), &::closedir);
    while (const dirent* e = ::readdir(proc.get())) {
        std::ifstream stat(std::string("/proc/") + e->d_name + "/stat");
        std::string line;
        if (!std::getline(stat, line))
            continue;
        auto close = line.rfind(')');
        char state = 0;
        long parent = 0;
        if (close == std::string::npos ||
            std::sscanf(line.c_str() + close + 1, " %c %ld", &state, &parent) != 2)
            continue;
        if (parent == ::getpid() && state == 'Z')
            ++zombies;
    }
    return zombies;
}

TEST(Environment, ProgramStartAndName) {
    auto fs = platform::createPlatformOver({{'c', "/", ""}}, "/usr/bin");
    // Path text only: absolute, on the current drive, found without regard to case, relative
    // to the current folder.
    EXPECT_FALSE(fs->startProgram("C:\\usr\\bin\\true"));
    EXPECT_FALSE(fs->startProgram("\\usr\\bin\\TRUE"));
    EXPECT_FALSE(fs->startProgram("true"));
    EXPECT_TRUE(fs->startProgram("C:\\gibt-es-nicht"));
    EXPECT_TRUE(fs->startProgram(""));
    int zombies = 0;
    for (int i = 0; i < 100 && (zombies = zombieChildren()) > 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(zombies, 0);

    EXPECT_EQ(fs->executableName(), "tests_linux");
}

// Sets PATH for one test and puts it back afterwards.
class ScopedSearchPath {
public:
    explicit ScopedSearchPath(const std::string& value) {
        if (const char* old = std::getenv("PATH"))
            m_old = old;
        setenv("PATH", value.c_str(), 1);
    }
    ~ScopedSearchPath() {
        if (m_old)
            setenv("PATH", m_old->c_str(), 1);
        else
            unsetenv("PATH");
    }
    ScopedSearchPath(const ScopedSearchPath&) = delete;
    ScopedSearchPath& operator=(const ScopedSearchPath&) = delete;

private:
    std::optional<std::string> m_old;
};

// Without a registry, the desktop's system information program is found on PATH, as path text.
TEST(Environment, SystemInformationProgramOnThePath) {
    testsupport::TempDir drive;
    const auto bin = drive.folder("bin");
    auto fs = platform::createPlatformOver({{'c', drive.str(), {}}}, drive.str());
    ScopedSearchPath searchPath(bin.string());
    EXPECT_EQ(fs->systemInformationProgram(), "");

    // Not executable: not a program to start.
    drive.file("bin/kinfocenter");
    EXPECT_EQ(fs->systemInformationProgram(), "");
    std::filesystem::permissions(bin / "kinfocenter", std::filesystem::perms::owner_all);
    EXPECT_EQ(fs->systemInformationProgram(), "C:\\bin\\kinfocenter");
    drive.file("bin/hardinfo");
    std::filesystem::permissions(bin / "hardinfo", std::filesystem::perms::owner_all);
    EXPECT_EQ(fs->systemInformationProgram(), "C:\\bin\\hardinfo");

    // An empty element would be the working folder; it is never searched.
    ScopedSearchPath relative(":" + bin.string() + "::");
    EXPECT_EQ(fs->systemInformationProgram(), "C:\\bin\\hardinfo");
    ScopedSearchPath none("");
    EXPECT_EQ(fs->systemInformationProgram(), "");
}

} // namespace
