#include "ui/dialogs/frmFileDialog.h"
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
    void CopyOrMove() override { m_window.CopyOrMove(); }

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

TEST(FrmFileDialog, FirstOpeningStartsInDocumentsAndCancelPutsTheEmptyTargetBack) {
    Session s;
    ASSERT_TRUE(s.main.shared().sTargetPath.empty());

    {
        frmFileDialog dlg(s.main.targetFolderOwner(), &s.main.window);
        EXPECT_EQ(dlg.windowTitle(), "Kopieren - Zielverzeichnis auswählen");
        EXPECT_EQ(dlg.Dir1->path(), "D:\\Dokumente");
        EXPECT_TRUE(dlg.Drive1->drive().starts_with("d:"));
        EXPECT_EQ(s.main.shared().sTargetPath, "D:\\Dokumente");
        EXPECT_EQ(dlg.sOldTargetPath, "");
        EXPECT_FALSE(dlg.chkPrefix->isChecked());

        // Opening a folder in the list makes it the target.
        ASSERT_TRUE(dlg.Dir1->setPath("D:\\"));
        EXPECT_EQ(s.main.shared().sTargetPath, "D:\\");

        s.main.targetFolderOwner().setPrefix(true);
        dlg.CancelButton->click();
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(s.main.shared().sTargetPath, "");
        EXPECT_FALSE(s.main.shared().bolPrefix);
    }

    ForMove forMove(s.main.targetFolderOwner());
    frmFileDialog again(forMove, &s.main.window);
    EXPECT_EQ(again.windowTitle(), "Verschieben - Zielverzeichnis auswählen");
    EXPECT_EQ(again.Dir1->path(), "D:\\Dokumente");
    EXPECT_EQ(s.main.shared().sTargetPath, "D:\\Dokumente");
    EXPECT_EQ(s.messageCount(), 0);
}

TEST(FrmFileDialog, TargetOnAnotherDriveOpensInThatFolderNotAtTheDrivesCurrentFolder) {
    Session s;
    s.e.folder("Ziel/Unter");
    s.main.targetFolderOwner().targetPath() = "e:\\ziel\\unter";

    frmFileDialog dlg(s.main.targetFolderOwner(), &s.main.window);
    EXPECT_EQ(dlg.Dir1->path(), "E:\\Ziel\\Unter");
    EXPECT_TRUE(dlg.Drive1->drive().starts_with("e:"));
    EXPECT_EQ(s.main.shared().sTargetPath, "E:\\Ziel\\Unter");
    EXPECT_EQ(dlg.sOldTargetPath, "e:\\ziel\\unter");

    // Picking a drive moves the folder list to that drive's current folder.
    dlg.Drive1->setDrive("d:");
    EXPECT_EQ(dlg.Dir1->path(), "D:\\Dokumente");
    EXPECT_EQ(s.main.shared().sTargetPath, "D:\\Dokumente");

    // A folder list set straight to another drive keeps that folder; the drive list follows.
    ASSERT_TRUE(dlg.Dir1->setPath("E:\\Ziel"));
    EXPECT_EQ(dlg.Dir1->path(), "E:\\Ziel");
    EXPECT_TRUE(dlg.Drive1->drive().starts_with("e:"));
    EXPECT_EQ(s.main.shared().sTargetPath, "E:\\Ziel");

    s.main.targetFolderOwner().setPrefix(true);
    dlg.CancelButton->click();
    EXPECT_EQ(s.main.shared().sTargetPath, "e:\\ziel\\unter");
    EXPECT_FALSE(s.main.shared().bolPrefix);
    EXPECT_EQ(s.messageCount(), 0);
}

TEST(FrmFileDialog, UnreadableDriveShowsTheDriveListsMessageAndTheListsStay) {
    Session s;
    s.main.targetFolderOwner().targetPath() = "F:\\Weg";

    frmFileDialog dlg(s.main.targetFolderOwner(), &s.main.window);
    EXPECT_EQ(s.messageCount(), 1);
    EXPECT_EQ(dlg.Dir1->path(), "D:\\Dokumente");
    EXPECT_TRUE(dlg.Drive1->drive().starts_with("d:"));
    // The target is what the folder list shows, never the unreachable start folder.
    EXPECT_EQ(s.main.shared().sTargetPath, "D:\\Dokumente");

    dlg.Drive1->setDrive("f:");
    EXPECT_EQ(s.messageCount(), 2);
    EXPECT_EQ(dlg.Dir1->path(), "D:\\Dokumente");
    EXPECT_TRUE(dlg.Drive1->drive().starts_with("d:"));
    EXPECT_EQ(s.main.shared().sTargetPath, "D:\\Dokumente");

    dlg.CancelButton->click();
    EXPECT_EQ(s.main.shared().sTargetPath, "F:\\Weg");
}

