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
#include "ui/controls/keyed_tool_bar.h"
#include "ui/controls/panel_status_bar.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

using testsupport::FakeHome;
using testsupport::ScriptedPrompts;
using testsupport::TempDir;
using Answer = ui::Prompts::Answer;

// A main window on a drive table of temporary folders: c: is the host root (it holds the fake
// home and its documents folder), d: and e: are folders of their own.
struct MainFixture : ::testing::Test {
    FakeHome home;
    TempDir d, e;
    std::unique_ptr<platform::Platform> fs;
    ScriptedPrompts prompts;
    std::unique_ptr<testsupport::MainWindowScaffold> w;

    void SetUp() override {
        testsupport::ensureApp();
        fs = platform::createPlatformOver(
            {{'c', testsupport::hostRoot(), ""}, {'d', d.str(), "DATEN"}, {'e', e.str(), "EXTRA"}},
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
    EXPECT_EQ(w->StatusBar1->panelText(1), QStringLiteral("Dateien: 0"));
    EXPECT_EQ(w->StatusBar1->panelText(2), QStringLiteral("Verzeichnisse: 0"));
    EXPECT_TRUE(w->StatusBar1->panelText(3).endsWith(QStringLiteral(" Release 1.2.3")));
    EXPECT_EQ(w->cboMuster->currentText(), QStringLiteral("*.*"));
    ASSERT_EQ(w->cboMuster->count(), 24);
    EXPECT_EQ(w->cboMuster->itemText(0), QStringLiteral("*.*"));
    EXPECT_EQ(w->cboMuster->itemText(23), QStringLiteral("*.wmf"));
    EXPECT_TRUE(w->txtFolderMask->text().isEmpty());
    EXPECT_FALSE(w->shpMarker->isVisibleTo(&w->window));
    // The three views and sPath show the documents folder.
    EXPECT_EQ(w->shared().sPath, documents());
    EXPECT_EQ(w->Dir1->path(), documents());
    EXPECT_EQ(w->File1->path(), documents());
    EXPECT_EQ(w->Drive1->drive().substr(0, 2), "c:");
    EXPECT_TRUE(w->shared().sTargetPath.empty());
    EXPECT_FALSE(w->shared().bolMove);
    EXPECT_FALSE(w->shared().bolPrefix);
    // Menus and toolbar.
    EXPECT_FALSE(w->mnuCut->isEnabled());
    EXPECT_FALSE(w->mnuCopy->isEnabled());
    EXPECT_FALSE(w->mnuPaste->isEnabled());
    EXPECT_TRUE(w->mnuViewHidden->isChecked());
    EXPECT_TRUE(w->mnuViewSystem->isChecked());
    EXPECT_FALSE(w->mnuViewReadOnly->isChecked());
    EXPECT_FALSE(w->mnuViewReadOnly->isEnabled());
    ASSERT_EQ(w->Toolbar1->buttonCount(), 13);
    EXPECT_EQ(w->Toolbar1->key(8), QStringLiteral("Attribute"));
    EXPECT_FALSE(w->Toolbar1->isPressed(8));
    for (int separator : {2, 7, 10, 12})
        EXPECT_TRUE(w->Toolbar1->isSeparator(separator));
    // Nothing of the hidden row is visible.
    w->window.show();
    for (QWidget* hidden :
         std::initializer_list<QWidget*>{w->Command1, w->Text1, w->Text2, w->Text3, w->cmdList,
                                         w->Label3, w->Label4, w->Label5, w->Label6})
        EXPECT_FALSE(hidden->isVisible());
    EXPECT_TRUE(prompts.shown.empty());
    w->window.hide();
}

TEST_F(MainFixture, ClosingAsksFromEveryPath) {
    w->window.show();
    // No keeps the window as it was.
    prompts.answers = {Answer::No, Answer::No, Answer::No};
    EXPECT_FALSE(w->window.close());
    w->mnuEnd->trigger();
    w->Toolbar1->click(1);
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
    w->Toolbar1->click(1);
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
    EXPECT_EQ(w->StatusBar1->panelText(1), QStringLiteral("Dateien 2"));
    EXPECT_EQ(w->StatusBar1->panelText(2), QStringLiteral("Verzeichnisse: 2"));
    EXPECT_TRUE(w->StatusBar1->panelText(3).endsWith(QStringLiteral(" Release 1.2.3")));
    EXPECT_EQ(w->Label6->text(), QStringLiteral("2"));
    EXPECT_EQ(w->Label5->text(), QStringLiteral("2"));
    EXPECT_TRUE(w->shpMarker->isVisibleTo(&w->window));
    EXPECT_EQ(w->List1->model()->rowCount(), 4);

    search("D:\\Daten\\", QStringLiteral("*.txt"), true);
    list = entries();
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(std::count(list.begin(), list.end(), "    d:\\daten\\Archiv\\Alt.TXT"), 1);
    EXPECT_EQ(w->StatusBar1->panelText(1), QStringLiteral("Dateien 3"));
    EXPECT_EQ(w->StatusBar1->panelText(2), QStringLiteral("Verzeichnisse: 0"));

    // Selecting an entry changes nothing else.
    const QString mask = w->txtFolderMask->text();
    const std::string path = w->shared().sPath;
    w->List1->setCurrentIndex(w->List1->model()->index(0, 0));
    EXPECT_EQ(w->txtFolderMask->text(), mask);
    EXPECT_EQ(w->shared().sPath, path);
    EXPECT_TRUE(w->shpMarker->isVisibleTo(&w->window));
    EXPECT_EQ(w->StatusBar1->panelText(1), QStringLiteral("Dateien 3"));

    // Opening a folder (on the drive in view, as the folder list offers it) hides the marker
    // and keeps the old entries.
    w->Drive1->setDrive("d:");
    search("D:\\Daten\\", QStringLiteral("*.txt"), true);
    ASSERT_TRUE(w->shpMarker->isVisibleTo(&w->window));
    ASSERT_TRUE(w->Dir1->setPath("D:\\Daten\\Archiv"));
    EXPECT_FALSE(w->shpMarker->isVisibleTo(&w->window));
    EXPECT_EQ(w->txtFolderMask->text(), QStringLiteral("D:\\Daten\\Archiv"));
    EXPECT_EQ(w->shared().sPath, "D:\\Daten\\Archiv");
    EXPECT_EQ(w->File1->path(), "D:\\Daten\\Archiv");
    EXPECT_EQ(entries().size(), 3u);
    // A missing start folder gives an empty list and zero counts.
    search("D:\\gibt-es-nicht", QStringLiteral("*.*"), true);
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(w->StatusBar1->panelText(1), QStringLiteral("Dateien 0"));
    EXPECT_EQ(w->StatusBar1->panelText(2), QStringLiteral("Verzeichnisse: 0"));
}

TEST_F(MainFixture, SecondSearchDuringWalkIsRefused) {
    for (int i = 0; i < 5; ++i)
        d.file("t/sub" + std::to_string(i) + "/f.txt", "x");
    // The timer fires inside the walk's event processing and asks for another search.
    QTimer::singleShot(0, &w->window, [this] { w->cmdList->click(); });
    search("D:\\t", QStringLiteral("*.*"), true);
    EXPECT_EQ(entries().size(), 5u);
    EXPECT_EQ(w->StatusBar1->panelText(1), QStringLiteral("Dateien 5"));
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
    EXPECT_EQ(w->StatusBar1->panelText(1), QStringLiteral("Dateien: 0"));
}

TEST_F(MainFixture, DriveChangeEndsOnTheDrivesCurrentFolder) {
    d.folder("unter");
    e.folder("woanders");
    w->Drive1->setDrive("d:");
    EXPECT_EQ(w->Dir1->path(), "D:\\");
    EXPECT_EQ(w->File1->path(), "D:\\");
    EXPECT_EQ(w->shared().sPath, "D:\\");
    EXPECT_EQ(w->txtFolderMask->text(), QStringLiteral("D:\\"));
    ASSERT_TRUE(w->Dir1->setPath("D:\\unter"));
    EXPECT_EQ(w->Drive1->drive().substr(0, 2), "d:");
    w->Drive1->setDrive("E:\\woanders");
    EXPECT_EQ(w->Drive1->drive().substr(0, 2), "e:");
    EXPECT_EQ(w->Dir1->path(), "E:\\");
    EXPECT_EQ(w->shared().sPath, "E:\\");
    EXPECT_EQ(w->txtFolderMask->text(), QStringLiteral("E:\\"));
    EXPECT_FALSE(w->shpMarker->isVisibleTo(&w->window));
}

TEST_F(MainFixture, ListCommandsOnEmptyListWarn) {
    w->Toolbar1->click(4);
    w->Toolbar1->click(5);
    w->Toolbar1->click(6);
    w->mnuDeleteAll->trigger();
    w->mnuFileCopy->trigger();
    w->mnuFileMove->trigger();
    ASSERT_EQ(prompts.shown.size(), 6u);
    for (const auto& box : prompts.shown) {
        EXPECT_EQ(box.text, QStringLiteral("Liste ist leer!"));
        EXPECT_EQ(box.title, QStringLiteral("Tilgomat"));
        EXPECT_EQ(box.icon, ui::Prompts::Icon::Exclamation);
    }
}

} // namespace
