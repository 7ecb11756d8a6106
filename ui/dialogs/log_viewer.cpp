#include "ui/dialogs/log_viewer.h"

#include "core/log_text.h"
#include "core/modFile.h"
#include "core/operation_log.h"
#include "ui/controls/log_text_box.h"
#include "ui/controls/prompts.h"
#include "ui/controls/twips.h"
#include "ui/controls/utf8_text.h"
#include "ui/dialogs/dialog_frame.h"

#include <QKeyEvent>
#include <QPushButton>

namespace ui {

namespace {

const QString kTitle = QStringLiteral("Tilgomat");

} // namespace

LogViewer::LogViewer(platform::Platform& fs, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_fs(fs), m_prompts(prompts) {
    setWindowTitle(QStringLiteral("Löschprotokoll"));
    setFixedDialogFrame(*this, 2760, 3750, 8910, 5580);
    createControls();
    showLog();
}

void LogViewer::createControls() {
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setGeometry(twipsRect(7560, 5040, 1215, 375, this));
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    deleteButton = new QPushButton(QStringLiteral("Löschen"), this);
    deleteButton->setObjectName(QStringLiteral("deleteButton"));
    deleteButton->setAccessibleDescription(QStringLiteral("Löscht das Protokoll"));
    deleteButton->setGeometry(twipsRect(6240, 5040, 1215, 375, this));
    connect(deleteButton, &QPushButton::clicked, this, &LogViewer::deleteLog);

    textBox = new LogTextBox({}, this);
    textBox->setObjectName(QStringLiteral("textBox"));
    textBox->setAccessibleName(QStringLiteral("Protokoll"));
    textBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textBox->setGeometry(twipsRect(120, 120, 8655, 4695, this));

    withoutDefaultButton(*this);
    setTabOrder(okButton, deleteButton);
    setTabOrder(deleteButton, textBox);
    okButton->setFocus();
}

void LogViewer::showLog() {
    m_logPath = core::logPath(m_fs);
    if (modFile::FileExists(m_fs, m_logPath)) {
        appendLog();
        return;
    }
    m_prompts.message(QStringLiteral("Protokoll leer oder nicht vorhanden!"), kTitle,
                      Prompts::Icon::Information, Prompts::Buttons::Ok);
    textBox->setPlainText(QStringLiteral("[Protokoll ist leer]"));
    deleteButton->setEnabled(false);
}

void LogViewer::appendLog() {
    // A log that cannot be read adds nothing.
    const auto bytes = m_fs.readFile(m_logPath);
    if (!bytes)
        return;
    // Appended to the empty box in one step, not line by line, so the text is taken over
    // without a copy.
    textBox->appendUtf8(core::logViewerText(*bytes));
}

void LogViewer::deleteLog() {
    const auto answer =
        m_prompts.message(QStringLiteral("Möchten Sie das Protokoll wirklich löschen?"), kTitle,
                          Prompts::Icon::Question, Prompts::Buttons::YesNo, Prompts::Answer::Yes);
    if (answer != Prompts::Answer::Yes)
        return;
    if (m_fs.deleteFile(m_logPath)) {
        // The viewer stays open, so nothing pretends the log is gone.
        m_prompts.message(QStringLiteral("Das Protokoll\n%1\nkonnte nicht gelöscht werden!")
                              .arg(fromUtf8(m_logPath)),
                          kTitle, Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
        return;
    }
    accept();
}

void LogViewer::keyPressEvent(QKeyEvent* event) {
    // The viewer has no cancel button, so Esc does nothing; OK and the close box close it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    if (!enterPressesFocusedButton(*this, event))
        QDialog::keyPressEvent(event);
}

} // namespace ui
