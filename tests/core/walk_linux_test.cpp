// The walk on Linux: a folder link back to an ancestor ends the descent, a host name
// with characters the program text cannot carry is walked through as itself, and the folders
// listed ahead on threads are let go as the walk goes on.

#include "walk_fixture.h"

#include <sys/resource.h>

namespace {

using coretest::Entries;
using coretest::WalkTest;

TEST_F(WalkTest, LinkBackToAnAncestorEnds) {
    namespace fs = std::filesystem;
    m_root.file("Ring/a/Datei.txt", "x");
    fs::create_directory_symlink(m_root.path() / "Ring", m_root.path() / "Ring/a/zurueck");
    // A link to a folder that is not an ancestor is walked like any folder.
    m_root.file("Ring/b/Nachbar.txt", "x");
    fs::create_directory_symlink(m_root.path() / "Ring/b", m_root.path() / "Ring/a/quer");
    const Entries got = walk("c:\\ring", "*.txt", true);
    EXPECT_EQ(sorted(got),
              (Entries{"    c:\\ring\\a\\Datei.txt", "    c:\\ring\\a\\quer\\Nachbar.txt",
                       "    c:\\ring\\b\\Nachbar.txt"}));
}

TEST_F(WalkTest, NamesTheProgramTextCannotCarry) {
    // A host name with ":" is shown with a private-use stand-in, and the walk still descends
    // through a folder so named.
    m_root.file("Sonder/a:b/x.txt", "x");
    const Entries got = walk("c:\\sonder", "*.txt", true);
    EXPECT_EQ(got, (Entries{"    c:\\sonder\\a\uF03Ab\\x.txt"}));
}

// More folders than the usual limit of 1,024 open files would let the walk hold open at once
// (the tests themselves may run with a higher limit): every one is listed.
TEST(WalkAhead, ManyFoldersStayWithinTheUsualLimitOfOpenFiles) {
    testsupport::TempDir data;
    constexpr int kFolders = 1500;
    for (int i = 0; i < kFolders; ++i)
        data.file("Baum/o" + std::to_string(i) + "/f.txt");
    auto fs = platform::createPlatformOver({{'d', data.str(), {}}}, data.str());
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &old), 0);
    rlimit usual = old;
    usual.rlim_cur = std::min<rlim_t>(old.rlim_cur, 1024);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &usual), 0);
    const core::SearchResult found =
        core::search(*fs, {"D:\\Baum", "*.*", true}, {}, {4, {}, std::chrono::microseconds(0)});
    ::setrlimit(RLIMIT_NOFILE, &old);
    EXPECT_EQ(found.files, kFolders);
}

} // namespace
