// FIFOs, sockets, device nodes and links that lead nowhere or to themselves, in a searched
// tree: listed as files (the walk knows only files and folders), never opened for copying, never
// deleted as something they are not; the failure pass names the ones a delete or move leaves.

#include "fault_scenario.h"
#include "time_guard.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace {

using coretest::Pass;
using coretest::Scenario;

bool makeSocket(const std::filesystem::path& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.native().size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.native().size() + 1);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

mode_t typeOf(const std::filesystem::path& p) {
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

bool present(const std::filesystem::path& p) {
    return typeOf(p) != 0;
}

// D:\Quelle with one ordinary file and every kind of special entry; returns the names of the
// special files that exist (a device node needs the right to make one).
std::map<std::string, mode_t> addSpecials(Scenario& s) {
    std::map<std::string, mode_t> made;
    const auto at = [&](const char* name) { return s.source(name); };
    if (::mkfifo(at("rohr.txt").c_str(), 0644) == 0)
        made["rohr.txt"] = S_IFIFO;
    if (makeSocket(at("sockel.txt")))
        made["sockel.txt"] = S_IFSOCK;
    if (::mknod(at("geraet.txt").c_str(), S_IFCHR | 0644, makedev(1, 3)) == 0)
        made["geraet.txt"] = S_IFCHR;
    ::symlink("nirgends.txt", at("kaputt.txt").c_str());
    ::symlink("schleife.txt", at("schleife.txt").c_str());
    return made;
}

TEST(SpecialFiles, AreListedAsFilesAndNeverOpenedNorDeletedAsFiles) {
    coretest::forEachPassVariant([](Scenario& s, Pass pass) {
        const auto specials = addSpecials(s);
        EXPECT_TRUE(specials.contains("rohr.txt") && specials.contains("sockel.txt"));
        s.window.listMatchingFiles();
        const std::set<std::string> listed = testsupport::fileEntryNames(s.window.resultList());
        for (const auto& [name, type] : specials)
            EXPECT_TRUE(listed.contains(name)) << name;
        EXPECT_TRUE(listed.contains("kaputt.txt"));
        EXPECT_TRUE(listed.contains("schleife.txt"));

        coretest::withinSeconds(60, [&] { s.run(pass); });

        for (const auto& [name, type] : specials) {
            EXPECT_EQ(typeOf(s.source(name)), type) << name;
            EXPECT_FALSE(present(s.data.path() / "Ziel" / name)) << name;
        }
        // A link is a file of its own: a delete removes the link; a copy or move, which needs
        // what it leads to, leaves it.
        for (const char* link : {"kaputt.txt", "schleife.txt"}) {
            EXPECT_EQ(typeOf(s.source(link)), pass == Pass::Delete ? 0u : mode_t{S_IFLNK}) << link;
            EXPECT_FALSE(present(s.data.path() / "Ziel" / link)) << link;
        }
        if (pass == Pass::Copy)
            return;
        const std::set<std::string> reported = testsupport::fileEntryNames(s.window.resultList());
        std::set<std::string> expected;
        for (const auto& [name, type] : specials)
            expected.insert(name);
        if (pass == Pass::Move) {
            expected.insert("kaputt.txt");
            expected.insert("schleife.txt");
        }
        EXPECT_EQ(reported, expected);
        EXPECT_EQ(s.window.warnings, 1);
    });
}

} // namespace
