// The main window's progress display: a bar beside the status panels that counts the files of a
// long delete, copy or move pass, or shows that a search is walking the folders.

#include "ui/controls/panel_status_bar.h"
#include "ui/controls/twips.h"
#include "ui/main/main_window.h"

#include <QApplication>
#include <QProgressBar>

namespace ui {

namespace {

// Shorter passes end before a bar would be worth looking at.
constexpr std::size_t progressThreshold = 200;

} // namespace

void MainWindow::createProgressBar() {
    m_progress = new QProgressBar(m_statusBar);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setFixedWidth(toPixels(2000, this));
    m_progress->setVisible(false);
    m_statusBar->addPermanentWidget(m_progress);
}

void MainWindow::showBulkProgress(std::size_t done, std::size_t total) {
    if (total <= progressThreshold)
        return;
    if (done >= total) {
        hideProgress();
        return;
    }
    if (m_progress->isHidden()) {
        m_progress->setRange(0, static_cast<int>(total));
        m_progress->setFormat(QStringLiteral("%v von %m"));
        m_progress->setTextVisible(true);
        m_progress->setAccessibleName(QStringLiteral("Fortschritt"));
        m_progress->setVisible(true);
        m_progressPercent = -1;
    }
    m_progress->setValue(static_cast<int>(done));
    // The pass takes no input, yet at each percent the window lays itself out and repaints
    // what other windows uncovered, the closed confirmation box first of all. Clicks, keys and
    // a close request wait until the pass is through.
    const int percent = static_cast<int>(done * 100 / total);
    if (percent != m_progressPercent) {
        m_progressPercent = percent;
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void MainWindow::showSearchBusy() {
    if (!m_progress->isHidden())
        return;
    // No range: the bar runs to and fro while the walk lets events through.
    m_progress->setRange(0, 0);
    m_progress->setTextVisible(false);
    m_progress->setAccessibleName(QStringLiteral("Suche läuft"));
    m_progress->setVisible(true);
}

void MainWindow::hideProgress() {
    m_progress->setVisible(false);
    m_progress->reset();
}

} // namespace ui
