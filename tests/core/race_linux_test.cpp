// Another program replaces a listed file between the search and the pass by a FIFO, by a link
// to a file elsewhere (POSIX), or by a new version renamed over it, also after a pass looking
// ahead has looked at it: a FIFO is never opened (no hang) nor deleted, a link and a new version
// are left alone.

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

// The second file listed, which a pass looking ahead has looked at already, saved anew by a
// rename over it, or removed: a new version stays and is reported, a file gone is not.
TEST(BetweenSearchAndAction, AFileSavedAnewOrRemovedAfterItsLook) {
    for (const bool saved : {true, false}) {
        coretest::forEachPassVariantAndLook([saved](Scenario& s, Pass pass) {
            std::string name;
            for (std::size_t i = 0, files = 0; i < s.listed.size(); ++i) {
                if (core::isFileEntry(s.listed, i) && files++ == 1)
                    name = s.listed.name(i);
            }
            changeBeforeAction(
                s, pass,
                [&] {
                    s.data.file("Quelle/neu", "neue Fassung");
                    std::filesystem::rename(s.source("neu"), s.source(name));
                    if (!saved)
                        std::filesystem::remove(s.source(name));
                },
                name);
            s.run(pass);
            EXPECT_EQ(testsupport::readBytes(s.source(name)), saved ? "neue Fassung" : "");
            EXPECT_FALSE(std::filesystem::exists(s.data.path() / "Ziel" / name));
            EXPECT_EQ(s.window.warnings, pass != Pass::Copy && saved ? 1 : 0);
            EXPECT_EQ(s.window.copyWarnings, pass == Pass::Copy ? 1 : 0);
            EXPECT_EQ(hasErrorLine(s.logBytes(), attemptItem(name)), pass != Pass::Copy && saved);
        });
    }
}

} // namespace
