// Another program acts on a listed file between the search and the pass: the file vanishes, or
// is replaced by a FIFO, a folder or a link to a file elsewhere. The pass goes on, acts on what
// is there only by its own rules and loses nothing it was not asked to.

#include "fault_scenario.h"
#include "time_guard.h"

#include <sys/stat.h>
#include <unistd.h>

#include <functional>

namespace {

using coretest::Pass;
using coretest::Scenario;
using testsupport::Op;

constexpr std::string_view kVictim = "d:\\quelle\\b.txt";

// Runs `change` once, just before the pass acts on b.txt.
void changeBeforeAction(Scenario& s, Pass pass, std::function<void()> change) {
    const Op action = pass == Pass::Delete ? Op::DeleteFile
                      : pass == Pass::Copy ? Op::CopyFile
                                           : Op::MoveFile;
    s.fs.beforeCall = [action, change = std::move(change),
                       done = false](Op op, std::string_view path) mutable {
        // The pass reaches the file through its exact path, which ends as the listed one.
        if (op == action && path.ends_with("\\b.txt") && !done) {
            done = true;
            change();
        }
    };
}

// The quoted item of the attempt line for b.txt.
std::string attemptItem() {
    return "\"" + std::string(kVictim) + "\";";
}

bool hasErrorLine(const std::string& log, const std::string& item) {
    for (std::size_t at = log.find(item); at != std::string::npos; at = log.find(item, at + 1)) {
        const std::size_t end = log.find("\r\n", at);
        if (std::string_view(log).substr(0, end).ends_with(" ->error delete"))
            return true;
    }
    return false;
}

bool isFifo(const std::filesystem::path& p) {
    struct stat st {};
    return ::lstat(p.c_str(), &st) == 0 && S_ISFIFO(st.st_mode);
}

TEST(BetweenSearchAndAction, AVanishedFileIsLoggedAndNotReported) {
    for (const auto& [pass, across] : coretest::passVariants()) {
        SCOPED_TRACE(coretest::variantName(pass, across));
        Scenario s;
        s.fs.refuseMoves = across;
        changeBeforeAction(s, pass, [&] { std::filesystem::remove(s.source("b.txt")); });
        s.run(pass);
        EXPECT_NE(s.logBytes().find(attemptItem()), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(s.data.path() / "Ziel/b.txt"));
        // Every other file was handled; b.txt is neither a survivor nor reported.
        const auto left = s.wholeSurvivors();
        EXPECT_FALSE(left.contains("b.txt"));
        EXPECT_EQ(left.size(), pass == Pass::Copy ? 3u : 0u);
        EXPECT_EQ(s.window.warnings, 0);
    }
}

TEST(BetweenSearchAndAction, AFileSwappedForAFifoIsNeitherOpenedNorDeleted) {
    for (const auto& [pass, across] : coretest::passVariants()) {
        SCOPED_TRACE(coretest::variantName(pass, across));
        Scenario s;
        s.fs.refuseMoves = across;
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
    }
}

TEST(BetweenSearchAndAction, AFileSwappedForAFolderKeepsTheFolder) {
    for (const auto& [pass, across] : coretest::passVariants()) {
        SCOPED_TRACE(coretest::variantName(pass, across));
        Scenario s;
        s.fs.refuseMoves = across;
        changeBeforeAction(s, pass, [&] {
            std::filesystem::remove(s.source("b.txt"));
            s.data.file("Quelle/b.txt/fremd.dat", "fremd");
        });
        s.run(pass);
        EXPECT_EQ(testsupport::readBytes(s.source("b.txt") / "fremd.dat"), "fremd");
        EXPECT_FALSE(std::filesystem::exists(s.data.path() / "Ziel/b.txt"));
    }
}

TEST(BetweenSearchAndAction, AFileSwappedForALinkNeverCostsWhatItLeadsTo) {
    for (const auto& [pass, across] : coretest::passVariants()) {
        SCOPED_TRACE(coretest::variantName(pass, across));
        Scenario s;
        s.fs.refuseMoves = across;
        testsupport::TempDir elsewhere;
        const auto secret = elsewhere.file("fremd.txt", "fremde Daten");
        changeBeforeAction(s, pass, [&] {
            std::filesystem::remove(s.source("b.txt"));
            std::filesystem::create_symlink(secret, s.source("b.txt"));
        });
        s.run(pass);
        // The link is what the pass acts on: deleted or moved as a link, copied as cp would.
        EXPECT_EQ(testsupport::readBytes(secret), "fremde Daten");
        EXPECT_EQ(std::filesystem::is_symlink(s.source("b.txt")), pass == Pass::Copy);
        EXPECT_EQ(testsupport::readBytes(s.data.path() / "Ziel/b.txt"),
                  pass == Pass::Delete ? "" : "fremde Daten");
        EXPECT_EQ(s.window.warnings, 0);
    }
}

} // namespace
