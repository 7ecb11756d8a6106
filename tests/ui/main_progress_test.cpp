// The main window's progress bar: it counts the files of a long delete, copy or move and runs
// while a slow search walks, beside the status panels, whose texts it never touches.

#include "main_window_scaffold.h"
#include "qt_app.h"
#include "scripted_prompts.h"
#include "support/faulty_platform.h"
#include "support/temp_tree.h"
#include "ui/controls/panel_status_bar.h"
#include "ui/dialogs/target_folder_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using testsupport::FakeHome;
using testsupport::FaultyPlatform;
using testsupport::Op;
using testsupport::ScriptedPrompts;
using testsupport::TempDir;
using Answer = ui::Prompts::Answer;

// What the status bar showed at one moment.
struct Seen {
    bool barVisible = false;
    int value = 0;
    int maximum = 0;
    QString barText;
    QString panels;
};

// c: is the fake home, d: a data folder.
struct Scene {
    QApplication& app = testsupport::ensureApp();
    FakeHome home;
    TempDir d;
    FaultyPlatform fs{platform::createPlatformOver(
        {{'c', testsupport::utf8(home.home()), ""}, {'d', d.str(), "DATEN"}},
        testsupport::utf8(home.home()), home.documentsText())};
    ScriptedPrompts prompts;
    testsupport::MainWindowScaffold w{fs, prompts};
    QProgressBar* bar = w.window.findChild<QProgressBar*>();
    std::vector<Seen> seen;

    // Hooks that run before every delete and copy, and before every folder listing.
    std::function<void()> beforeFileOperation;
    std::function<void()> beforeListing;

    Scene() {
        beforeFileOperation = [this] {
            seen.push_back(
                {bar->isVisibleTo(&w.window), bar->value(), bar->maximum(), bar->text(), panels()});
        };
        fs.beforeCall = [this](Op op, std::string_view) {
            if ((op == Op::DeleteFile || op == Op::CopyFile) && beforeFileOperation)
                beforeFileOperation();
            else if (op == Op::ListFolder && beforeListing)
                beforeListing();
        };
    }

    QString panels() const { return w.panels(); }
    void files(const std::string& folder, int count) const {
        for (int i = 0; i < count; ++i)
            d.file(folder + "/f" + std::to_string(i) + ".txt", "x");
    }
    void search(const std::string& folder, bool subfolders = false) {
        w.search(QString::fromStdString(folder), QStringLiteral("*.txt"), subfolders);
    }
    QString version() const { return w.statusBar->panelText(3); }
};

TEST(MainProgress, LongDeleteCountsTheListAndLeavesThePanelTexts) {
    Scene s;
    s.files("viele", 250);
    s.d.folder("viele/unter");
    s.search("D:\\viele");
    ASSERT_EQ(s.w.resultEntries().size(), 251u);
    const QString before = s.panels();
    ASSERT_EQ(before, "Dateien 250|Verzeichnisse: 1|" + s.version());
    ASSERT_FALSE(s.bar->isVisibleTo(&s.w.window));

    // Each file's delete comes with the bar at that file's list position: the entries
    // before it are done, the folder entry counting like any other.
    std::vector<int> filePositions;
    for (std::size_t i = 0; i < s.w.resultEntries().size(); ++i)
        if (!std::string_view(s.w.resultEntries()[i]).starts_with(">>"))
            filePositions.push_back(static_cast<int>(i));

    s.prompts.answers = {Answer::Yes};
    s.w.run(s.w.deleteListed);

    // The panels keep the texts of the last search all the while.
    ASSERT_EQ(s.seen.size(), 250u);
    for (std::size_t i = 0; i < s.seen.size(); ++i) {
        const Seen& at = s.seen[i];
        ASSERT_TRUE(at.barVisible) << i;
        EXPECT_EQ(at.maximum, 251);
        EXPECT_EQ(at.value, filePositions[i]);
        EXPECT_EQ(at.barText, QStringLiteral("%1 von 251").arg(filePositions[i]));
        EXPECT_EQ(at.panels, before);
    }
    // Afterwards the bar is gone and the panels read what the new search counted.
    EXPECT_FALSE(s.bar->isVisibleTo(&s.w.window));
    EXPECT_EQ(s.panels(), "Dateien 0|Verzeichnisse: 1|" + s.version());
    EXPECT_EQ(s.prompts.shown.size(), 1u);
}

TEST(MainProgress, ShortListsShowNoBar) {
    Scene s;
    s.files("wenige", 200);
    s.search("D:\\wenige");
    ASSERT_EQ(s.w.resultEntries().size(), 200u);
    s.prompts.answers = {Answer::Yes};
    s.w.run(s.w.deleteListed);
    ASSERT_EQ(s.seen.size(), 200u);
    for (const Seen& at : s.seen)
        EXPECT_FALSE(at.barVisible);
    EXPECT_EQ(s.panels(), "Dateien 0|Verzeichnisse: 0|" + s.version());
}

