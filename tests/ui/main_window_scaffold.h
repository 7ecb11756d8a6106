#pragma once

// The tests' one main-window scaffold: the window over a platform and scripted boxes of the
// test's own, with its controls found by their names, as the user and the other windows reach
// them, and the steps several tests share.

#include "ui/controls/drive_list_box.h"
#include "ui/controls/file_list_box.h"
#include "ui/controls/folder_list_box.h"
#include "ui/controls/keyed_tool_bar.h"
#include "ui/controls/panel_status_bar.h"
#include "ui/dialogs/frmFlags.h"
#include "ui/dialogs/target_folder_owner.h"
#include "ui/main/frmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>

namespace testsupport {

// The attributes dialog on the file chosen in a file view, as the main window opens it.
inline frmFlags flagsDialog(ui::FileListBox& view, platform::Platform& fs, ui::Prompts& prompts) {
    return frmFlags(
        view.path(), view.fileName(), [&view] { view.refresh(); }, fs, prompts);
}

class MainWindowScaffold {
public:
    MainWindowScaffold(platform::Platform& fs, ui::Prompts& prompts) : window(fs, prompts) {}

    frmMain window;

    template <class T> T* control(const char* name) {
        return window.findChild<T*>(QString::fromLatin1(name));
    }

    ui::PanelStatusBar* StatusBar1 = control<ui::PanelStatusBar>("StatusBar1");
    QPushButton* Command1 = control<QPushButton>("Command1");
    QLineEdit* Text3 = control<QLineEdit>("Text3");
    QLineEdit* Text2 = control<QLineEdit>("Text2");
    QLineEdit* Text1 = control<QLineEdit>("Text1");
    QPushButton* cmdList = control<QPushButton>("cmdList");
    QCheckBox* Check1 = control<QCheckBox>("Check1");
    QComboBox* cboMuster = control<QComboBox>("cboMuster");
    QListView* List1 = control<QListView>("List1");
    ui::KeyedToolBar* Toolbar1 = control<ui::KeyedToolBar>("Toolbar1");
    QLineEdit* txtFolderMask = control<QLineEdit>("txtFolderMask");
    ui::FileListBox* File1 = control<ui::FileListBox>("File1");
    ui::FolderListBox* Dir1 = control<ui::FolderListBox>("Dir1");
    ui::DriveListBox* Drive1 = control<ui::DriveListBox>("Drive1");
    QFrame* shpMarker = control<QFrame>("shpMarker");
    QLabel* Label3 = control<QLabel>("Label3");
    QLabel* Label4 = control<QLabel>("Label4");
    QLabel* Label5 = control<QLabel>("Label5");
    QLabel* Label6 = control<QLabel>("Label6");

    QMenu* mnuFile = control<QMenu>("mnuFile");
    QAction* mnuEnd = control<QAction>("mnuEnd");
    QMenu* mnuEdit = control<QMenu>("mnuEdit");
    QAction* mnuCut = control<QAction>("mnuCut");
    QAction* mnuCopy = control<QAction>("mnuCopy");
    QAction* mnuPaste = control<QAction>("mnuPaste");
    QAction* mnuDeleteAll = control<QAction>("mnuDeleteAll");
    QAction* mnuFileCopy = control<QAction>("mnuFileCopy");
    QAction* mnuFileMove = control<QAction>("mnuFileMove");
    QMenu* mnuView = control<QMenu>("mnuView");
    QAction* mnuViewReadOnly = control<QAction>("mnuViewReadOnly");
    QAction* mnuViewSystem = control<QAction>("mnuViewSystem");
    QAction* mnuViewHidden = control<QAction>("mnuViewHidden");
    QAction* mnuProtocoll = control<QAction>("mnuProtocoll");
    QMenu* mnuHelp = control<QMenu>("mnuHelp");
    QAction* mnuAbout = control<QAction>("mnuAbout");

    const frmMain::SharedState& shared() const { return window.shared(); }
    ui::TargetFolderOwner& targetFolderOwner() { return window.targetFolderOwner(); }
    const core::EntryList& resultEntries() const { return window.resultEntries(); }
    std::int64_t fileCount() const { return window.fileCount(); }
    std::int64_t folderCount() const { return window.folderCount(); }

    // A search as the user starts it: folder, pattern, subfolders, then "List".
    void search(const QString& folder, const QString& pattern, bool subfolders) {
        txtFolderMask->setText(folder);
        cboMuster->setEditText(pattern);
        Check1->setChecked(subfolders);
        Toolbar1->click(3);
    }
    // The three status panels, "|" between them.
    QString panels() const {
        return StatusBar1->panelText(1) + "|" + StatusBar1->panelText(2) + "|" +
               StatusBar1->panelText(3);
    }
};

} // namespace testsupport
