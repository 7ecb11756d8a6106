#include "main_window_scaffold.h"
#include "platform/platform.h"
#include "qt_app.h"
#include "scripted_prompts.h"
#include "support/entry_texts.h"
#include "support/result_value.h"
#include "support/temp_tree.h"
#include "ui/controls/drive_list_box.h"
#include "ui/controls/file_list_box.h"
#include "ui/controls/folder_list_box.h"
#include "ui/controls/panel_status_bar.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

#include <memory>

namespace {

using testsupport::FakeHome;
using testsupport::ScriptedPrompts;
using testsupport::TempDir;
using Answer = ui::Prompts::Answer;

// A main window on a drive table of temporary folders: c: is the fake home with its documents
// folder, d: and e: are folders of their own.
struct MainFixture : ::testing::Test {
    FakeHome home;
    TempDir d, e;
    std::unique_ptr<platform::Platform> fs;
    ScriptedPrompts prompts;
    std::unique_ptr<testsupport::MainWindowScaffold> w;

    void SetUp() override {
        testsupport::ensureApp();
        fs = platform::createPlatformOver({{'c', testsupport::utf8(home.home()), ""},
                                           {'d', d.str(), "DATEN"},
                                           {'e', e.str(), "EXTRA"}},
                                          testsupport::utf8(home.home()), home.documentsText());
        w = std::make_unique<testsupport::MainWindowScaffold>(*fs, prompts);
    }

    std::string documents() const {
        return testsupport::valueOf(fs->canonicalPath(fs->documentsFolder()));
    }

    std::vector<std::string> entries() const { return testsupport::entryTexts(w->resultEntries()); }

