#pragma once

// The main window: drive, folder and file views, the search and its result list, the toolbar
// and the bulk operations. Its work is done in core/; this class wires controls to it.

#include "core/entry_list.h"
#include "platform/platform.h"
#include "ui/controls/prompts.h"
#include "ui/main/main_layout.h"

#include <QMainWindow>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QProgressBar;
class QPushButton;
class QFrame;

namespace core {
class OperationLog;
}

namespace ui {
class DriveListBox;
class FileListBox;
class FolderListBox;
class KeyedToolBar;
class PanelStatusBar;
class ResultListModel;
class TargetFolderOwner;
} // namespace ui

class frmMain : public QMainWindow {
    Q_OBJECT

public:
    frmMain(platform::Platform& fs, ui::Prompts& prompts, QWidget* parent = nullptr);
    ~frmMain() override;

    // The window's public variables, which other windows read; the target folder dialog
    // writes them through targetFolderOwner().
    struct SharedState {
        std::string sPath;
        std::string sTargetPath;
        // The folder the target folder dialog showed as sTargetPath.
        platform::FileId targetId;
        bool bolMove = false;
        bool bolPrefix = false;
    };
    const SharedState& shared() const { return m_shared; }
    // The narrow interface through which the target folder dialog reaches the window.
    ui::TargetFolderOwner& targetFolderOwner();

    // The result list's entries, exactly as the walk produced them, and their counts.
    const core::EntryList& resultEntries() const;
    std::int64_t fileCount() const { return intFileCount; }
    std::int64_t folderCount() const { return intFolderCount; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class Bulk;
    // The toolbar's "Attribute" check button, counted with the separators.
    static constexpr int kAttributeButton = 8;
    class TargetFolder;

    // Copies or moves every listed file into sTargetPath (the target folder dialog's OK).
    void CopyOrMove();

    // Controls, by their names; owned by the window.
    ui::PanelStatusBar* StatusBar1 = nullptr;
    QPushButton* Command1 = nullptr;
    QLineEdit* Text3 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QPushButton* cmdList = nullptr;
    QCheckBox* Check1 = nullptr;
    QComboBox* cboMuster = nullptr;
    QListView* List1 = nullptr;
    ui::KeyedToolBar* Toolbar1 = nullptr;
    QLineEdit* txtFolderMask = nullptr;
    ui::FileListBox* File1 = nullptr;
    ui::FolderListBox* Dir1 = nullptr;
    ui::DriveListBox* Drive1 = nullptr;
    QFrame* shpMarker = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* lblMuster = nullptr;
    QLabel* lblPath = nullptr;
    QLabel* lbDrive = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuEnd = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuCut = nullptr;
    QAction* mnuCopy = nullptr;
    QAction* mnuPaste = nullptr;
    QMenu* mnuEditFile = nullptr;
    QAction* mnuDeleteAll = nullptr;
    QAction* mnuFileCopy = nullptr;
    QAction* mnuFileMove = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuListAll = nullptr;
    QMenu* mnuViewAtribute = nullptr;
    QAction* mnuViewReadOnly = nullptr;
    QAction* mnuViewSystem = nullptr;
    QAction* mnuViewHidden = nullptr;
    QAction* mnuProtocoll = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuAbout = nullptr;

    void createControls();
    void applyLayout();
    void createMenus();
    void createToolbar();
    void Form_Load();
    void Form_Resize();
    void ListMatchingFiles();
    void DeleteListedFiles();
    void Drive1_Change();
    void Dir1_Change();
    void Toolbar1_ButtonClick(const QString& key);
    void mnuViewHidden_Click();
    void mnuViewSystem_Click();
    void mnuProtocoll_Click();
    void mnuAbout_Click();
    void showCopyMoveDialog(bool move);
    void syncAttributeButton();
    bool listIsEmpty();
    // A search, a pass, its confirmation or its warning, or the target folder dialog is under
    // way; commands that would start another do nothing meanwhile.
    bool busy() const { return m_searching || m_passRunning || m_closing; }
    void listCommand();
    QString versionText() const;
    void createProgressBar();
    void showBulkProgress(std::size_t done, std::size_t total);
    void showSearchBusy();
    void hideProgress();

    platform::Platform& m_fs;
    ui::Prompts& m_prompts;
    SharedState m_shared;
    std::unique_ptr<TargetFolder> m_targetFolder;
    std::unique_ptr<core::OperationLog> m_log;
    ui::ResultListModel* m_resultModel = nullptr;
    // Beside the status panels while a long pass or search runs; the panels keep their texts.
    QProgressBar* m_progress = nullptr;
    int m_progressPercent = -1;
    QWidget* m_client = nullptr;
    ui::MainLayout m_layout;
    std::int64_t intFileCount = 0;
    std::int64_t intFolderCount = 0;
    bool m_searching = false;
    bool m_passRunning = false;     // a delete, or a copy or move from its dialog on
    bool m_copyMoveRunning = false; // the copy or move pass itself
    bool m_closing = false;
};
