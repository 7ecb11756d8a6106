// Trees deeper than any path the system takes at once: 1,000 nested folders whose path runs past
// 4,096 bytes, with a link back to the top at the bottom. The walk ends, lists every file, and
// the passes reach the deepest ones.

#include "fault_scenario.h"
#include "support/entry_texts.h"

#include "support/linux_files.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using UniqueFd = testsupport::Fd;

constexpr int kLevels = 1000;
constexpr const char* kLevelName = "ebene";

// D:\Quelle\tief\ebene\ebene\... built one level at a time relative to the level above, with
// blatt.txt at the levels 1, 700 (beyond 4,096 bytes) and 1000, and at the bottom a link back
// to D:\Quelle\tief.
class DeepTree {
public:
    explicit DeepTree(const std::filesystem::path& top) {
        // The tree keeps one open folder per level; a soft limit of 1024 open files would leave
        // the walk too few of its own.
        rlimit limit{};
        if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
            limit.rlim_cur = limit.rlim_max;
            ::setrlimit(RLIMIT_NOFILE, &limit);
        }
        std::filesystem::create_directories(top);
        m_fds.emplace_back(::open(top.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        for (int level = 1; level <= kLevels; ++level) {
            ::mkdirat(m_fds.back().get(), kLevelName, 0755);
            m_fds.emplace_back(
                ::openat(m_fds.back().get(), kLevelName, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (level == 1 || level == 700 || level == kLevels) {
                UniqueFd file(::openat(m_fds.back().get(), "blatt.txt",
                                       O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
                ::write(file.get(), "tief", 4);
            }
        }
        ::symlinkat(top.c_str(), m_fds.back().get(), "zurueck");
    }
    DeepTree(const DeepTree&) = delete;
    DeepTree& operator=(const DeepTree&) = delete;
    // The standard library cannot remove paths this long; the chain goes bottom up.
    ~DeepTree() {
        ::unlinkat(m_fds.back().get(), "zurueck", 0);
        for (std::size_t i = m_fds.size() - 1; i > 0; --i) {
            ::unlinkat(m_fds[i].get(), "blatt.txt", 0);
            ::unlinkat(m_fds[i - 1].get(), kLevelName, AT_REMOVEDIR);
        }
    }

    bool leafExists(int level) const {
        struct stat st {};
        return ::fstatat(m_fds[static_cast<std::size_t>(level)].get(), "blatt.txt", &st, 0) == 0;
    }

private:
    std::vector<UniqueFd> m_fds;
};

std::string pathAtLevel(int level) {
    std::string path = "d:\\quelle\\tief\\";
    for (int i = 0; i < level; ++i)
        path += std::string(kLevelName) + "\\";
    return path + "blatt.txt";
}

TEST(DeepTrees, TheWalkEndsAndThePassesReachTheBottom) {
    coretest::Scenario s("*.TXT");
    DeepTree tree(s.data.path() / "Quelle" / "tief");
    coretest::TestWindow window(s.fs, "D:\\Quelle\\tief", "BLATT.TXT", true);
    window.listMatchingFiles();
    const std::vector<std::string> entries = testsupport::entryTexts(window.resultList());
    ASSERT_EQ(entries, (std::vector<std::string>{"    " + pathAtLevel(1), "    " + pathAtLevel(700),
                                                 "    " + pathAtLevel(kLevels)}));
    EXPECT_GT(entries.back().size(), static_cast<std::size_t>(PATH_MAX));

    // The deepest file is copied out, then the list is deleted.
    core::copyOrMoveEntries(window, s.fs, s.log, "D:\\Ziel", {}, false, true);
    EXPECT_EQ(testsupport::readBytes(s.data.path() / "Ziel/002_blatt.txt"), "tief");
    core::deleteListedEntries(window, s.fs, s.log);
    EXPECT_FALSE(tree.leafExists(1));
    EXPECT_FALSE(tree.leafExists(700));
    EXPECT_FALSE(tree.leafExists(kLevels));
    EXPECT_EQ(window.warnings, 0);
    EXPECT_EQ(window.resultList().size(), 0u);
}

} // namespace
