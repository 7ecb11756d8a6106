// Another program acts on a listed file between the search and the pass: the file vanishes, or
// is replaced by a folder. The pass goes on, acts on what is there only by its own rules and
// loses nothing it was not asked to.

#include "race_scenario.h"

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

} // namespace
