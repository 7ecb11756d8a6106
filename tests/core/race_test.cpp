// Another program acts on a listed file between the search and the pass: the file vanishes, or
// is replaced by a folder. The pass goes on, acts on what is there only by its own rules and
// loses nothing it was not asked to.

#include "race_scenario.h"

#include <chrono>
#include <fstream>
#include <functional>
#include <thread>

namespace {

using coretest::attemptItem;
using coretest::changeBeforeAction;
using coretest::Pass;
using coretest::Scenario;

TEST(BetweenSearchAndAction, AVanishedFileIsLoggedAndNotReported) {
    coretest::forEachPassVariant([](Scenario& s, Pass pass) {
        changeBeforeAction(s, pass, [&] { std::filesystem::remove(s.source("b.txt")); });
        s.run(pass);
        EXPECT_NE(s.logBytes().find(attemptItem()), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(s.data.path() / "Ziel/b.txt"));
        // Every other file was handled; b.txt is neither a survivor nor reported.
        const auto left = s.wholeSurvivors();
        EXPECT_FALSE(left.contains("b.txt"));
        EXPECT_EQ(left.size(), pass == Pass::Copy ? 3u : 0u);
        EXPECT_EQ(s.window.warnings, 0);
        EXPECT_EQ(s.window.copyWarnings, pass == Pass::Copy ? 1 : 0);
    });
}

TEST(BetweenSearchAndAction, AFileSwappedForAFolderKeepsTheFolder) {
    coretest::forEachPassVariant([](Scenario& s, Pass pass) {
        changeBeforeAction(s, pass, [&] {
            std::filesystem::remove(s.source("b.txt"));
            s.data.file("Quelle/b.txt/fremd.dat", "fremd");
        });
        s.run(pass);
        EXPECT_EQ(testsupport::readBytes(s.source("b.txt") / "fremd.dat"), "fremd");
        EXPECT_FALSE(std::filesystem::exists(s.data.path() / "Ziel/b.txt"));
    });
}

// A move as copy and delete while an editor saves the source: by writing a new file and
// renaming it over the old one, or by writing into it, also the same length with its last-write
// time set back as a tool that keeps times does. The save is refused while the source is held
// from its copy to its delete (Windows), or the source is deleted only while it is the file its
// copy read, unchanged, so the new version stays and is reported.
TEST(BetweenSearchAndAction, ASaveDuringAMoveKeepsTheNewVersion) {
    std::string saved = "neue Fassung";
    const std::function<bool(Scenario&)> saves[] = {
        [&](Scenario& s) {
            s.data.file("Quelle/b.txt.neu", saved);
            std::error_code refused;
            std::filesystem::rename(s.source("b.txt.neu"), s.source("b.txt"), refused);
            return !refused;
        },
        [&](Scenario& s) {
            return static_cast<bool>(
                std::ofstream(s.source("b.txt"), std::ios::binary | std::ios::trunc) << saved);
        },
        [&](Scenario& s) {
            const auto written = std::filesystem::last_write_time(s.source("b.txt"));
            saved.assign(Scenario::sources().at("b.txt").size(), '#');
            // In a later tick of the clock than the copy's look at it.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (!(std::ofstream(s.source("b.txt"), std::ios::binary | std::ios::in) << saved))
                return false;
            std::error_code refused;
            std::filesystem::last_write_time(s.source("b.txt"), written, refused);
            return !refused;
        },
    };
    for (const auto& save : saves) {
        Scenario s;
        s.fs.refuseMoves = true;
        bool wasSaved = false;
        s.fs.beforeCall = [&, done = false](testsupport::Op op, std::string_view path) mutable {
            if (op == testsupport::Op::DeleteFile && path.ends_with("\\b.txt") && !done) {
                done = true;
                wasSaved = save(s);
            }
        };
        s.run(Pass::Move);
        EXPECT_EQ(testsupport::readBytes(s.data.path() / "Ziel/b.txt"),
                  Scenario::sources().at("b.txt"));
        EXPECT_FALSE(std::filesystem::exists(s.source("a.txt")));
        EXPECT_EQ(std::filesystem::exists(s.source("b.txt")), wasSaved);
        if (!wasSaved)
            continue;
        EXPECT_EQ(testsupport::readBytes(s.source("b.txt")), saved);
        EXPECT_EQ(s.window.warnings, 1);
        EXPECT_TRUE(coretest::hasErrorLine(s.logBytes(), attemptItem()));
    }
}

} // namespace