TEST(FrmFileDialog, EscCancelsEnterConfirmsTitleBarCloseDoesNeither) {
    Session s;
    s.documentsFolder("Alt");

    {
        frmFileDialog dlg(s.main.targetFolderOwner(), &s.main.window);
        dlg.show();
        ASSERT_TRUE(dlg.Dir1->setPath("D:\\Dokumente\\Alt"));
        s.main.targetFolderOwner().setPrefix(true);
        press(dlg, Qt::Key_Escape);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_EQ(s.main.shared().sTargetPath, "");
        EXPECT_FALSE(s.main.shared().bolPrefix);
    }
    {
        frmFileDialog dlg(s.main.targetFolderOwner(), &s.main.window);
        dlg.show();
        ASSERT_TRUE(dlg.Dir1->setPath("D:\\Dokumente\\Alt"));
        s.main.targetFolderOwner().setPrefix(true);
        dlg.close();
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(s.main.shared().sTargetPath, "D:\\Dokumente\\Alt");
        EXPECT_TRUE(s.main.shared().bolPrefix);
        EXPECT_EQ(s.messageCount(), 0);
    }
    {
        // The next opening starts where the closed one stopped; Enter runs the copy, which
        // finds the result list empty and says so.
        frmFileDialog dlg(s.main.targetFolderOwner(), &s.main.window);
        EXPECT_EQ(dlg.Dir1->path(), "D:\\Dokumente\\Alt");
        dlg.show();
        press(dlg, Qt::Key_Return);
        EXPECT_FALSE(dlg.isVisible());
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_FALSE(s.main.shared().bolPrefix);
        ASSERT_EQ(s.messageCount(), 1);
        EXPECT_EQ(s.prompts.shown.back().text, "Liste ist leer!");
    }
}

TEST(FrmFileDialog, NewFolder) {
    Session s;
    s.documentsFolder("Alt");
    frmFileDialog dlg(s.main.targetFolderOwner(), &s.main.window);

    // No name: nothing is created, the folder list is only read again.
    s.documentsFolder("Neu von aussen");
    dlg.cmdNewFolder->click();
    ASSERT_EQ(s.prompts.shown.size(), 1u);
    EXPECT_TRUE(s.prompts.shown[0].isInput);
    EXPECT_EQ(s.prompts.shown[0].text, "Namen für neuen Ordner:");
    EXPECT_EQ(s.prompts.shown[0].title, "Neuen Ordner anlegen");
    EXPECT_EQ(dlg.Dir1->path(), "D:\\Dokumente");
    EXPECT_EQ(subfolderNames(*dlg.Dir1), (std::vector<std::string>{"Alt", "Neu von aussen"}));
    EXPECT_EQ(s.main.shared().sTargetPath, "D:\\Dokumente");

    // An existing folder is simply opened.
    s.prompts.inputs = {"alt"};
    dlg.cmdNewFolder->click();
    EXPECT_EQ(dlg.sNewFolder, "alt");
    EXPECT_EQ(dlg.Dir1->path(), "D:\\Dokumente\\Alt");
    EXPECT_EQ(s.main.shared().sTargetPath, "D:\\Dokumente\\Alt");

    // A new one is created under the folder shown and opened.
    s.prompts.inputs = {"Für später"};
    dlg.cmdNewFolder->click();
    EXPECT_TRUE(fs::is_directory(s.home.documents() / "Alt" / testsupport::pathOf("Für später")));
    EXPECT_EQ(dlg.Dir1->path(), "D:\\Dokumente\\Alt\\Für später");
    EXPECT_EQ(s.main.shared().sTargetPath, "D:\\Dokumente\\Alt\\Für später");

    // At a drive root the joined text holds two backslashes; the folder lands under the root.
    ASSERT_TRUE(dlg.Dir1->setPath("E:\\"));
    s.prompts.inputs = {"Wurzel"};
    dlg.cmdNewFolder->click();
    EXPECT_TRUE(fs::is_directory(s.e.path() / "Wurzel"));
    EXPECT_EQ(dlg.Dir1->path(), "E:\\Wurzel");
    EXPECT_EQ(s.main.shared().sTargetPath, "E:\\Wurzel");

    // A name that cannot be created leaves the list where it was, the target names it.
    s.prompts.inputs = {"fehlt\\unten"};
    dlg.cmdNewFolder->click();
    EXPECT_FALSE(fs::exists(s.e.path() / "Wurzel" / "fehlt"));
    EXPECT_EQ(dlg.Dir1->path(), "E:\\Wurzel");
    EXPECT_EQ(s.main.shared().sTargetPath, "E:\\Wurzel\\fehlt\\unten");

    EXPECT_EQ(s.messageCount(), 0);
}

TEST(FrmFileDialog, OkWithPrefixShowsTheTargetThenCopiesIntoIt) {
    Session s;
    s.e.file("Quelle/brief.txt", "Inhalt");
    s.e.folder("Ziel");
    s.main.txtFolderMask->setText("E:\\Quelle");
    s.main.cboMuster->setCurrentText("*.txt");
    s.main.cmdList->click();
    ASSERT_EQ(s.main.fileCount(), 1);

    s.main.targetFolderOwner().targetPath() = "E:\\Ziel";
    frmFileDialog dlg(s.main.targetFolderOwner(), &s.main.window);
    dlg.chkPrefix->setChecked(true);
    std::vector<std::string> panelDuringCopy;
    bool prefixDuringCopy = false;
    s.fs.beforeCall = [&](testsupport::Op op, std::string_view) {
        if (op != testsupport::Op::CopyFile)
            return;
        panelDuringCopy.push_back(s.main.StatusBar1->panelText(3).toStdString());
        prefixDuringCopy = s.main.shared().bolPrefix;
    };
    dlg.OKButton->click();

    EXPECT_EQ(panelDuringCopy, std::vector<std::string>{"Zielordner: E:\\Ziel"});
    EXPECT_TRUE(prefixDuringCopy);
    EXPECT_TRUE(s.main.shared().bolPrefix);
    EXPECT_EQ(testsupport::readBytes(s.e.path() / "Ziel" / "000_brief.txt"), "Inhalt");
    EXPECT_TRUE(fs::exists(s.e.path() / "Quelle" / "brief.txt"));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(s.messageCount(), 0);
}

} // namespace
