#include "ui/dialogs/frmAbout.h"

#include "ui/controls/program_icon.h"
#include "ui/controls/prompts.h"
#include "ui/controls/twips.h"
#include "ui/dialogs/dialog_frame.h"
#include "version_info.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

QString title() {
    return QString::fromUtf8(version_info::title);
}

} // namespace

frmAbout::frmAbout(platform::Platform& fs, ui::Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_fs(fs), m_prompts(prompts) {
    ui::setFixedDialogFrame(*this, 2340, 1935, 5730, 3555);
    createControls();
    Form_Load();
}

void frmAbout::createControls() {
    auto place = [this](QWidget* w, double left, double top, double width, double height) {
        w->setGeometry(ui::twipsRect(left, top, width, height, this));
    };
    // A screen reader reads each label by its text; what it holds is its description.
    auto label = [this, &place](const char* name, const QString& description, double left,
                                double top, double width, double height) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setAccessibleDescription(description);
        l->setTextFormat(Qt::PlainText);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        l->setWordWrap(true);
        place(l, left, top, width, height);
        return l;
    };

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    place(cmdOK, 4245, 2625, 1260, 345);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    // The picture box takes the size of the icon it shows (32 pixels at 96 DPI).
    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setAccessibleName(QStringLiteral("Programmsymbol"));
    const int iconSize = ui::toPixels(480, this);
    picIcon->setPixmap(ui::programIcon().pixmap(iconSize, iconSize));
    picIcon->setGeometry(ui::toPixels(240, this), ui::toPixels(240, this), iconSize, iconSize);

    cmdSysInfo = new QPushButton(QStringLiteral("&Systeminfo..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAccessibleDescription(
        QStringLiteral("Startet das Programm, das die Systeminformationen zeigt"));
    place(cmdSysInfo, 4260, 3075, 1245, 345);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);

    lblDescription =
        label("lblDescription", QStringLiteral("Beschreibung"), 1050, 1125, 3885, 1170);
    lblDisclaimer =
        label("lblDisclaimer", QStringLiteral("Rechtlicher Hinweis"), 255, 2625, 3870, 825);
    lblTitle = label("lblTitle", QStringLiteral("Titel"), 1050, 240, 3885, 480);
    lblVersion = label("lblVersion", QStringLiteral("Version"), 1050, 780, 3885, 225);
    lblVersion->setWordWrap(false);

    // Two lines, grey above and a wider white one just below, draw an etched separator.
    const int right = ui::toPixels(5654, this);
    auto line = [this, right](int index, double left, double top, QColor colour, int pixels) {
        auto* f = new QFrame(this);
        f->setObjectName(QStringLiteral("Line1_%1").arg(index));
        f->setAccessibleName(QStringLiteral("Trennlinie"));
        f->setAutoFillBackground(true);
        QPalette p = f->palette();
        p.setColor(QPalette::Window, colour);
        f->setPalette(p);
        const int x = ui::toPixels(left, this);
        f->setGeometry(x, ui::toPixels(top, this), right - x, pixels);
        Line1[static_cast<std::size_t>(index)] = f;
    };
    line(1, 90, 2445, QColor(0x80, 0x80, 0x80), 1);
    line(0, 105, 2460, QColor(0xFF, 0xFF, 0xFF), 2);

    setTabOrder(cmdOK, cmdSysInfo);
    cmdOK->setFocus();
}

void frmAbout::Form_Load() {
    setWindowTitle(QStringLiteral("Info zu ") + title());
    lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                            .arg(version_info::major)
                            .arg(version_info::minor)
                            .arg(version_info::revision));
    lblTitle->setText(title());
    lblDisclaimer->setText(QString::fromUtf8(version_info::legalNotice));
    lblDescription->setText(QString::fromUtf8(version_info::description) + QLatin1Char('\n') +
                            QStringLiteral("Projekt: ") +
                            QString::fromUtf8(version_info::companyName) + QLatin1Char('\n') +
                            QString::fromUtf8(version_info::trademarks));
}

void frmAbout::StartSysInfo() {
    if (const std::string tool = m_fs.systemInformationProgram();
        !tool.empty() && !m_fs.startProgram(tool))
        return;
    m_prompts.message(QStringLiteral("Systeminformationen sind momentan nicht verfügbar"), title(),
                      ui::Prompts::Icon::None, ui::Prompts::Buttons::Ok);
}
