#include "ui/dialogs/frmProtocoll.h"

#include "core/log_text.h"
#include "core/operation_log.h"
#include "ui/controls/log_text_box.h"
#include "ui/controls/prompts.h"
#include "ui/controls/twips.h"
#include "ui/controls/utf8_text.h"
#include "ui/dialogs/dialog_frame.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {

const QString kTitle = QStringLiteral("Tilgomat");

} // namespace

frmProtocoll::frmProtocoll(platform::Platform& fs, ui::Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_fs(fs), m_prompts(prompts) {
    setWindowTitle(QStringLiteral("Löschprotokoll"));
    ui::setFixedDialogFrame(*this, 2760, 3750, 8910, 5580);
    createControls();
    Form_Load();
}

void frmProtocoll::createControls() {
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(ui::twipsRect(7560, 5040, 1215, 375, this));
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    cmdDelProt = new QPushButton(QStringLiteral("Löschen"), this);
    cmdDelProt->setObjectName(QStringLiteral("cmdDelProt"));
    cmdDelProt->setAccessibleDescription(QStringLiteral("Löscht das Protokoll"));
    cmdDelProt->setGeometry(ui::twipsRect(6240, 5040, 1215, 375, this));
    connect(cmdDelProt, &QPushButton::clicked, this, &frmProtocoll::cmdDelProt_Click);

    txtText = new ui::LogTextBox(QStringLiteral("Text1"), this);
    txtText->setObjectName(QStringLiteral("txtText"));
    txtText->setAccessibleName(QStringLiteral("Protokoll"));
    txtText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtText->setGeometry(ui::twipsRect(120, 120, 8655, 4695, this));

    ui::withoutDefaultButton(*this);
    setTabOrder(OKButton, cmdDelProt);
    setTabOrder(cmdDelProt, txtText);
    OKButton->setFocus();
}

void frmProtocoll::Form_Load() {
    m_logPath = core::logPath(m_fs);
    if (m_fs.fileLength(m_logPath).ok()) {
        txtText->setPlainText({});
        openProtocoll();
        return;
    }
    m_prompts.message(QStringLiteral("Protokoll leer oder nicht vorhanden!"), kTitle,
                      ui::Prompts::Icon::Information, ui::Prompts::Buttons::Ok);
    txtText->setPlainText(QStringLiteral("[Protokoll ist leer]"));
    cmdDelProt->setEnabled(false);
}

void frmProtocoll::openProtocoll() {
    // A log that cannot be read adds nothing.
    const auto bytes = m_fs.readFile(core::logPath(m_fs));
    if (!bytes)
        return;
    // Appended to what the box holds in one step, not line by line; onto the empty box the
    // text is taken over without a copy.
    txtText->appendUtf8(core::logViewerText(*bytes));
}

void frmProtocoll::cmdDelProt_Click() {
    const auto answer = m_prompts.message(
        QStringLiteral("Möchten Sie das Protokoll wirklich löschen?"), kTitle,
        ui::Prompts::Icon::Question, ui::Prompts::Buttons::YesNo, ui::Prompts::Answer::Yes);
    if (answer != ui::Prompts::Answer::Yes)
        return;
    if (m_fs.deleteFile(m_logPath)) {
        // The viewer stays open, so nothing pretends the log is gone.
        m_prompts.message(QStringLiteral("Das Protokoll\n%1\nkonnte nicht gelöscht werden!")
                              .arg(ui::fromUtf8(m_logPath)),
                          kTitle, ui::Prompts::Icon::Exclamation, ui::Prompts::Buttons::Ok);
        return;
    }
    accept();
}

void frmProtocoll::keyPressEvent(QKeyEvent* event) {
    // The viewer has no cancel button, so Esc does nothing; OK and the close box close it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    if (!ui::enterPressesFocusedButton(*this, event))
        QDialog::keyPressEvent(event);
}
