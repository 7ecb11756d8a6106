// The main window's search: the walk behind "List", the busy bar while it takes long, the
// events let through meanwhile, and its end when the window closes.

#include "core/search.h"
#include "ui/controls/panel_status_bar.h"
#include "ui/controls/utf8_text.h"
#include "ui/main/main_window.h"
#include "ui/main/result_list_model.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QLineEdit>
#include <QListView>

namespace ui {

namespace {

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

void MainWindow::listMatchingFiles() {
    // Events are processed during the walk, so a second request could arrive meanwhile; it is
    // refused rather than interleaving two walks into one list.
    if (m_searching || m_closing)
        return;
    m_searching = true;
    m_fileCount = 0;
    m_folderCount = 0;
    // The walk lower-cases the folder text for the entries, but starts from the folder as
    // chosen: the lower-cased text could name another folder, its twin.
    core::SearchQuery query{toUtf8(m_folderEdit->text()), toUtf8(m_pattern->currentText()),
                            m_subfolders->isChecked()};
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

    m_resultList->setVisible(false);
    m_fileCount = found.files;
    m_folderCount = found.folders;
    m_resultModel->setEntries(std::move(found.entries));
    m_resultList->setVisible(true);

    m_listMarker->setVisible(true);
    m_statusBar->setPanelText(1, QStringLiteral("Dateien ") + QString::number(m_fileCount));
    m_statusBar->setPanelText(2,
                              QStringLiteral("Verzeichnisse: ") + QString::number(m_folderCount));
    m_statusBar->setPanelText(3, versionText());
}

} // namespace ui
