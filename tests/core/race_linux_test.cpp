// Another program replaces a listed file between the search and the pass by a FIFO or by a link
// to a file elsewhere (POSIX): a FIFO is never opened (no hang) nor deleted, a link is left alone.

#include "race_scenario.h"
#include "time_guard.h"

#include <sys/stat.h>
#include <unistd.h>

namespace {

using coretest::attemptItem;
using coretest::changeBeforeAction;
using coretest::hasErrorLine;
using coretest::Pass;
using coretest::Scenario;

bool isFifo(const std::filesystem::path& p) {
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}

TEST(BetweenSearchAndAction, AFileSwappedForAFifoIsNeitherOpenedNorDeleted) {
    coretest::forEachPassVariant([](Scenario& s, Pass pass) {
        changeBeforeAction(s, pass, [&] {
            std::filesystem::remove(s.source("b.txt"));
            ASSERT_EQ(::mkfifo(s.source("b.txt").c_str(), 0644), 0);
        });
        coretest::withinSeconds(60, [&] { s.run(pass); });
        EXPECT_TRUE(isFifo(s.source("b.txt")));
        EXPECT_FALSE(std::filesystem::exists(s.data.path() / "Ziel/b.txt"));
        if (pass != Pass::Copy) {
            // The FIFO is listed as a file, so the failure pass names it.
            EXPECT_EQ(s.window.warnings, 1);
            EXPECT_TRUE(hasErrorLine(s.logBytes(), attemptItem()));
        }
    });
}

TEST(BetweenSearchAndAction, AFileSwappedForALinkNeverCostsWhatItLeadsTo) {
    coretest::forEachPassVariant([](Scenario& s, Pass pass) {
        testsupport::TempDir elsewhere;
        const auto secret = elsewhere.file("fremd.txt", "fremde Daten");
        changeBeforeAction(s, pass, [&] {
            std::filesystem::remove(s.source("b.txt"));
            std::filesystem::create_symlink(secret, s.source("b.txt"));
        });
        s.run(pass);
        // The link, which may even carry the number of the file it replaced, is not the listed
        // file: it is left alone, reported, and what it leads to is never read.
        EXPECT_EQ(testsupport::readBytes(secret), "fremde Daten");
        EXPECT_TRUE(std::filesystem::is_symlink(s.source("b.txt")));
        EXPECT_FALSE(std::filesystem::exists(s.data.path() / "Ziel/b.txt"));
        EXPECT_EQ(s.window.warnings, pass == Pass::Copy ? 0 : 1);
        EXPECT_EQ(s.window.copyWarnings, pass == Pass::Copy ? 1 : 0);
        EXPECT_EQ(hasErrorLine(s.logBytes(), attemptItem()), pass != Pass::Copy);
    });
}

} // namespace
