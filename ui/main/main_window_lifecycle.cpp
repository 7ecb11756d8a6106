// The main window's start-up, layout, closing and folder views.

#include "core/modSpecialFolder.h"
#include "core/operation_log.h"
#include "ui/controls/drive_list_box.h"
#include "ui/controls/file_list_box.h"
#include "ui/controls/folder_list_box.h"
#include "ui/controls/panel_status_bar.h"
#include "ui/controls/twips.h"
#include "ui/controls/utf8_text.h"
#include "ui/main/main_window.h"
#include "ui/main/main_window_target_folder.h"
#include "ui/main/result_list_model.h"
#include "version_info.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>

namespace ui {

namespace {

const char* const initialPatterns[] = {"*.*",    "*.accdb", "*.avi",  "*.bmp",  "*.doc",  "*.dot",
                                       "*.docx", "*.dotx",  "*.gif",  "*.jpg",  "*.jpeg", "*.mdb",
                                       "*.mp3",  "*.mp4",   "*.mpg",  "*.mpeg", "*.png",  "*.ppt",
                                       "*.pps",  "*.pptx",  "*.ppsx", "*.xls",  "*.xlsx", "*.wmf"};

} // namespace

// The members the window owns are complete here.
MainWindow::~MainWindow() = default;

QString MainWindow::versionText() const {
    return fromUtf8(m_fs.executableName()) + QStringLiteral(" Release ") +
           QString::number(version_info::major) + QLatin1Char('.') +
           QString::number(version_info::minor) + QLatin1Char('.') +
           QString::number(version_info::revision);
}

void MainWindow::showStartState() {
    const std::string documents =
        modSpecialFolder::SpecialFolderPath(m_fs, modSpecialFolder::CSIDL_PERSONAL);
    m_shared.viewedFolder = documents;
    // The drive change moves the folder list to the drive's current folder, so the folder and
    // file lists are pointed at the documents folder itself afterwards. Without a documents
    // folder the views stay on the current drive's current folder.
    if (!documents.empty()) {
        m_driveList->setDrive(documents);
        m_folderView->setPath(documents);
        m_fileView->setPath(documents);
    }
    m_folderEdit->clear();
    for (const char* pattern : initialPatterns)
        m_pattern->addItem(QString::fromLatin1(pattern));
    m_pattern->setEditText(QStringLiteral("*.*"));
    m_statusBar->setPanelText(1, QStringLiteral("Dateien: 0"));
    m_statusBar->setPanelText(2, QStringLiteral("Verzeichnisse: 0"));
    m_statusBar->setPanelText(3, versionText());
    m_listMarker->setVisible(false);
    placeMarker(m_layout);
    applyLayout();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    const QRect outer = frameGeometry();
    applyResizeRules(m_layout, static_cast<float>(toTwips(outer.width(), this)),
                     static_cast<float>(toTwips(outer.height(), this)));
    applyLayout();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    const auto answer = m_prompts.message(QStringLiteral("Möchten Sie Tilgomat beenden?"),
                                          QStringLiteral("Programmende"), Prompts::Icon::Question,
                                          Prompts::Buttons::YesNo, Prompts::Answer::Yes);
    if (answer != Prompts::Answer::Yes) {
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

void MainWindow::onDriveChanged() {
    m_shared.viewedFolder = m_driveList->drive();
    m_folderView->setPath(m_shared.viewedFolder);
    m_fileView->setPath(m_shared.viewedFolder);
}

void MainWindow::onFolderChanged() {
    m_shared.viewedFolder = m_folderView->path();
    m_driveList->setDrive(m_shared.viewedFolder);
    m_fileView->setPath(m_shared.viewedFolder);
    m_folderEdit->setText(fromUtf8(m_folderView->path()));
    m_listMarker->setVisible(false);
}

} // namespace ui
