#include "ui/dialogs/frmFlags.h"

#include "core/attribute_bits.h"
#include "core/date_text.h"
#include "core/path_text.h"
#include "ui/controls/prompts.h"
#include "ui/controls/twips.h"
#include "ui/controls/utf8_text.h"
#include "ui/dialogs/dialog_frame.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>
#include <utility>

frmFlags::frmFlags(const std::string& folder, const std::string& fileName,
                   std::function<void()> refreshList, platform::Platform& fs, ui::Prompts& prompts,
                   QWidget* parent)
    : QDialog(parent), sFolder(core::withTrailingBackslash(folder)), sFile(sFolder + fileName),
      m_refreshList(std::move(refreshList)), m_fs(fs), m_prompts(prompts) {
    setWindowTitle(QStringLiteral("Dateiattribute"));
    ui::setFixedDialogFrame(*this, 2760, 3750, 6030, 3195);
    createControls();
    Form_Load();
}

void frmFlags::createControls() {
    auto place = [this](QWidget* w, double left, double top, double width, double height) {
        w->setGeometry(ui::twipsRect(left, top, width, height, this));
    };

    // The frame comes first so that its title label is drawn over its top edge.
    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setAccessibleName(QStringLiteral("Dateiattribute"));
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setFrameShadow(QFrame::Plain);
    place(Shape1, 120, 240, 5775, 1815);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    place(OKButton, 3360, 2640, 1215, 375);
    connect(OKButton, &QPushButton::clicked, this, &frmFlags::OKButton_Click);

    CancelButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    place(CancelButton, 4680, 2640, 1215, 375);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

    struct BoxSpec {
        const char* caption;
        double left, top, width;
    };
    static constexpr BoxSpec boxes[4] = {{"Schreibgeschützt", 360, 960, 1815},
                                         {"Versteckt", 3000, 1440, 1215},
                                         {"System", 3000, 960, 1215},
                                         {"Archiv", 360, 1440, 1215}};
    for (std::size_t i = 0; i < Check1.size(); ++i) {
        const QString caption = QString::fromUtf8(boxes[i].caption);
        Check1[i] = new QCheckBox(caption, this);
        Check1[i]->setObjectName(QStringLiteral("Check1_%1").arg(i));
        place(Check1[i], boxes[i].left, boxes[i].top, boxes[i].width, 495);
        // As the group title: a wider desktop font must not cut the caption short.
        Check1[i]->resize(std::max(Check1[i]->width(), Check1[i]->sizeHint().width()),
                          Check1[i]->height());
        // Any change of state rebuilds the value, a screen reader's toggle as much as a click;
        // setting the boxes from the file delivers nothing.
        connect(Check1[i], &QCheckBox::toggled, this, &frmFlags::Check1_Click);
    }

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAccessibleDescription(QStringLiteral("Datei"));
    Label1->setTextFormat(Qt::PlainText);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    place(Label1, 240, 480, 5535, 495);

    Label2 = new QLabel(QStringLiteral("Ändern der Dateiatrribute"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAutoFillBackground(true);
    place(Label2, 360, 120, 2055, 255);
    // A desktop font wider than the form font must not cut the group title short.
    Label2->resize(std::max(Label2->width(), Label2->sizeHint().width()), Label2->height());

    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAccessibleDescription(QStringLiteral("Datum der letzten Änderung"));
    Label3->setTextFormat(Qt::PlainText);
    place(Label3, 120, 2160, 5655, 255);

    ui::withoutDefaultButton(*this);
    setTabOrder(OKButton, CancelButton);
    setTabOrder(CancelButton, Check1[0]);
    for (std::size_t i = 1; i < Check1.size(); ++i)
        setTabOrder(Check1[i - 1], Check1[i]);
    OKButton->setFocus();
}

void frmFlags::Form_Load() {
    for (std::size_t i = 0; i < AttrBit.size(); ++i)
        AttrBit[i] = core::AttrBit[i];
    Label1->setText(QLatin1Char(' ') + ui::fromUtf8(sFile));
    readAttributes();

    // The date line stays empty when the date cannot be read.
    if (auto when = m_fs.fileDateTime(sFile))
        Label3->setText(QStringLiteral("Erstellt am: ") + ui::fromUtf8(core::dateText(*when)));
}

void frmFlags::readAttributes() {
    // A file that cannot be read shows all boxes unchecked and keeps the value 0.
    if (auto attributes = m_fs.getAttributes(sFile))
        iAttributes = *attributes;
    for (std::size_t i = 0; i < Check1.size(); ++i) {
        const QSignalBlocker blocker(Check1[i]);
        Check1[i]->setChecked(core::boxChecked(iAttributes, i));
    }
}

void frmFlags::Check1_Click() {
    std::array<int, 4> states{};
    for (std::size_t i = 0; i < Check1.size(); ++i)
        states[i] = Check1[i]->isChecked() ? 1 : 0;
    iAttributes = core::attributesFromBoxes(states);
}

void frmFlags::OKButton_Click() {
    const bool failed = static_cast<bool>(m_fs.setAttributes(sFile, iAttributes));
    // Re-read even after a failure: a set can fail half-way (write bits changed, stored bits
    // refused), and the list must show what the file is now.
    m_refreshList();
    if (failed) {
        // The dialog stays open with its boxes as they are, so the user can change the choice
        // or cancel.
        m_prompts.message(QStringLiteral("Die Dateiattribute von\n%1\nkonnten nicht geändert "
                                         "werden!")
                              .arg(ui::fromUtf8(sFile)),
                          QStringLiteral("Tilgomat"), ui::Prompts::Icon::Exclamation,
                          ui::Prompts::Buttons::Ok);
        return;
    }
    accept();
}

void frmFlags::keyPressEvent(QKeyEvent* event) {
    if (ui::enterPressesFocusedButton(*this, event))
        return;
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