    void search(const std::string& folder, const QString& pattern, bool subfolders) {
        w->search(QString::fromStdString(folder), pattern, subfolders);
    }
};

TEST_F(MainFixture, StartUpState) {
    EXPECT_EQ(w->window.windowTitle(), QStringLiteral("Tilgomat"));
    EXPECT_EQ(w->statusBar->panelText(1), QStringLiteral("Dateien: 0"));
    EXPECT_EQ(w->statusBar->panelText(2), QStringLiteral("Verzeichnisse: 0"));
    EXPECT_TRUE(w->statusBar->panelText(3).endsWith(QStringLiteral(" Release 1.2.3")));
    EXPECT_EQ(w->pattern->currentText(), QStringLiteral("*.*"));
    ASSERT_EQ(w->pattern->count(), 24);
    EXPECT_EQ(w->pattern->itemText(0), QStringLiteral("*.*"));
    EXPECT_EQ(w->pattern->itemText(23), QStringLiteral("*.wmf"));
    EXPECT_TRUE(w->folderEdit->text().isEmpty());
    EXPECT_FALSE(w->listMarker->isVisibleTo(&w->window));
    // The three views and the viewed folder are the documents folder.
    EXPECT_EQ(w->shared().viewedFolder, documents());
    EXPECT_EQ(w->folderView->path(), documents());
    EXPECT_EQ(w->fileView->path(), documents());
    EXPECT_EQ(w->driveList->drive().substr(0, 2), "c:");
    EXPECT_TRUE(w->shared().targetFolder.empty());
    EXPECT_FALSE(w->shared().move);
    EXPECT_FALSE(w->shared().prefix);
    // Menus and toolbar: the menu items and the tool buttons of a command are one action.
    EXPECT_FALSE(w->cut->isEnabled());
    EXPECT_FALSE(w->copy->isEnabled());
    EXPECT_FALSE(w->paste->isEnabled());
    EXPECT_TRUE(w->hideHidden->isChecked());
    EXPECT_TRUE(w->hideSystem->isChecked());
    EXPECT_FALSE(w->hideReadOnly->isChecked());
    EXPECT_FALSE(w->hideReadOnly->isEnabled());
    EXPECT_FALSE(w->showHidden->isChecked());
    const QList<QAction*> buttons = w->toolBar->actions();
    const std::vector<QAction*> commands = {
        w->exit,       nullptr, w->listFiles,  w->deleteListed,   w->copyListed,
        w->moveListed, nullptr, w->showHidden, w->editAttributes, nullptr,
        w->showLog,    nullptr, w->about};
    ASSERT_EQ(buttons.size(), static_cast<qsizetype>(commands.size()));
    for (std::size_t i = 0; i < commands.size(); ++i) {
        SCOPED_TRACE(i);
        if (commands[i])
            EXPECT_EQ(buttons[static_cast<qsizetype>(i)], commands[i]);
        else
            EXPECT_TRUE(buttons[static_cast<qsizetype>(i)]->isSeparator());
    }
    for (QAction* command : {w->exit, w->deleteListed, w->copyListed, w->moveListed, w->listFiles,
                             w->showLog, w->about}) {
        const QList<QObject*> shownIn = command->associatedObjects();
        EXPECT_TRUE(std::any_of(shownIn.begin(), shownIn.end(), [](QObject* o) {
            return qobject_cast<QMenu*>(o);
        })) << command->text().toStdString();
    }
    EXPECT_TRUE(prompts.shown.empty());
}

TEST_F(MainFixture, ClosingAsksFromEveryPath) {
    w->window.show();
    // No keeps the window as it was.
    prompts.answers = {Answer::No, Answer::No, Answer::No};
    EXPECT_FALSE(w->window.close());
    w->run(w->exit);
    w->click(w->exit);
    ASSERT_EQ(prompts.shown.size(), 3u);
    for (const auto& box : prompts.shown) {
        EXPECT_EQ(box.text, QStringLiteral("Möchten Sie Tilgomat beenden?"));
        EXPECT_EQ(box.title, QStringLiteral("Programmende"));
        EXPECT_EQ(box.icon, ui::Prompts::Icon::Question);
        EXPECT_EQ(box.buttons, ui::Prompts::Buttons::YesNo);
    }
    EXPECT_TRUE(w->window.isVisible());
    // Yes closes it.
    prompts.answers = {Answer::Yes};
    w->click(w->exit);
    EXPECT_FALSE(w->window.isVisible());
}

TEST_F(MainFixture, SearchFillsListCountsAndMarker) {
    d.file("Daten/Brief.txt", "x");
    d.file("Daten/notiz.TXT", "x");
    d.file("Daten/bild.png", "x");
    d.folder("Daten/Archiv");
    d.file("Daten/Archiv/Alt.TXT", "x");
    d.folder("Daten/Leer");

    search("D:\\Daten", QStringLiteral("*.txt"), false);
    auto list = entries();
    EXPECT_EQ(list.size(), 4u);
    EXPECT_EQ(std::count(list.begin(), list.end(), "    d:\\daten\\Brief.txt"), 1);
    EXPECT_EQ(std::count(list.begin(), list.end(), "    d:\\daten\\notiz.TXT"), 1);
    EXPECT_EQ(std::count(list.begin(), list.end(), ">>d:\\daten\\Archiv"), 1);
    EXPECT_EQ(std::count(list.begin(), list.end(), ">>d:\\daten\\Leer"), 1);
    EXPECT_EQ(w->statusBar->panelText(1), QStringLiteral("Dateien 2"));
    EXPECT_EQ(w->statusBar->panelText(2), QStringLiteral("Verzeichnisse: 2"));
    EXPECT_TRUE(w->statusBar->panelText(3).endsWith(QStringLiteral(" Release 1.2.3")));
    EXPECT_EQ(w->fileCount(), 2);
    EXPECT_EQ(w->folderCount(), 2);
    EXPECT_TRUE(w->listMarker->isVisibleTo(&w->window));
    EXPECT_EQ(w->resultList->model()->rowCount(), 4);

    search("D:\\Daten\\", QStringLiteral("*.txt"), true);
    list = entries();
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(std::count(list.begin(), list.end(), "    d:\\daten\\Archiv\\Alt.TXT"), 1);
    EXPECT_EQ(w->statusBar->panelText(1), QStringLiteral("Dateien 3"));
    EXPECT_EQ(w->statusBar->panelText(2), QStringLiteral("Verzeichnisse: 0"));

    // Selecting an entry changes nothing else.
    const QString mask = w->folderEdit->text();
    const std::string path = w->shared().viewedFolder;
    w->resultList->setCurrentIndex(w->resultList->model()->index(0, 0));
    EXPECT_EQ(w->folderEdit->text(), mask);
    EXPECT_EQ(w->shared().viewedFolder, path);
    EXPECT_TRUE(w->listMarker->isVisibleTo(&w->window));
    EXPECT_EQ(w->statusBar->panelText(1), QStringLiteral("Dateien 3"));

    // Opening a folder (on the drive in view, as the folder list offers it) hides the marker
    // and keeps the old entries.
    w->driveList->setDrive("d:");
    search("D:\\Daten\\", QStringLiteral("*.txt"), true);
    ASSERT_TRUE(w->listMarker->isVisibleTo(&w->window));
    ASSERT_TRUE(w->folderView->setPath("D:\\Daten\\Archiv"));
    EXPECT_FALSE(w->listMarker->isVisibleTo(&w->window));
    EXPECT_EQ(w->folderEdit->text(), QStringLiteral("D:\\Daten\\Archiv"));
    EXPECT_EQ(w->shared().viewedFolder, "D:\\Daten\\Archiv");
    EXPECT_EQ(w->fileView->path(), "D:\\Daten\\Archiv");
    EXPECT_EQ(entries().size(), 3u);
    // A missing start folder gives an empty list and zero counts.
    search("D:\\gibt-es-nicht", QStringLiteral("*.*"), true);
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(w->statusBar->panelText(1), QStringLiteral("Dateien 0"));
    EXPECT_EQ(w->statusBar->panelText(2), QStringLiteral("Verzeichnisse: 0"));
}

TEST_F(MainFixture, SecondSearchDuringWalkIsRefused) {
    for (int i = 0; i < 5; ++i)
        d.file("t/sub" + std::to_string(i) + "/f.txt", "x");
    // The timer fires inside the walk's event processing and asks for another search.
    QTimer::singleShot(0, &w->window, [this] { w->run(w->listFiles); });
    search("D:\\t", QStringLiteral("*.*"), true);
    EXPECT_EQ(entries().size(), 5u);
    EXPECT_EQ(w->statusBar->panelText(1), QStringLiteral("Dateien 5"));
}

TEST_F(MainFixture, ClosingDuringWalkEndsCleanly) {
    for (int i = 0; i < 5; ++i)
        d.file("t/sub" + std::to_string(i) + "/f.txt", "x");
    w->window.show();
    prompts.answers = {Answer::Yes};
    QTimer::singleShot(0, &w->window, [this] { w->window.close(); });
    search("D:\\t", QStringLiteral("*.*"), true);
    // The walk's result is left aside and the window is gone.
    EXPECT_FALSE(w->window.isVisible());
    EXPECT_EQ(prompts.shown.size(), 1u);
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(w->statusBar->panelText(1), QStringLiteral("Dateien: 0"));
}

TEST_F(MainFixture, DriveChangeEndsOnTheDrivesCurrentFolder) {
    d.folder("unter");
    e.folder("woanders");
    w->driveList->setDrive("d:");
    EXPECT_EQ(w->folderView->path(), "D:\\");
    EXPECT_EQ(w->fileView->path(), "D:\\");
    EXPECT_EQ(w->shared().viewedFolder, "D:\\");
    EXPECT_EQ(w->folderEdit->text(), QStringLiteral("D:\\"));
    ASSERT_TRUE(w->folderView->setPath("D:\\unter"));
    EXPECT_EQ(w->driveList->drive().substr(0, 2), "d:");
    w->driveList->setDrive("E:\\woanders");
    EXPECT_EQ(w->driveList->drive().substr(0, 2), "e:");
    EXPECT_EQ(w->folderView->path(), "E:\\");
    EXPECT_EQ(w->shared().viewedFolder, "E:\\");
    EXPECT_EQ(w->folderEdit->text(), QStringLiteral("E:\\"));
    EXPECT_FALSE(w->listMarker->isVisibleTo(&w->window));
}

TEST_F(MainFixture, ListCommandsOnEmptyListWarn) {
    for (QAction* command : {w->deleteListed, w->copyListed, w->moveListed}) {
        w->click(command);
        w->run(command);
    }
    ASSERT_EQ(prompts.shown.size(), 6u);
    for (const auto& box : prompts.shown) {
        EXPECT_EQ(box.text, QStringLiteral("Liste ist leer!"));
        EXPECT_EQ(box.title, QStringLiteral("Tilgomat"));
        EXPECT_EQ(box.icon, ui::Prompts::Icon::Exclamation);
    }
}

} // namespace
