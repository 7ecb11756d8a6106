#include "ui/dialogs/target_folder_dialog.h"
#include "ui_events.h"

#include "main_window_scaffold.h"
#include "qt_app.h"
#include "scripted_prompts.h"
#include "support/faulty_platform.h"
#include "support/temp_tree.h"
#include "ui/controls/drive_list_box.h"
#include "ui/controls/folder_list_box.h"
#include "ui/controls/panel_status_bar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using testsupport::press;

namespace fs = std::filesystem;
using testsupport::FakeHome;
using testsupport::ScriptedPrompts;
using testsupport::TempDir;

// The main window as the dialog sees it when the user chose to move.
class ForMove : public ui::TargetFolderOwner {
public:
    explicit ForMove(ui::TargetFolderOwner& window) : m_window(window) {}
    platform::Platform& platform() override { return m_window.platform(); }
    ui::Prompts& prompts() override { return m_window.prompts(); }
    std::string& targetPath() override { return m_window.targetPath(); }
    platform::FileId& targetId() override { return m_window.targetId(); }
    bool moving() const override { return true; }
    void setPrefix(bool prefix) override { m_window.setPrefix(prefix); }
    void showTargetFolder() override { m_window.showTargetFolder(); }
    void copyOrMove() override { m_window.copyOrMove(); }

private:
    ui::TargetFolderOwner& m_window;
};

// d: is the fake home with the documents folder D:\Dokumente, which is also the working
// folder; e: is a second drive (current folder: its root); f: is a drive whose folder is gone.
struct Session {
    QApplication& app = testsupport::ensureApp();
    FakeHome home;
    TempDir e;
    testsupport::FaultyPlatform fs;
    ScriptedPrompts prompts;
    testsupport::MainWindowScaffold main;

    Session()
        : fs(platform::createPlatformOver({{'d', testsupport::utf8(home.home()), "Daten"},
                                           {'e', e.str(), "Extern"},
                                           {'f', testsupport::utf8(e.path() / "fehlt"), "Fehlt"}},
                                          home.documentsText(), home.documentsText())),
          main(fs, prompts) {
        prompts.shown.clear();
    }

    void documentsFolder(const std::string& relative) const {
        fs::create_directories(home.documents() / relative);
    }

    int messageCount() const {
        int n = 0;
        for (const auto& s : prompts.shown)
            n += s.isInput ? 0 : 1;
        return n;
    }
};

std::vector<std::string> subfolderNames(const ui::FolderListBox& box) {
    std::vector<std::string> texts;
    if (const QTreeWidgetItem* item = box.currentItem())
        for (int i = 0; i < item->childCount(); ++i)
            texts.push_back(item->child(i)->text(0).toStdString());
    return texts;
}

TEST(TargetFolderDialog, FirstOpeningStartsInDocumentsAndCancelPutsTheEmptyTargetBack) {
    Session s;
    ASSERT_TRUE(s.main.shared().targetFolder.empty());

    {
        ui::TargetFolderDialog dlg(s.main.targetFolderOwner(), &s.main.window);
        EXPECT_EQ(dlg.windowTitle(), "Kopieren - Zielverzeichnis auswählen");
        EXPECT_EQ(dlg.folderList->path(), "D:\\Dokumente");
        EXPECT_TRUE(dlg.driveList->drive().starts_with("d:"));
        EXPECT_EQ(s.main.shared().targetFolder, "D:\\Dokumente");
        EXPECT_EQ(dlg.targetAtOpening(), "");
        EXPECT_FALSE(dlg.prefixBox->isChecked());

        // Opening a folder in the list makes it the target.
        ASSERT_TRUE(dlg.folderList->setPath("D:\\"));
        EXPECT_EQ(s.main.shared().targetFolder, "D:\\");

        s.main.targetFolderOwner().setPrefix(true);
        dlg.cancelButton->click();
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(s.main.shared().targetFolder, "");
        EXPECT_FALSE(s.main.shared().prefix);
    }

    ForMove forMove(s.main.targetFolderOwner());
    ui::TargetFolderDialog again(forMove, &s.main.window);
    EXPECT_EQ(again.windowTitle(), "Verschieben - Zielverzeichnis auswählen");
    EXPECT_EQ(again.folderList->path(), "D:\\Dokumente");
    EXPECT_EQ(s.main.shared().targetFolder, "D:\\Dokumente");
    EXPECT_EQ(s.messageCount(), 0);
}

