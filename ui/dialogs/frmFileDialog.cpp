#include "ui/dialogs/frmFileDialog.h"

#include "ui/controls/drive_list_box.h"
#include "ui/controls/folder_list_box.h"
#include "ui/controls/program_icon.h"
#include "ui/controls/twips.h"
#include "ui/controls/utf8_text.h"
#include "ui/dialogs/dialog_frame.h"
#include "ui/dialogs/target_folder_owner.h"

#include "core/path_text.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QPushButton>
#include <algorithm>

frmFileDialog::frmFileDialog(ui::TargetFolderOwner& owner, QWidget* parent)
    : QDialog(parent), m_owner(owner) {
    ui::setFixedDialogFrame(*this, 0, 0, 6030, 3060);
    placeOverParent();
    createControls();
    Form_Load();
}

void frmFileDialog::createControls() {
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setGeometry(ui::twipsRect(4680, 120, 1215, 375, this));
    OKButton->setDefault(true);

    CancelButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    CancelButton->setGeometry(ui::twipsRect(4680, 600, 1215, 375, this));

    Drive1 = new ui::DriveListBox(m_owner.platform(), m_owner.prompts(), this);
    Drive1->setGeometry(ui::twipsRect(120, 120, 3735, 315, this));

    Dir1 = new ui::FolderListBox(m_owner.platform(), this);
    Dir1->setGeometry(ui::twipsRect(120, 600, 4215, 2340, this));

    cmdNewFolder = new QPushButton(this);
    cmdNewFolder->setGeometry(ui::twipsRect(3960, 120, 315, 315, this));
    cmdNewFolder->setIcon(ui::toolbarIcon("newfolder"));
    cmdNewFolder->setIconSize(QSize(16, 16));
    cmdNewFolder->setToolTip(QStringLiteral("Neuen Ordner anlegen"));
    cmdNewFolder->setAccessibleName(QStringLiteral("Neuen Ordner anlegen"));

    chkPrefix = new QCheckBox(QStringLiteral("Prefix zufügen"), this);
    QRect prefixBox = ui::twipsRect(4680, 2760, 1335, 195, this);
    // A desktop font wider than the form font must not cut the caption short: the box grows
    // to the left, into the room beside the folder list, and keeps its right edge in the dialog.
    const QSize prefixHint = chkPrefix->sizeHint();
    if (prefixHint.width() > prefixBox.width()) {
        const int right =
            std::min(prefixBox.left() + prefixHint.width(), width() - ui::toPixels(30, this));
        prefixBox.setRect(right - prefixHint.width(), prefixBox.top(), prefixHint.width(),
                          prefixBox.height());
    }
    prefixBox.setHeight(std::max(prefixBox.height(), prefixHint.height()));
    chkPrefix->setGeometry(prefixBox);

    setTabOrder(OKButton, CancelButton);
    setTabOrder(CancelButton, Drive1);
    setTabOrder(Drive1, Dir1);
    setTabOrder(Dir1, cmdNewFolder);
    setTabOrder(cmdNewFolder, chkPrefix);
    OKButton->setFocus();

    connect(Drive1, &ui::DriveListBox::changed, this, &frmFileDialog::Drive1_Change);
    connect(Dir1, &ui::FolderListBox::changed, this, &frmFileDialog::Dir1_Change);
    connect(cmdNewFolder, &QPushButton::clicked, this, &frmFileDialog::cmdNewFolder_Click);
    connect(OKButton, &QPushButton::clicked, this, &frmFileDialog::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmFileDialog::CancelButton_Click);
}

void frmFileDialog::placeOverParent() {
    if (!parentWidget())
        return;
    QRect client = geometry();
    client.moveCenter(parentWidget()->window()->frameGeometry().center());
    setGeometry(client);
}

void frmFileDialog::Form_Load() {
    sOldTargetPath = m_owner.targetPath();
    if (m_owner.targetPath().empty())
        m_owner.targetPath() = m_owner.platform().documentsFolder();
    // The drive change below rewrites sTargetPath, so the start folder is kept aside.
    const std::string start = m_owner.targetPath();

    setWindowTitle(m_owner.moving() ? QStringLiteral("Verschieben - Zielverzeichnis auswählen")
                                    : QStringLiteral("Kopieren - Zielverzeichnis auswählen"));

    if (!start.empty()) {
        Drive1->setDrive(start);
        Dir1->setPath(start);
    }
    // The target is whatever the folder list shows, spelled as it spells it; this also holds
    // when the start folder is gone or its drive cannot be read and the lists stayed put.
    if (!Dir1->path().empty())
        m_owner.targetPath() = Dir1->path();
}

void frmFileDialog::Drive1_Change() {
    m_owner.targetPath() = Drive1->drive();
    // Raised from a folder change that already moved the folder list onto this drive: the
    // list stays on that folder instead of jumping to the drive's current folder.
    if (core::onSameDrive(m_owner.targetPath(), Dir1->path())) {
        m_owner.targetPath() = Dir1->path();
        return;
    }
    if (!Dir1->setPath(m_owner.targetPath()))
        m_owner.targetPath() = Dir1->path();
}

void frmFileDialog::Dir1_Change() {
    m_owner.targetPath() = Dir1->path();
    Drive1->setDrive(m_owner.targetPath());
}

void frmFileDialog::cmdNewFolder_Click() {
    sNewFolder =
        ui::toUtf8(m_owner.prompts().input(QStringLiteral("Namen für neuen Ordner:"),
                                           QStringLiteral("Neuen Ordner anlegen"), QString()));
    if (sNewFolder.empty()) {
        Dir1->refresh();
        return;
    }
    // Each step goes on when the one before failed, without a message: an existing folder
    // of that name is simply opened. The backslash is added even after a drive root; the
    // doubled one counts as one.
    (void)m_owner.platform().createFolder(Dir1->path() + "\\" + sNewFolder);
    m_owner.targetPath() = Dir1->path() + "\\" + sNewFolder;
    Dir1->setPath(m_owner.targetPath());
    Dir1->refresh();
}

void frmFileDialog::OKButton_Click() {
    // The pass lets events through while it searches again: nothing in the dialog may be used
    // until it closes, OK least of all.
    setEnabled(false);
    m_owner.targetId() =
        m_owner.targetPath() == Dir1->path() ? Dir1->folderId() : platform::FileId{};
    m_owner.setPrefix(chkPrefix->isChecked());
    m_owner.showTargetFolder();
    m_owner.CopyOrMove();
    accept();
}

void frmFileDialog::CancelButton_Click() {
    m_owner.targetPath() = sOldTargetPath;
    m_owner.setPrefix(false);
    reject();
}

void frmFileDialog::keyPressEvent(QKeyEvent* event) {
    // Esc is the cancel button; the title bar's close box, which also ends in reject(),
    // leaves the target and the prefix choice as they are.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        CancelButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}
