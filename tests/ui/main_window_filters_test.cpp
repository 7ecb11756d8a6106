// The toolbar's button that shows hidden files, the view menu's Versteckt and System items and
// the file view they filter, kept in step; the commands' messages.

#include "main_window_scaffold.h"
#include "platform/platform.h"
#include "qt_app.h"
#include "scripted_prompts.h"
#include "support/temp_tree.h"
#include "ui/controls/file_list_box.h"
#include "ui/controls/folder_list_box.h"

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
        for (int i = 0; i < w->fileView->listCount(); ++i)
            if (w->fileView->entryName(i) == name)
                return true;
        return false;
    }
    // The three check marks and the button, as "hidden system readOnly button".
    std::string state() const {
        return std::string(w->hideHidden->isChecked() ? "H" : "-") +
               (w->hideSystem->isChecked() ? "S" : "-") +
               (w->hideReadOnly->isChecked() ? "R" : "-") +
               (w->showHidden->isChecked() ? "+" : "-");
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
    w->run(w->hideHidden);
    EXPECT_EQ(state(), "-S--");
    EXPECT_TRUE(shown("versteckt.txt"));
    EXPECT_FALSE(shown("system.txt"));
    w->run(w->hideSystem);
    EXPECT_EQ(state(), "---+");
    EXPECT_TRUE(shown("system.txt"));
    // And back: checking System again releases the button.
    w->run(w->hideSystem);
    EXPECT_EQ(state(), "-S--");
    EXPECT_FALSE(shown("system.txt"));
}

TEST_F(MainFilters, AttributePressedThenReleased) {
    w->run(w->hideHidden); // an earlier state that releasing must not restore
    w->click(w->showHidden);
    EXPECT_EQ(state(), "---+");
    for (const char* name : {"plain.txt", "versteckt.txt", "system.txt", "nurlesen.txt"})
        EXPECT_TRUE(shown(name)) << name;
    w->click(w->showHidden);
    EXPECT_EQ(state(), "HS--");
    EXPECT_FALSE(shown("versteckt.txt"));
    EXPECT_FALSE(shown("system.txt"));
    EXPECT_TRUE(shown("nurlesen.txt"));
}

TEST_F(MainFilters, VerstecktWhileAttributePressedReleasesIt) {
    w->click(w->showHidden);
    w->run(w->hideHidden);
    EXPECT_EQ(state(), "H---");
    EXPECT_FALSE(shown("versteckt.txt"));
    EXPECT_TRUE(shown("system.txt"));
}

TEST_F(MainFilters, FlagsWithoutChosenFileWarnsEvenWithEntriesListed) {
    w->folderEdit->setText(QString::fromStdString(fsImpl->documentsFolder()));
    w->run(w->listFiles);
    ASSERT_FALSE(w->resultEntries().empty());
    w->fileView->clearSelection();
    w->fileView->setCurrentRow(-1);
    ASSERT_TRUE(w->fileView->fileName().empty());
    w->click(w->editAttributes);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("Keine Datei ausgewählt!"));
    EXPECT_EQ(prompts.shown[0].title, QStringLiteral("Tilgomat"));
    EXPECT_EQ(prompts.shown[0].icon, ui::Prompts::Icon::Exclamation);
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
             [this] { w->run(w->showLog); }, [this] { w->click(w->showLog); },
             [this] { w->run(w->about); }, [this] { w->click(w->about); }}) {
        closeNextDialog();
        open();
    }
    w->fileView->setCurrentRow(0);
    ASSERT_FALSE(w->fileView->fileName().empty());
    closeNextDialog();
    w->click(w->editAttributes);
    EXPECT_EQ(opened, (QStringList{"ui::LogViewer", "ui::LogViewer", "ui::AboutBox", "ui::AboutBox",
                                   "ui::AttributesDialog"}));
}

} // namespace