TEST(TargetFolderDialog, TargetOnAnotherDriveOpensInThatFolderNotAtTheDrivesCurrentFolder) {
    Session s;
    s.e.folder("Ziel/Unter");
    s.main.targetFolderOwner().targetPath() = "e:\\ziel\\unter";

    ui::TargetFolderDialog dlg(s.main.targetFolderOwner(), &s.main.window);
    EXPECT_EQ(dlg.folderList->path(), "E:\\Ziel\\Unter");
    EXPECT_TRUE(dlg.driveList->drive().starts_with("e:"));
    EXPECT_EQ(s.main.shared().targetFolder, "E:\\Ziel\\Unter");
    EXPECT_EQ(dlg.targetAtOpening(), "e:\\ziel\\unter");

    // Picking a drive moves the folder list to that drive's current folder.
    dlg.driveList->setDrive("d:");
    EXPECT_EQ(dlg.folderList->path(), "D:\\Dokumente");
    EXPECT_EQ(s.main.shared().targetFolder, "D:\\Dokumente");

    // A folder list set straight to another drive keeps that folder; the drive list follows.
    ASSERT_TRUE(dlg.folderList->setPath("E:\\Ziel"));
    EXPECT_EQ(dlg.folderList->path(), "E:\\Ziel");
    EXPECT_TRUE(dlg.driveList->drive().starts_with("e:"));
    EXPECT_EQ(s.main.shared().targetFolder, "E:\\Ziel");

    s.main.targetFolderOwner().setPrefix(true);
    dlg.cancelButton->click();
    EXPECT_EQ(s.main.shared().targetFolder, "e:\\ziel\\unter");
    EXPECT_FALSE(s.main.shared().prefix);
    EXPECT_EQ(s.messageCount(), 0);
}

TEST(TargetFolderDialog, UnreadableDriveShowsTheDriveListsMessageAndTheListsStay) {
    Session s;
    s.main.targetFolderOwner().targetPath() = "F:\\Weg";

    ui::TargetFolderDialog dlg(s.main.targetFolderOwner(), &s.main.window);
    EXPECT_EQ(s.messageCount(), 1);
    EXPECT_EQ(dlg.folderList->path(), "D:\\Dokumente");
    EXPECT_TRUE(dlg.driveList->drive().starts_with("d:"));
    // The target is what the folder list shows, never the unreachable start folder.
    EXPECT_EQ(s.main.shared().targetFolder, "D:\\Dokumente");

    dlg.driveList->setDrive("f:");
    EXPECT_EQ(s.messageCount(), 2);
    EXPECT_EQ(dlg.folderList->path(), "D:\\Dokumente");
    EXPECT_TRUE(dlg.driveList->drive().starts_with("d:"));
    EXPECT_EQ(s.main.shared().targetFolder, "D:\\Dokumente");

    dlg.cancelButton->click();
    EXPECT_EQ(s.main.shared().targetFolder, "F:\\Weg");
}

TEST(TargetFolderDialog, EscCancelsEnterConfirmsTitleBarCloseDoesNeither) {
    Session s;
    s.documentsFolder("Alt");

    {
        ui::TargetFolderDialog dlg(s.main.targetFolderOwner(), &s.main.window);
        dlg.show();
        ASSERT_TRUE(dlg.folderList->setPath("D:\\Dokumente\\Alt"));
        s.main.targetFolderOwner().setPrefix(true);
        press(dlg, Qt::Key_Escape);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(s.main.shared().targetFolder, "");
        EXPECT_FALSE(s.main.shared().prefix);
    }
    {
        ui::TargetFolderDialog dlg(s.main.targetFolderOwner(), &s.main.window);
        dlg.show();
        ASSERT_TRUE(dlg.folderList->setPath("D:\\Dokumente\\Alt"));
        s.main.targetFolderOwner().setPrefix(true);
        dlg.close();
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(s.main.shared().targetFolder, "D:\\Dokumente\\Alt");
        EXPECT_TRUE(s.main.shared().prefix);
        EXPECT_EQ(s.messageCount(), 0);
    }
    {
        // The next opening starts where the closed one stopped; Enter runs the copy, which
        // finds the result list empty and says so.
        ui::TargetFolderDialog dlg(s.main.targetFolderOwner(), &s.main.window);
        EXPECT_EQ(dlg.folderList->path(), "D:\\Dokumente\\Alt");
        dlg.show();
        press(dlg, Qt::Key_Return);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_FALSE(s.main.shared().prefix);
        ASSERT_EQ(s.messageCount(), 1);
        EXPECT_EQ(s.prompts.shown.back().text, "Liste ist leer!");
    }
}

