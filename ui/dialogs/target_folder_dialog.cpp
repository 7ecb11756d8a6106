#include "ui/dialogs/target_folder_dialog.h"

#include "core/modSpecialFolder.h"
#include "core/path_text.h"
#include "ui/controls/drive_list_box.h"
#include "ui/controls/folder_list_box.h"
#include "ui/controls/program_icon.h"
#include "ui/controls/twips.h"
#include "ui/controls/utf8_text.h"
#include "ui/dialogs/dialog_frame.h"
#include "ui/dialogs/target_folder_owner.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>
#include <algorithm>

namespace ui {

TargetFolderDialog::TargetFolderDialog(TargetFolderOwner& owner, QWidget* parent)
    : QDialog(parent), m_owner(owner) {
    setFixedDialogFrame(*this, 0, 0, 6030, 3060);
    placeOverParent();
    createControls();
    openAtTarget();
}

void TargetFolderDialog::createControls() {
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setGeometry(twipsRect(4680, 120, 1215, 375, this));
    okButton->setDefault(true);

    cancelButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancelButton->setGeometry(twipsRect(4680, 600, 1215, 375, this));

    driveList = new DriveListBox(m_owner.platform(), m_owner.prompts(), this);
    driveList->setGeometry(twipsRect(120, 120, 3735, 315, this));

    folderList = new FolderListBox(m_owner.platform(), this);
    folderList->setGeometry(twipsRect(120, 600, 4215, 2340, this));

    newFolderButton = new QPushButton(this);
    newFolderButton->setGeometry(twipsRect(3960, 120, 315, 315, this));
    newFolderButton->setIcon(toolbarIcon("newfolder"));
    newFolderButton->setIconSize(QSize(16, 16));
    newFolderButton->setToolTip(QStringLiteral("Neuen Ordner anlegen"));
    newFolderButton->setAccessibleName(QStringLiteral("Neuen Ordner anlegen"));

    prefixBox = new QCheckBox(QStringLiteral("Prefix zufügen"), this);
    QRect prefixRect = twipsRect(4680, 2760, 1335, 195, this);
    // A desktop font wider than the design font must not cut the caption short: the box grows
    // to the left, into the room beside the folder list, and keeps its right edge in the dialog.
    const QSize prefixHint = prefixBox->sizeHint();
    if (prefixHint.width() > prefixRect.width()) {
        const int right =
            std::min(prefixRect.left() + prefixHint.width(), width() - toPixels(30, this));
        prefixRect.setRect(right - prefixHint.width(), prefixRect.top(), prefixHint.width(),
                           prefixRect.height());
    }
    prefixRect.setHeight(std::max(prefixRect.height(), prefixHint.height()));
    prefixBox->setGeometry(prefixRect);

    setTabOrder(okButton, cancelButton);
    setTabOrder(cancelButton, driveList);
    setTabOrder(driveList, folderList);
    setTabOrder(folderList, newFolderButton);
    setTabOrder(newFolderButton, prefixBox);
    okButton->setFocus();

    connect(driveList, &DriveListBox::changed, this, &TargetFolderDialog::onDriveChanged);
    connect(folderList, &FolderListBox::changed, this, &TargetFolderDialog::onFolderChanged);
    connect(newFolderButton, &QPushButton::clicked, this, &TargetFolderDialog::createNewFolder);
    connect(okButton, &QPushButton::clicked, this, &TargetFolderDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &TargetFolderDialog::cancel);
}

void TargetFolderDialog::placeOverParent() {
    if (!parentWidget())
        return;
    QRect client = geometry();
    client.moveCenter(parentWidget()->window()->frameGeometry().center());
    setGeometry(client);
}

void TargetFolderDialog::openAtTarget() {
    m_targetAtOpening = m_owner.targetPath();
    if (m_owner.targetPath().empty())
        m_owner.targetPath() = modSpecialFolder::SpecialFolderPath(
            m_owner.platform(), modSpecialFolder::CSIDL_PERSONAL);
    // The drive change below rewrites the target, so the start folder is kept aside.
    const std::string start = m_owner.targetPath();

    setWindowTitle(m_owner.moving() ? QStringLiteral("Verschieben - Zielverzeichnis auswählen")
                                    : QStringLiteral("Kopieren - Zielverzeichnis auswählen"));

    if (!start.empty()) {
        driveList->setDrive(start);
        folderList->setPath(start);
    }
    // The target is whatever the folder list shows, spelled as it spells it; this also holds
    // when the start folder is gone or its drive cannot be read and the lists stayed put.
    if (!folderList->path().empty())
        m_owner.targetPath() = folderList->path();
}

void TargetFolderDialog::onDriveChanged() {
    m_owner.targetPath() = driveList->drive();
    // Raised from a folder change that already moved the folder list onto this drive: the
    // list stays on that folder instead of jumping to the drive's current folder.
    if (core::onSameDrive(m_owner.targetPath(), folderList->path())) {
        m_owner.targetPath() = folderList->path();
        return;
    }
    if (!folderList->setPath(m_owner.targetPath()))
        m_owner.targetPath() = folderList->path();
}

void TargetFolderDialog::onFolderChanged() {
    m_owner.targetPath() = folderList->path();
    driveList->setDrive(m_owner.targetPath());
}

void TargetFolderDialog::createNewFolder() {
    const std::string name =
        toUtf8(m_owner.prompts().input(QStringLiteral("Namen für neuen Ordner:"),
                                       QStringLiteral("Neuen Ordner anlegen"), QString()));
    if (name.empty()) {
        folderList->refresh();
        return;
    }
    // Each step goes on when the one before failed, without a message: an existing folder
    // of that name is simply opened. The backslash is added even after a drive root; the
    // doubled one counts as one.
    (void)m_owner.platform().createFolder(folderList->path() + "\\" + name);
    m_owner.targetPath() = folderList->path() + "\\" + name;
    folderList->setPath(m_owner.targetPath());
    folderList->refresh();
}

void TargetFolderDialog::confirm() {
    // The pass lets events through while it searches again: nothing in the dialog may be used
    // until it closes, OK least of all.
    setEnabled(false);
    m_owner.targetId() =
        m_owner.targetPath() == folderList->path() ? folderList->folderId() : platform::FileId{};
    m_owner.setPrefix(prefixBox->isChecked());
    m_owner.showTargetFolder();
    m_owner.copyOrMove();
    accept();
}

void TargetFolderDialog::cancel() {
    m_owner.targetPath() = m_targetAtOpening;
    m_owner.setPrefix(false);
    reject();
}

void TargetFolderDialog::keyPressEvent(QKeyEvent* event) {
    // Esc is the cancel button; the title bar's close box, which also ends in reject(),
    // leaves the target and the prefix choice as they are.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cancelButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace ui
