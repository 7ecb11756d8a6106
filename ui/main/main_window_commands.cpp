// The main window's commands: the view filters, the bulk operations and the dialogs.

#include "core/bulk_operations.h"
#include "core/operation_log.h"
#include "ui/controls/file_list_box.h"
#include "ui/controls/panel_status_bar.h"
#include "ui/dialogs/about_box.h"
#include "ui/dialogs/attributes_dialog.h"
#include "ui/dialogs/log_viewer.h"
#include "ui/dialogs/target_folder_dialog.h"
#include "ui/main/main_window.h"
#include "ui/main/main_window_target_folder.h"
#include "ui/main/result_list_model.h"

#include <QAction>
#include <QScopedValueRollback>
#include <QSignalBlocker>

namespace ui {

// What the bulk passes need of the window.
class MainWindow::Bulk : public core::BulkWindow {
public:
    explicit Bulk(MainWindow& w) : m_w(w) {}
    const core::EntryList& resultList() const override { return m_w.resultEntries(); }
    void listMatchingFiles() override { m_w.listMatchingFiles(); }
    void refreshFileView() override { m_w.m_fileView->refresh(); }
    void progress(std::size_t done, std::size_t total) override {
        m_w.showBulkProgress(done, total);
    }
    void showNotAllDeletedWarning() override {
        m_w.m_prompts.message(QStringLiteral("Es konnten nicht alle Dateien gelöscht werden!\r"
                                             "Überprüfen Sie manuell die Dateiattribute."),
                              QStringLiteral("Tilgomat"), Prompts::Icon::Exclamation,
                              Prompts::Buttons::Ok);
    }
    void showNotAllCopiedWarning() override {
        m_w.m_prompts.message(QStringLiteral("Es konnten nicht alle Dateien kopiert werden!\r"
                                             "Überprüfen Sie das Zielverzeichnis und die "
                                             "Dateiattribute."),
                              QStringLiteral("Tilgomat"), Prompts::Icon::Exclamation,
                              Prompts::Buttons::Ok);
    }

private:
    MainWindow& m_w;
};

TargetFolderOwner& MainWindow::targetFolderOwner() {
    if (!m_targetFolder)
        m_targetFolder = std::make_unique<TargetFolder>(*this);
    return *m_targetFolder;
}

bool MainWindow::listIsEmpty() {
    if (!resultEntries().empty())
        return false;
    m_prompts.message(QStringLiteral("Liste ist leer!"), QStringLiteral("Tilgomat"),
                      Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
    return true;
}

void MainWindow::listCommand() {
    // The passes run their own searches; the user's waits until they are through.
    if (!m_passRunning)
        listMatchingFiles();
}

void MainWindow::showHiddenFiles(bool show) {
    m_fileView->setShowHidden(show);
    m_fileView->setShowReadOnly(true);
    m_fileView->setShowSystem(show);
    m_fileView->refresh();
    m_hideHidden->setChecked(!show);
    m_hideSystem->setChecked(!show);
}

void MainWindow::hideHiddenFiles(bool hide) {
    m_fileView->setShowHidden(!hide);
    m_fileView->refresh();
    syncShowHiddenButton();
}

void MainWindow::hideSystemFiles(bool hide) {
    m_fileView->setShowSystem(!hide);
    m_fileView->refresh();
    syncShowHiddenButton();
}

void MainWindow::syncShowHiddenButton() {
    // Its new state is no click of its own.
    const QSignalBlocker blocker(m_showHidden);
    m_showHidden->setChecked(!(m_hideHidden->isChecked() || m_hideSystem->isChecked()));
}

void MainWindow::editAttributes() {
    if (m_fileView->fileName().empty()) {
        m_prompts.message(QStringLiteral("Keine Datei ausgewählt!"), QStringLiteral("Tilgomat"),
                          Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
        return;
    }
    AttributesDialog dialog(
        m_fileView->path(), m_fileView->fileName(), [this] { m_fileView->refresh(); }, m_fs,
        m_prompts, this);
    dialog.exec();
}

void MainWindow::deleteListedFiles() {
    if (busy() || listIsEmpty())
        return;
    const QScopedValueRollback running(m_passRunning, true);
    const auto answer =
        m_prompts.message(QStringLiteral("Möchten Sie die angezeigten Dateien wirklich löschen?"),
                          QStringLiteral("Tilgomat"), Prompts::Icon::Question,
                          Prompts::Buttons::YesNo, Prompts::Answer::Yes);
    if (answer != Prompts::Answer::Yes)
        return;
    Bulk bulk(*this);
    core::deleteListedEntries(bulk, m_fs, *m_log);
}

void MainWindow::copyOrMove() {
    // Called by the target folder dialog, which showCopyMoveDialog() opened while it counted
    // as a pass under way; only a search or the pass itself refuses it.
    if (m_searching || m_closing || m_copyMoveRunning || listIsEmpty())
        return;
    const QScopedValueRollback running(m_copyMoveRunning, true);
    Bulk bulk(*this);
    core::copyOrMoveEntries(bulk, m_fs, *m_log, m_shared.targetFolder, m_shared.targetId,
                            m_shared.move, m_shared.prefix);
}

void MainWindow::showCopyMoveDialog(bool move) {
    if (busy() || listIsEmpty())
        return;
    const QScopedValueRollback running(m_passRunning, true);
    m_shared.move = move;
    TargetFolderDialog dialog(targetFolderOwner(), this);
    dialog.exec();
}

void MainWindow::showLog() {
    LogViewer dialog(m_fs, m_prompts, this);
    dialog.exec();
}

void MainWindow::showAbout() {
    AboutBox dialog(m_fs, m_prompts, this);
    dialog.exec();
}

} // namespace ui
