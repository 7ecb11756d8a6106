// The main window's start-up, layout, closing and folder views.

#include "core/operation_log.h"
#include "ui/controls/drive_list_box.h"
#include "ui/controls/file_list_box.h"
#include "ui/controls/folder_list_box.h"
#include "ui/controls/keyed_tool_bar.h"
#include "ui/controls/panel_status_bar.h"
#include "ui/controls/twips.h"
#include "ui/controls/utf8_text.h"
#include "ui/main/frmMain.h"
#include "ui/main/frmMain_target_folder.h"
#include "ui/main/result_list_model.h"
#include "version_info.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>

namespace {

const char* const initialPatterns[] = {"*.*",    "*.accdb", "*.avi",  "*.bmp",  "*.doc",  "*.dot",
                                       "*.docx", "*.dotx",  "*.gif",  "*.jpg",  "*.jpeg", "*.mdb",
                                       "*.mp3",  "*.mp4",   "*.mpg",  "*.mpeg", "*.png",  "*.ppt",
                                       "*.pps",  "*.pptx",  "*.ppsx", "*.xls",  "*.xlsx", "*.wmf"};

} // namespace

// The members the window owns are complete here.
frmMain::~frmMain() = default;

QString frmMain::versionText() const {
    return ui::fromUtf8(m_fs.executableName()) + QStringLiteral(" Release ") +
           QString::number(version_info::major) + QLatin1Char('.') +
           QString::number(version_info::minor) + QLatin1Char('.') +
           QString::number(version_info::revision);
}

void frmMain::Form_Load() {
    const std::string documents = m_fs.documentsFolder();
    m_shared.sPath = documents;
    m_shared.bolMove = false;
    m_shared.bolPrefix = false;
    // The drive change moves the folder list to the drive's current folder, so the folder and
    // file lists are pointed at the documents folder itself afterwards. Without a documents
    // folder the views stay on the current drive's current folder.
    if (!documents.empty()) {
        Drive1->setDrive(documents);
        Dir1->setPath(documents);
        File1->setPath(documents);
    }
    txtFolderMask->clear();
    cboMuster->clear();
    for (const char* pattern : initialPatterns)
        cboMuster->addItem(QString::fromLatin1(pattern));
    cboMuster->setEditText(QStringLiteral("*.*"));
    StatusBar1->setPanelText(1, QStringLiteral("Dateien: 0"));
    StatusBar1->setPanelText(2, QStringLiteral("Verzeichnisse: 0"));
    StatusBar1->setPanelText(3, versionText());
    shpMarker->setVisible(false);
    ui::placeMarker(m_layout);
    applyLayout();
    mnuCopy->setEnabled(false);
    mnuCut->setEnabled(false);
    mnuPaste->setEnabled(false);
    mnuViewHidden->setChecked(true);
    mnuViewReadOnly->setChecked(false);
    mnuViewSystem->setChecked(true);
    Toolbar1->setPressed(kAttributeButton, false);
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::Form_Resize() {
    const QRect outer = frameGeometry();
    ui::applyResizeRules(m_layout, static_cast<float>(ui::toTwips(outer.width(), this)),
                         static_cast<float>(ui::toTwips(outer.height(), this)));
    applyLayout();
}

void frmMain::closeEvent(QCloseEvent* event) {
    const auto answer = m_prompts.message(
        QStringLiteral("Möchten Sie Tilgomat beenden?"), QStringLiteral("Programmende"),
        ui::Prompts::Icon::Question, ui::Prompts::Buttons::YesNo, ui::Prompts::Answer::Yes);
    if (answer != ui::Prompts::Answer::Yes) {
        event->ignore();
        return;
    }
    event->accept();
    m_closing = true;
    // A search in progress sees m_closing and leaves its result aside; the application ends as
    // soon as control is back in the main event loop. Until then nothing may go on: with the
    // list emptied, a delete or move whose new search was cut short finds no file left to
    // warn about and log as a failure.
    m_resultModel->setEntries({});
    QApplication::closeAllWindows();
    QApplication::quit();
}

void frmMain::Drive1_Change() {
    m_shared.sPath = Drive1->drive();
    Dir1->setPath(m_shared.sPath);
    File1->setPath(m_shared.sPath);
}

void frmMain::Dir1_Change() {
    m_shared.sPath = Dir1->path();
    Drive1->setDrive(m_shared.sPath);
    File1->setPath(m_shared.sPath);
    txtFolderMask->setText(ui::fromUtf8(Dir1->path()));
    shpMarker->setVisible(false);
}
