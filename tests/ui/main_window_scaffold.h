#pragma once

// The tests' one main-window scaffold: the window over a platform and scripted boxes of the
// test's own, with its controls and commands found by their names, as the user and the other
// windows reach them, and the steps several tests share.

#include "ui/controls/drive_list_box.h"
#include "ui/controls/file_list_box.h"
#include "ui/controls/folder_list_box.h"
#include "ui/controls/panel_status_bar.h"
#include "ui/dialogs/attributes_dialog.h"
#include "ui/dialogs/target_folder_owner.h"
#include "ui/main/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFrame>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace testsupport {

// The attributes dialog on the file chosen in a file view, as the main window opens it.
inline ui::AttributesDialog attributesDialog(ui::FileListBox& view, platform::Platform& fs,
                                             ui::Prompts& prompts) {
    return ui::AttributesDialog(
        view.path(), view.fileName(), [&view] { view.refresh(); }, fs, prompts);
}

class MainWindowScaffold {
public:
    MainWindowScaffold(platform::Platform& fs, ui::Prompts& prompts) : window(fs, prompts) {}

    ui::MainWindow window;

    template <class T> T* control(const char* name) {
        return window.findChild<T*>(QString::fromLatin1(name));
    }

    ui::PanelStatusBar* statusBar = control<ui::PanelStatusBar>("statusBar");
    QCheckBox* subfolders = control<QCheckBox>("subfolders");
    QComboBox* pattern = control<QComboBox>("pattern");
    QListView* resultList = control<QListView>("resultList");
    QToolBar* toolBar = control<QToolBar>("toolBar");
    QLineEdit* folderEdit = control<QLineEdit>("folderEdit");
    ui::FileListBox* fileView = control<ui::FileListBox>("fileView");
    ui::FolderListBox* folderView = control<ui::FolderListBox>("folderView");
    ui::DriveListBox* driveList = control<ui::DriveListBox>("driveList");
    QFrame* listMarker = control<QFrame>("listMarker");

    QMenu* fileMenu = control<QMenu>("fileMenu");
    QMenu* editMenu = control<QMenu>("editMenu");
    QMenu* viewMenu = control<QMenu>("viewMenu");
    QMenu* helpMenu = control<QMenu>("helpMenu");
    QAction* exit = control<QAction>("exit");
    QAction* cut = control<QAction>("cut");
    QAction* copy = control<QAction>("copy");
    QAction* paste = control<QAction>("paste");
    QAction* listFiles = control<QAction>("listFiles");
    QAction* deleteListed = control<QAction>("deleteListed");
    QAction* copyListed = control<QAction>("copyListed");
    QAction* moveListed = control<QAction>("moveListed");
    QAction* hideReadOnly = control<QAction>("hideReadOnly");
    QAction* hideSystem = control<QAction>("hideSystem");
    QAction* hideHidden = control<QAction>("hideHidden");
    QAction* showHidden = control<QAction>("showHidden");
    QAction* editAttributes = control<QAction>("editAttributes");
    QAction* showLog = control<QAction>("showLog");
    QAction* about = control<QAction>("about");

    // Chooses a command, from its menu item or its tool button, and lets it run: a command
    // starts once the click that chose it has returned.
    void run(QAction* command) {
        command->trigger();
        QCoreApplication::sendPostedEvents(&window, QEvent::MetaCall);
    }

    // Clicks the tool button that shows a command, as the user does, and lets the command run.
    void click(QAction* command) {
        if (auto* button = qobject_cast<QToolButton*>(toolBar->widgetForAction(command)))
            button->click();
        QCoreApplication::sendPostedEvents(&window, QEvent::MetaCall);
    }

    const ui::MainWindow::SharedState& shared() const { return window.shared(); }
    ui::TargetFolderOwner& targetFolderOwner() { return window.targetFolderOwner(); }
    const core::EntryList& resultEntries() const { return window.resultEntries(); }
    std::int64_t fileCount() const { return window.fileCount(); }
    std::int64_t folderCount() const { return window.folderCount(); }

    // A search as the user starts it: folder, pattern, subfolders, then "List".
    void search(const QString& folder, const QString& patternText, bool withSubfolders) {
        folderEdit->setText(folder);
        pattern->setEditText(patternText);
        subfolders->setChecked(withSubfolders);
        run(listFiles);
    }
    // The three status panels, "|" between them.
    QString panels() const {
        return statusBar->panelText(1) + "|" + statusBar->panelText(2) + "|" +
               statusBar->panelText(3);
    }
};

} // namespace testsupport
