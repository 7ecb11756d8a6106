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
#include <functional>
#include <memory>
#include <string>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListView;
class QProgressBar;
class QToolBar;

namespace core {
class OperationLog;
}

namespace ui {

class DriveListBox;
class FileListBox;
class FolderListBox;
class PanelStatusBar;
class ResultListModel;
class TargetFolderOwner;

class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(platform::Platform& fs, Prompts& prompts, QWidget* parent = nullptr);
    ~MainWindow() override;

    // What the window keeps between its commands; the target folder dialog writes the target
    // and the prefix choice through targetFolderOwner().
    struct SharedState {
        // The folder the folder and file views show.
        std::string viewedFolder;
        // Where a copy or move goes, and the identity of the folder the target folder dialog
        // showed as that path.
        std::string targetFolder;
        platform::FileId targetId;
        // The copy or move under way moves; its copies' names get their list position in front.
        bool move = false;
        bool prefix = false;
    };
    const SharedState& shared() const { return m_shared; }
    // The narrow interface through which the target folder dialog reaches the window.
    TargetFolderOwner& targetFolderOwner();

    // The result list's entries, exactly as the walk produced them, and their counts.
    const core::EntryList& resultEntries() const;
    std::int64_t fileCount() const { return m_fileCount; }
    std::int64_t folderCount() const { return m_folderCount; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    class Bulk;
    class TargetFolder;

    void createControls();
    void createCommands();
    QAction* addCommand(const QString& text, const char* name, std::function<void()> run);
    void addToToolBar(QAction* command, const char* icon, const QString& toolTip);
    void showStartState();
    void applyLayout();

    // The commands.
    void listCommand();
    void listMatchingFiles();
    void deleteListedFiles();
    void showCopyMoveDialog(bool move);
    // Copies or moves every listed file into the target folder (the target folder dialog's OK).
    void copyOrMove();
    void showHiddenFiles(bool show);
    void hideHiddenFiles(bool hide);
    void hideSystemFiles(bool hide);
    void syncShowHiddenButton();
    void editAttributes();
    void showLog();
    void showAbout();
    bool listIsEmpty();
    // A search, a pass, its confirmation or its warning, or the target folder dialog is under
    // way; commands that would start another do nothing meanwhile.
    bool busy() const { return m_searching || m_passRunning || m_closing; }

    void onDriveChanged();
    void onFolderChanged();
    QString versionText() const;

    void createProgressBar();
    void showBulkProgress(std::size_t done, std::size_t total);
    void showSearchBusy();
    void hideProgress();

    PanelStatusBar* m_statusBar = nullptr;
    QCheckBox* m_subfolders = nullptr;
    QComboBox* m_pattern = nullptr;
    QListView* m_resultList = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLineEdit* m_folderEdit = nullptr;
    FileListBox* m_fileView = nullptr;
    FolderListBox* m_folderView = nullptr;
    DriveListBox* m_driveList = nullptr;
    // Framed around the result list while it holds what the folder in view gave.
    QFrame* m_listMarker = nullptr;
    QLabel* m_patternLabel = nullptr;
    QLabel* m_folderLabel = nullptr;
    QLabel* m_driveLabel = nullptr;

    // The check commands of the view menu and the toolbar; each holds its own check mark.
    QAction* m_hideReadOnly = nullptr;
    QAction* m_hideSystem = nullptr;
    QAction* m_hideHidden = nullptr;
    QAction* m_showHidden = nullptr;

    platform::Platform& m_fs;
    Prompts& m_prompts;
    SharedState m_shared;
    std::unique_ptr<TargetFolder> m_targetFolder;
    std::unique_ptr<core::OperationLog> m_log;
    ResultListModel* m_resultModel = nullptr;
    // Beside the status panels while a long pass or search runs; the panels keep their texts.
    QProgressBar* m_progress = nullptr;
    int m_progressPercent = -1;
    QWidget* m_client = nullptr;
    MainLayout m_layout;
    std::int64_t m_fileCount = 0;
    std::int64_t m_folderCount = 0;
    bool m_searching = false;
    bool m_passRunning = false;     // a delete, or a copy or move from its dialog on
    bool m_copyMoveRunning = false; // the copy or move pass itself
    bool m_closing = false;
};

} // namespace ui
