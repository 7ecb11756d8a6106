// The main window's start-up, layout, closing, search and folder views.

#include "core/modSpecialFolder.h"
#include "core/search.h"
#include "ui/controls/drive_list_box.h"
#include "ui/controls/file_list_box.h"
#include "ui/controls/folder_list_box.h"
#include "ui/controls/keyed_tool_bar.h"
#include "ui/controls/panel_status_bar.h"
#include "ui/controls/twips.h"
#include "ui/main/frmMain.h"
#include "ui/main/result_list_model.h"
#include "version_info.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>

namespace {

const char* const initialPatterns[] = {"*.*",    "*.accdb", "*.avi",  "*.bmp",  "*.doc",  "*.dot",
                                       "*.docx", "*.dotx",  "*.gif",  "*.jpg",  "*.jpeg", "*.mdb",
                                       "*.mp3",  "*.mp4",   "*.mpg",  "*.mpeg", "*.png",  "*.ppt",
                                       "*.pps",  "*.pptx",  "*.ppsx", "*.xls",  "*.xlsx", "*.wmf"};

QString fromUtf8(const std::string& s) {
    return QString::fromStdString(s);
}

constexpr qint64 busyBarDelayMs = 300;
// The longest the search lets the window wait between two rounds of events, as far as it can.
constexpr qint64 eventRoundMs = 8;
// More reads in flight than cores: a cold disk answers several at once sooner than one by one,
// a share many (the walk takes as many as the listings' speed calls for).
constexpr unsigned listingThreads = 8;

void processPendingEvents() {
    QApplication::processEvents();
}

} // namespace

QString frmMain::versionText() const {
    return fromUtf8(m_fs.executableName()) + QStringLiteral(" Release ") +
           QString::number(version_info::major) + QLatin1Char('.') +
           QString::number(version_info::minor) + QLatin1Char('.') +
           QString::number(version_info::revision);
}

void frmMain::Form_Load() {
    const std::string documents =
        modSpecialFolder::SpecialFolderPath(m_fs, modSpecialFolder::CSIDL_PERSONAL);
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

void frmMain::ListMatchingFiles() {
    // Events are processed during the walk, so a second request could arrive meanwhile; it is
    // refused rather than interleaving two walks into one list.
    if (m_searching || m_closing)
        return;
    m_searching = true;
    intFileCount = 0;
    intFolderCount = 0;
    // The walk lower-cases the folder text for the entries, but starts from the folder as
    // chosen: the lower-cased text could name another folder, its twin.
    core::SearchQuery query{txtFolderMask->text().toStdString(),
                            cboMuster->currentText().toStdString(), Check1->isChecked()};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    processPendingEvents();
    QElapsedTimer walking;
    walking.start();
    bool busyShown = false;
    qint64 lastRound = -eventRoundMs; // the first folder lets events through
    const auto onEachFolder = [this, &walking, &busyShown, &lastRound] {
        // A quick search is over before a busy bar would do more than flicker.
        if (!busyShown && walking.elapsed() >= busyBarDelayMs) {
            showSearchBusy();
            busyShown = true;
        }
        // The walk asks once per folder and every few milliseconds while it waits for one;
        // events are let through when some time has passed, so that ten thousand small
        // folders do not cost ten thousand rounds.
        if (const qint64 now = walking.elapsed(); now - lastRound >= eventRoundMs) {
            lastRound = now;
            processPendingEvents();
        }
    };
    // Folders are listed ahead on worker threads; closing the window ends the walk at once.
    const modFile::WalkOptions ahead{listingThreads, [this] { return m_closing; }};
    core::SearchResult found = core::search(m_fs, query, onEachFolder, ahead);
    if (busyShown)
        hideProgress();
    QApplication::restoreOverrideCursor();
    processPendingEvents();
    m_searching = false;
    if (m_closing)
        return;

    List1->setVisible(false);
    intFileCount = found.files;
    intFolderCount = found.folders;
    m_resultModel->setEntries(std::move(found.entries));
    List1->setVisible(true);

    shpMarker->setVisible(true);
    Label5->setText(QString::number(intFolderCount));
    Label6->setText(QString::number(intFileCount));
    StatusBar1->setPanelText(1, QStringLiteral("Dateien ") + QString::number(intFileCount));
    StatusBar1->setPanelText(2,
                             QStringLiteral("Verzeichnisse: ") + QString::number(intFolderCount));
    StatusBar1->setPanelText(3, versionText());
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
    txtFolderMask->setText(fromUtf8(Dir1->path()));
    shpMarker->setVisible(false);
}
