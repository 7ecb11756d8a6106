// The main window's commands: toolbar dispatch, view filters, bulk operations, dialogs.

#include "core/bulk_operations.h"
#include "core/operation_log.h"
#include "ui/controls/file_list_box.h"
#include "ui/controls/keyed_tool_bar.h"
#include "ui/controls/panel_status_bar.h"
#include "ui/dialogs/frmAbout.h"
#include "ui/dialogs/frmFileDialog.h"
#include "ui/dialogs/frmFlags.h"
#include "ui/dialogs/frmProtocoll.h"
#include "ui/main/frmMain.h"
#include "ui/main/frmMain_target_folder.h"
#include "ui/main/result_list_model.h"

#include <QAction>
#include <QScopedValueRollback>

// What the bulk passes need of the window.
class frmMain::Bulk : public core::BulkWindow {
public:
    explicit Bulk(frmMain& w) : m_w(w) {}
    const core::EntryList& resultList() const override { return m_w.resultEntries(); }
    void listMatchingFiles() override { m_w.ListMatchingFiles(); }
    void refreshFileView() override { m_w.File1->refresh(); }
    void progress(std::size_t done, std::size_t total) override {
        m_w.showBulkProgress(done, total);
    }
    void showNotAllDeletedWarning() override {
        m_w.m_prompts.message(QStringLiteral("Es konnten nicht alle Dateien gelöscht werden!\r"
                                             "Überprüfen Sie manuell die Dateiattribute."),
                              QStringLiteral("Tilgomat"), ui::Prompts::Icon::Exclamation,
                              ui::Prompts::Buttons::Ok);
    }
    void showNotAllCopiedWarning() override {
        m_w.m_prompts.message(QStringLiteral("Es konnten nicht alle Dateien kopiert werden!\r"
                                             "Überprüfen Sie das Zielverzeichnis und die "
                                             "Dateiattribute."),
                              QStringLiteral("Tilgomat"), ui::Prompts::Icon::Exclamation,
                              ui::Prompts::Buttons::Ok);
    }

private:
    frmMain& m_w;
};

ui::TargetFolderOwner& frmMain::targetFolderOwner() {
    if (!m_targetFolder)
        m_targetFolder = std::make_unique<TargetFolder>(*this);
    return *m_targetFolder;
}

bool frmMain::listIsEmpty() {
    if (!resultEntries().empty())
        return false;
    m_prompts.message(QStringLiteral("Liste ist leer!"), QStringLiteral("Tilgomat"),
                      ui::Prompts::Icon::Exclamation, ui::Prompts::Buttons::Ok);
    return true;
}

void frmMain::listCommand() {
    // The passes run their own searches; the user's waits until they are through.
    if (!m_passRunning)
        ListMatchingFiles();
}

void frmMain::Toolbar1_ButtonClick(const QString& key) {
    if (key == QLatin1String("Exit")) {
        close();
    } else if (key == QLatin1String("List")) {
        listCommand();
    } else if (key == QLatin1String("Delete")) {
        DeleteListedFiles();
    } else if (key == QLatin1String("Copy")) {
        showCopyMoveDialog(false);
    } else if (key == QLatin1String("Move")) {
        showCopyMoveDialog(true);
    } else if (key == QLatin1String("Attribute")) {
        if (Toolbar1->isPressed(kAttributeButton)) {
            File1->setShowHidden(true);
            File1->setShowReadOnly(true);
            File1->setShowSystem(true);
            File1->refresh();
            mnuViewReadOnly->setChecked(false);
            mnuViewHidden->setChecked(false);
            mnuViewSystem->setChecked(false);
        } else {
            File1->setShowHidden(false);
            File1->setShowReadOnly(true);
            File1->setShowSystem(false);
            File1->refresh();
            mnuViewReadOnly->setChecked(false);
            mnuViewHidden->setChecked(true);
            mnuViewSystem->setChecked(true);
        }
    } else if (key == QLatin1String("Flags")) {
        if (!File1->fileName().empty()) {
            frmFlags dialog(
                File1->path(), File1->fileName(), [this] { File1->refresh(); }, m_fs, m_prompts,
                this);
            dialog.exec();
        } else {
            m_prompts.message(QStringLiteral("Keine Datei ausgewählt!"), QStringLiteral("Tilgomat"),
                              ui::Prompts::Icon::Exclamation, ui::Prompts::Buttons::Ok);
        }
    } else if (key == QLatin1String("Protokoll")) {
        mnuProtocoll_Click();
    } else if (key == QLatin1String("Info")) {
        mnuAbout_Click();
    }
}

void frmMain::syncAttributeButton() {
    Toolbar1->setPressed(kAttributeButton,
                         !(mnuViewHidden->isChecked() || mnuViewSystem->isChecked()));
}

void frmMain::mnuViewHidden_Click() {
    if (mnuViewHidden->isChecked()) {
        File1->setShowHidden(true);
        File1->refresh();
        mnuViewHidden->setChecked(false);
    } else {
        File1->setShowHidden(false);
        File1->refresh();
        mnuViewHidden->setChecked(true);
    }
    syncAttributeButton();
}

void frmMain::mnuViewSystem_Click() {
    if (mnuViewSystem->isChecked()) {
        File1->setShowSystem(true);
        File1->refresh();
        mnuViewSystem->setChecked(false);
    } else {
        File1->setShowSystem(false);
        File1->refresh();
        mnuViewSystem->setChecked(true);
    }
    syncAttributeButton();
}

void frmMain::DeleteListedFiles() {
    if (busy() || listIsEmpty())
        return;
    const QScopedValueRollback running(m_passRunning, true);
    const auto answer =
        m_prompts.message(QStringLiteral("Möchten Sie die angezeigten Dateien wirklich löschen?"),
                          QStringLiteral("Tilgomat"), ui::Prompts::Icon::Question,
                          ui::Prompts::Buttons::YesNo, ui::Prompts::Answer::Yes);
    if (answer != ui::Prompts::Answer::Yes)
        return;
    Bulk bulk(*this);
    core::deleteListedEntries(bulk, m_fs, *m_log);
}

void frmMain::CopyOrMove() {
    // Called by the target folder dialog, which showCopyMoveDialog() opened while it counted
    // as a pass under way; only a search or the pass itself refuses it.
    if (m_searching || m_closing || m_copyMoveRunning || listIsEmpty())
        return;
    const QScopedValueRollback running(m_copyMoveRunning, true);
    Bulk bulk(*this);
    core::copyOrMoveEntries(bulk, m_fs, *m_log, m_shared.sTargetPath, m_shared.targetId,
                            m_shared.bolMove, m_shared.bolPrefix);
}

void frmMain::showCopyMoveDialog(bool move) {
    if (busy() || listIsEmpty())
        return;
    const QScopedValueRollback running(m_passRunning, true);
    m_shared.bolMove = move;
    frmFileDialog dialog(targetFolderOwner(), this);
    dialog.exec();
}

void frmMain::mnuProtocoll_Click() {
    frmProtocoll dialog(m_fs, m_prompts, this);
    dialog.exec();
}

void frmMain::mnuAbout_Click() {
    frmAbout dialog(m_fs, m_prompts, this);
    dialog.exec();
}