TEST(TargetFolderDialog, NewFolder) {
    Session s;
    s.documentsFolder("Alt");
    ui::TargetFolderDialog dlg(s.main.targetFolderOwner(), &s.main.window);

    // No name: nothing is created, the folder list is only read again.
    s.documentsFolder("Neu von aussen");
    dlg.newFolderButton->click();
    ASSERT_EQ(s.prompts.shown.size(), 1u);
    EXPECT_TRUE(s.prompts.shown[0].isInput);
    EXPECT_EQ(s.prompts.shown[0].text, "Namen für neuen Ordner:");
    EXPECT_EQ(s.prompts.shown[0].title, "Neuen Ordner anlegen");
    EXPECT_EQ(dlg.folderList->path(), "D:\\Dokumente");
    EXPECT_EQ(subfolderNames(*dlg.folderList), (std::vector<std::string>{"Alt", "Neu von aussen"}));
    EXPECT_EQ(s.main.shared().targetFolder, "D:\\Dokumente");

    // An existing folder is simply opened.
    s.prompts.inputs = {"alt"};
    dlg.newFolderButton->click();
    EXPECT_EQ(dlg.folderList->path(), "D:\\Dokumente\\Alt");
    EXPECT_EQ(s.main.shared().targetFolder, "D:\\Dokumente\\Alt");

    // A new one is created under the folder shown and opened.
    s.prompts.inputs = {"Für später"};
    dlg.newFolderButton->click();
    EXPECT_TRUE(fs::is_directory(s.home.documents() / "Alt" / testsupport::pathOf("Für später")));
    EXPECT_EQ(dlg.folderList->path(), "D:\\Dokumente\\Alt\\Für später");
    EXPECT_EQ(s.main.shared().targetFolder, "D:\\Dokumente\\Alt\\Für später");

    // At a drive root the joined text holds two backslashes; the folder lands under the root.
    ASSERT_TRUE(dlg.folderList->setPath("E:\\"));
    s.prompts.inputs = {"Wurzel"};
    dlg.newFolderButton->click();
    EXPECT_TRUE(fs::is_directory(s.e.path() / "Wurzel"));
    EXPECT_EQ(dlg.folderList->path(), "E:\\Wurzel");
    EXPECT_EQ(s.main.shared().targetFolder, "E:\\Wurzel");

    // A name that cannot be created leaves the list where it was, the target names it.
    s.prompts.inputs = {"fehlt\\unten"};
    dlg.newFolderButton->click();
    EXPECT_FALSE(fs::exists(s.e.path() / "Wurzel" / "fehlt"));
    EXPECT_EQ(dlg.folderList->path(), "E:\\Wurzel");
    EXPECT_EQ(s.main.shared().targetFolder, "E:\\Wurzel\\fehlt\\unten");

    EXPECT_EQ(s.messageCount(), 0);
}

TEST(TargetFolderDialog, OkWithPrefixShowsTheTargetThenCopiesIntoIt) {
    Session s;
    s.e.file("Quelle/brief.txt", "Inhalt");
    s.e.folder("Ziel");
    s.main.search("E:\\Quelle", "*.txt", false);
    ASSERT_EQ(s.main.fileCount(), 1);

    s.main.targetFolderOwner().targetPath() = "E:\\Ziel";
    ui::TargetFolderDialog dlg(s.main.targetFolderOwner(), &s.main.window);
    dlg.prefixBox->setChecked(true);
    std::vector<std::string> panelDuringCopy;
    bool prefixDuringCopy = false;
    s.fs.beforeCall = [&](testsupport::Op op, std::string_view) {
        if (op != testsupport::Op::CopyFile)
            return;
        panelDuringCopy.push_back(s.main.statusBar->panelText(3).toStdString());
        prefixDuringCopy = s.main.shared().prefix;
    };
    dlg.okButton->click();

    EXPECT_EQ(panelDuringCopy, std::vector<std::string>{"Zielordner: E:\\Ziel"});
    EXPECT_TRUE(prefixDuringCopy);
    EXPECT_TRUE(s.main.shared().prefix);
    EXPECT_EQ(testsupport::readBytes(s.e.path() / "Ziel" / "000_brief.txt"), "Inhalt");
    EXPECT_TRUE(fs::exists(s.e.path() / "Quelle" / "brief.txt"));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(s.messageCount(), 0);
}

} // namespace
