#include "ui/dialogs/about_box.h"

#include "ui/controls/program_icon.h"
#include "ui/controls/prompts.h"
#include "ui/controls/twips.h"
#include "ui/dialogs/dialog_frame.h"
#include "version_info.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace ui {

namespace {

QString programTitle() {
    return QString::fromUtf8(version_info::title);
}

} // namespace

AboutBox::AboutBox(platform::Platform& fs, Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_fs(fs), m_prompts(prompts) {
    setFixedDialogFrame(*this, 2340, 1935, 5730, 3555);
    createControls();
    showVersionInformation();
}

void AboutBox::createControls() {
    auto place = [this](QWidget* w, double left, double top, double width, double height) {
        w->setGeometry(twipsRect(left, top, width, height, this));
    };
    // A screen reader reads each label by its text; what it holds is its description.
    auto label = [this, &place](const char* name, const QString& purpose, double left, double top,
                                double width, double height) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setAccessibleDescription(purpose);
        l->setTextFormat(Qt::PlainText);
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        l->setWordWrap(true);
        place(l, left, top, width, height);
        return l;
    };

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    place(okButton, 4245, 2625, 1260, 345);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    // The picture takes the size of the icon it shows (32 pixels at 96 DPI).
    iconLabel = new QLabel(this);
    iconLabel->setObjectName(QStringLiteral("iconLabel"));
    iconLabel->setAccessibleName(QStringLiteral("Programmsymbol"));
    const int iconSize = toPixels(480, this);
    iconLabel->setPixmap(programIcon().pixmap(iconSize, iconSize));
    iconLabel->setGeometry(toPixels(240, this), toPixels(240, this), iconSize, iconSize);

    systemInfoButton = new QPushButton(QStringLiteral("&Systeminfo..."), this);
    systemInfoButton->setObjectName(QStringLiteral("systemInfoButton"));
    systemInfoButton->setAccessibleDescription(
        QStringLiteral("Startet das Programm, das die Systeminformationen zeigt"));
    place(systemInfoButton, 4260, 3075, 1245, 345);
    connect(systemInfoButton, &QPushButton::clicked, this, &AboutBox::startSystemInformation);

    description = label("description", QStringLiteral("Beschreibung"), 1050, 1125, 3885, 1170);
    disclaimer = label("disclaimer", QStringLiteral("Rechtlicher Hinweis"), 255, 2625, 3870, 825);
    title = label("title", QStringLiteral("Titel"), 1050, 240, 3885, 480);
    version = label("version", QStringLiteral("Version"), 1050, 780, 3885, 225);
    version->setWordWrap(false);

    // Two lines, grey above and a wider white one just below, draw an etched separator.
    const int right = toPixels(5654, this);
    auto line = [this, right](double left, double top, QColor colour, int pixels) {
        auto* f = new QFrame(this);
        f->setAccessibleName(QStringLiteral("Trennlinie"));
        f->setAutoFillBackground(true);
        QPalette p = f->palette();
        p.setColor(QPalette::Window, colour);
        f->setPalette(p);
        const int x = toPixels(left, this);
        f->setGeometry(x, toPixels(top, this), right - x, pixels);
    };
    line(90, 2445, QColor(0x80, 0x80, 0x80), 1);
    line(105, 2460, QColor(0xFF, 0xFF, 0xFF), 2);

    setTabOrder(okButton, systemInfoButton);
    okButton->setFocus();
}

void AboutBox::showVersionInformation() {
    setWindowTitle(QStringLiteral("Info zu ") + programTitle());
    version->setText(QStringLiteral("Version %1.%2.%3")
                         .arg(version_info::major)
                         .arg(version_info::minor)
                         .arg(version_info::revision));
    title->setText(programTitle());
    disclaimer->setText(QString::fromUtf8(version_info::legalNotice));
    description->setText(QString::fromUtf8(version_info::description) + QLatin1Char('\n') +
                         QStringLiteral("Projekt: ") +
                         QString::fromUtf8(version_info::companyName) + QLatin1Char('\n') +
                         QString::fromUtf8(version_info::trademarks));
}

void AboutBox::startSystemInformation() {
    if (const std::string tool = m_fs.systemInformationProgram();
        !tool.empty() && !m_fs.startProgram(tool))
        return;
    m_prompts.message(QStringLiteral("Systeminformationen sind momentan nicht verfügbar"),
                      programTitle(), Prompts::Icon::None, Prompts::Buttons::Ok);
}

} // namespace ui
