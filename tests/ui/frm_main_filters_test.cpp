// The toolbar's Attribute button, the view menu's Versteckt and System items and the file view
// they filter, kept in step; the dispatch's messages.

#include "main_window_scaffold.h"
#include "platform/platform.h"
#include "qt_app.h"
#include "scripted_prompts.h"
#include "support/temp_tree.h"
#include "ui/controls/file_list_box.h"
#include "ui/controls/folder_list_box.h"
#include "ui/controls/keyed_tool_bar.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <fstream>
#include <functional>

namespace {

class MainFilters : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::ensureApp();
        // The documents folder holds one file of each kind.
        const auto docs = home.documents();
        for (const char* name : {"plain.txt", "versteckt.txt", "system.txt", "nurlesen.txt"})
            std::ofstream(docs / name) << "x";
        fsImpl = platform::createPlatformOver({{'c', testsupport::utf8(home.home()), {}}},
                                              testsupport::utf8(home.home()), home.documentsText());
        const std::string folder = fsImpl->documentsFolder();
        ASSERT_FALSE(fsImpl->setAttributes(folder + "\\versteckt.txt", platform::Hidden));
        ASSERT_FALSE(fsImpl->setAttributes(folder + "\\system.txt", platform::System));
        ASSERT_FALSE(fsImpl->setAttributes(folder + "\\nurlesen.txt", platform::ReadOnly));
        w = std::make_unique<testsupport::MainWindowScaffold>(*fsImpl, prompts);
    }

    bool shown(const std::string& name) const {
        for (int i = 0; i < w->File1->listCount(); ++i)
            if (w->File1->entryName(i) == name)
                return true;
        return false;
    }
    // The three check marks and the button, as "hidden system readOnly button".
    std::string state() const {
        return std::string(w->mnuViewHidden->isChecked() ? "H" : "-") +
               (w->mnuViewSystem->isChecked() ? "S" : "-") +
               (w->mnuViewReadOnly->isChecked() ? "R" : "-") +
               (w->Toolbar1->isPressed(8) ? "+" : "-");
    }

    testsupport::FakeHome home;
    std::unique_ptr<platform::Platform> fsImpl;
    testsupport::ScriptedPrompts prompts;
    std::unique_ptr<testsupport::MainWindowScaffold> w;
};

TEST_F(MainFilters, StartShowsReadOnlyButNotHiddenOrSystem) {
    EXPECT_EQ(state(), "HS--");
    EXPECT_TRUE(shown("plain.txt"));
    EXPECT_TRUE(shown("nurlesen.txt"));
    EXPECT_FALSE(shown("versteckt.txt"));
    EXPECT_FALSE(shown("system.txt"));
}

TEST_F(MainFilters, VerstecktThenSystemPressesTheButton) {
    w->mnuViewHidden->trigger();
    EXPECT_EQ(state(), "-S--");
    EXPECT_TRUE(shown("versteckt.txt"));
    EXPECT_FALSE(shown("system.txt"));
    w->mnuViewSystem->trigger();
    EXPECT_EQ(state(), "---+");
    EXPECT_TRUE(shown("system.txt"));
    // And back: checking System again releases the button.
    w->mnuViewSystem->trigger();
    EXPECT_EQ(state(), "-S--");
    EXPECT_FALSE(shown("system.txt"));
}

TEST_F(MainFilters, AttributePressedThenReleased) {
    w->mnuViewHidden->trigger(); // an earlier state that releasing must not restore
    w->Toolbar1->click(8);
    EXPECT_EQ(state(), "---+");
    for (const char* name : {"plain.txt", "versteckt.txt", "system.txt", "nurlesen.txt"})
        EXPECT_TRUE(shown(name)) << name;
    w->Toolbar1->click(8);
    EXPECT_EQ(state(), "HS--");
    EXPECT_FALSE(shown("versteckt.txt"));
    EXPECT_FALSE(shown("system.txt"));
    EXPECT_TRUE(shown("nurlesen.txt"));
}

TEST_F(MainFilters, VerstecktWhileAttributePressedReleasesIt) {
    w->Toolbar1->click(8);
    w->mnuViewHidden->trigger();
    EXPECT_EQ(state(), "H---");
    EXPECT_FALSE(shown("versteckt.txt"));
    EXPECT_TRUE(shown("system.txt"));
}

TEST_F(MainFilters, FlagsWithoutChosenFileWarnsEvenWithEntriesListed) {
    w->txtFolderMask->setText(QString::fromStdString(fsImpl->documentsFolder()));
    w->cmdList->click();
    ASSERT_FALSE(w->resultEntries().empty());
    w->File1->clearSelection();
    w->File1->setCurrentRow(-1);
    ASSERT_TRUE(w->File1->fileName().empty());
    w->Toolbar1->click(9);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("Keine Datei ausgewählt!"));
    EXPECT_EQ(prompts.shown[0].title, QStringLiteral("Tilgomat"));
    EXPECT_EQ(prompts.shown[0].icon, ui::Prompts::Icon::Exclamation);
    // Separators deliver nothing.
    for (int separator : {2, 7, 10, 12})
        w->Toolbar1->click(separator);
    EXPECT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(state(), "HS--");
}

TEST_F(MainFilters, ViewerAboutAndFlagsOpenFromEveryPath) {
    // Each opener shows its dialog modally; the timer closes whatever dialog is open then.
    QStringList opened;
    auto closeNextDialog = [&opened] {
        QTimer::singleShot(0, [&opened] {
            QWidget* modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            opened << QString::fromLatin1(modal->metaObject()->className());
            modal->close();
        });
    };
    for (auto open : std::initializer_list<std::function<void()>>{
             [this] { w->mnuProtocoll->trigger(); }, [this] { w->Command1->click(); },
             [this] { w->Toolbar1->click(11); }, [this] { w->mnuAbout->trigger(); },
             [this] { w->Toolbar1->click(13); }}) {
        closeNextDialog();
        open();
    }
    w->File1->setCurrentRow(0);
    ASSERT_FALSE(w->File1->fileName().empty());
    closeNextDialog();
    w->Toolbar1->click(9);
    EXPECT_EQ(opened, (QStringList{"frmProtocoll", "frmProtocoll", "frmProtocoll", "frmAbout",
                                   "frmAbout", "frmFlags"}));
}

} // namespace