TEST(MainProgress, LongMoveKeepsTheTargetTextWhileItRuns) {
    Scene s;
    s.files("quelle", 300);
    s.d.folder("ziel");
    s.search("D:\\quelle");
    // The target folder dialog's OK shows the target, then starts the move.
    const QString during =
        s.w.statusBar->panelText(1) + "|" + s.w.statusBar->panelText(2) + "|Zielordner: D:\\ziel";
    // As between two file systems, where no rename can do the move.
    s.fs.refuseMoves = true;
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<ui::TargetFolderDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(dialog->folderList->setPath("D:\\ziel"));
        dialog->okButton->click();
    });
    s.w.click(s.w.moveListed);

    // A copy and a delete per file.
    ASSERT_EQ(s.seen.size(), 600u);
    for (std::size_t i = 0; i < s.seen.size(); ++i) {
        ASSERT_TRUE(s.seen[i].barVisible) << i;
        EXPECT_EQ(s.seen[i].maximum, 300);
        EXPECT_EQ(s.seen[i].value, static_cast<int>(i / 2));
        EXPECT_EQ(s.seen[i].panels, during);
    }
    EXPECT_FALSE(s.bar->isVisibleTo(&s.w.window));
    EXPECT_EQ(s.panels(), "Dateien 0|Verzeichnisse: 0|" + s.version());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(s.d.path() / "ziel"),
                            std::filesystem::directory_iterator()),
              300);
    EXPECT_TRUE(s.prompts.shown.empty());
}

TEST(MainProgress, ClosingWhileADeleteSearchesAgainReportsAndLogsNothingMore) {
    Scene s;
    s.files("weg", 250);
    s.search("D:\\weg");
    ASSERT_EQ(s.w.resultEntries().size(), 250u);
    // The close request comes in while the search after the delete pass walks, as one from the
    // window manager would.
    bool closed = false;
    s.beforeListing = [&] {
        if (!s.seen.empty() && !closed) {
            closed = true;
            s.w.window.close();
        }
    };
    s.prompts.answers = {Answer::Yes, Answer::Yes};
    s.w.run(s.w.deleteListed);

    ASSERT_TRUE(closed);
    EXPECT_EQ(s.seen.size(), 250u);
    ASSERT_EQ(s.prompts.shown.size(), 2u);
    EXPECT_EQ(s.prompts.shown[1].text, QStringLiteral("Möchten Sie Tilgomat beenden?"));
    const std::string log = testsupport::readBytes(s.home.documents() / "Tilgomat.txt");
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 250);
    EXPECT_EQ(log.find("error delete"), std::string::npos);
    EXPECT_TRUE(s.w.resultEntries().empty());
}

TEST(MainProgress, ClosingDuringASearchEndsTheWalkAtOnce) {
    Scene s;
    for (int i = 0; i < 200; ++i)
        s.files("viele/o" + std::to_string(i), 1);
    // The close request comes from the window manager while the walk is under way; the walk
    // lets it through within a few milliseconds and goes no further.
    std::size_t listings = 0, listingsAtRequest = 0;
    s.beforeListing = [&] {
        ++listings;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (listings == 20) {
            listingsAtRequest = listings;
            QMetaObject::invokeMethod(&s.w.window, "close", Qt::QueuedConnection);
        }
    };
    s.w.window.show();
    s.prompts.answers = {Answer::Yes};
    s.search("D:\\viele", true);

    ASSERT_EQ(listingsAtRequest, 20u);
    EXPECT_FALSE(s.w.window.isVisible());
    ASSERT_EQ(s.prompts.shown.size(), 1u);
    EXPECT_EQ(s.prompts.shown[0].text, QStringLiteral("Möchten Sie Tilgomat beenden?"));
    // Events come at least every few milliseconds: a handful more folders, not the other 180.
    EXPECT_LT(listings, 60u);
    EXPECT_TRUE(s.w.resultEntries().empty());
}

TEST(MainProgress, SlowSearchShowsABusyBarQuickOneDoesNot) {
    Scene s;
    s.files("tief/a", 2);
    s.files("tief/b", 2);
    bool slow = false;
    std::vector<bool> barDuringListing;
    s.beforeListing = [&] {
        barDuringListing.push_back(s.bar->isVisibleTo(&s.w.window));
        if (slow && barDuringListing.size() == 1)
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
    };

    s.search("D:\\tief", true);
    EXPECT_EQ(barDuringListing, std::vector<bool>(3, false));

    // The first folder takes long; from the next one on the bar runs without a range.
    barDuringListing.clear();
    slow = true;
    s.search("D:\\tief", true);
    ASSERT_EQ(barDuringListing.size(), 3u);
    EXPECT_FALSE(barDuringListing[0]);
    EXPECT_TRUE(barDuringListing[1]);
    EXPECT_TRUE(barDuringListing[2]);
    EXPECT_FALSE(s.bar->isVisibleTo(&s.w.window));
    EXPECT_EQ(s.panels(), "Dateien 4|Verzeichnisse: 0|" + s.version());
}

} // namespace
