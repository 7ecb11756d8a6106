// The walk on POSIX hosts: a folder link back to an ancestor ends the descent, and a host name
// with characters the program text cannot carry is walked through as itself.

#include "walk_fixture.h"

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

} // namespace
