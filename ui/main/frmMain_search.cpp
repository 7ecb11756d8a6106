// The main window's search: the walk behind "List", the busy bar while it takes long, the
// events let through meanwhile, and its end when the window closes.

#include "core/search.h"
#include "ui/controls/panel_status_bar.h"
#include "ui/controls/utf8_text.h"
#include "ui/main/frmMain.h"
#include "ui/main/result_list_model.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>

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
    core::SearchQuery query{ui::toUtf8(txtFolderMask->text()), ui::toUtf8(cboMuster->currentText()),
                            Check1->isChecked()};
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
    const core::WalkOptions ahead{listingThreads, [this] { return m_closing; }};
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
