#include "ui/dialogs/attributes_dialog.h"

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

namespace ui {

AttributesDialog::AttributesDialog(const std::string& folder, const std::string& fileName,
                                   std::function<void()> refreshList, platform::Platform& fs,
                                   Prompts& prompts, QWidget* parent)
    : QDialog(parent), m_folder(core::withTrailingBackslash(folder)), m_file(m_folder + fileName),
      m_refreshList(std::move(refreshList)), m_fs(fs), m_prompts(prompts) {
    setWindowTitle(QStringLiteral("Dateiattribute"));
    setFixedDialogFrame(*this, 2760, 3750, 6030, 3195);
    createControls();
    showFile();
}

void AttributesDialog::createControls() {
    auto place = [this](QWidget* w, double left, double top, double width, double height) {
        w->setGeometry(twipsRect(left, top, width, height, this));
    };

    // The frame comes first so that its title label is drawn over its top edge.
    groupFrame = new QFrame(this);
    groupFrame->setObjectName(QStringLiteral("groupFrame"));
    groupFrame->setAccessibleName(QStringLiteral("Dateiattribute"));
    groupFrame->setFrameShape(QFrame::Box);
    groupFrame->setFrameShadow(QFrame::Plain);
    place(groupFrame, 120, 240, 5775, 1815);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    place(okButton, 3360, 2640, 1215, 375);
    connect(okButton, &QPushButton::clicked, this, &AttributesDialog::apply);

    cancelButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    place(cancelButton, 4680, 2640, 1215, 375);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    struct BoxSpec {
        const char* caption;
        double left, top, width;
    };
    static constexpr BoxSpec boxes[4] = {{"Schreibgeschützt", 360, 960, 1815},
                                         {"Versteckt", 3000, 1440, 1215},
                                         {"System", 3000, 960, 1215},
                                         {"Archiv", 360, 1440, 1215}};
    for (std::size_t i = 0; i < attributeBoxes.size(); ++i) {
        QCheckBox*& box = attributeBoxes[i];
        box = new QCheckBox(QString::fromUtf8(boxes[i].caption), this);
        box->setObjectName(QStringLiteral("attributeBox%1").arg(i));
        place(box, boxes[i].left, boxes[i].top, boxes[i].width, 495);
        // As the group title: a wider desktop font must not cut the caption short.
        box->resize(std::max(box->width(), box->sizeHint().width()), box->height());
        // Any change of state rebuilds the value, a screen reader's toggle as much as a click;
        // setting the boxes from the file delivers nothing.
        connect(box, &QCheckBox::toggled, this, &AttributesDialog::takeBoxes);
    }

    fileLabel = new QLabel(this);
    fileLabel->setObjectName(QStringLiteral("fileLabel"));
    fileLabel->setAccessibleDescription(QStringLiteral("Datei"));
    fileLabel->setTextFormat(Qt::PlainText);
    QFont bold = fileLabel->font();
    bold.setBold(true);
    fileLabel->setFont(bold);
    place(fileLabel, 240, 480, 5535, 495);

    groupTitle = new QLabel(QStringLiteral("Ändern der Dateiatrribute"), this);
    groupTitle->setObjectName(QStringLiteral("groupTitle"));
    groupTitle->setAutoFillBackground(true);
    place(groupTitle, 360, 120, 2055, 255);
    // A desktop font wider than the design font must not cut the group title short.
    groupTitle->resize(std::max(groupTitle->width(), groupTitle->sizeHint().width()),
                       groupTitle->height());

    dateLabel = new QLabel(this);
    dateLabel->setObjectName(QStringLiteral("dateLabel"));
    dateLabel->setAccessibleDescription(QStringLiteral("Datum der letzten Änderung"));
    dateLabel->setTextFormat(Qt::PlainText);
    place(dateLabel, 120, 2160, 5655, 255);

    withoutDefaultButton(*this);
    setTabOrder(okButton, cancelButton);
    setTabOrder(cancelButton, attributeBoxes[0]);
    for (std::size_t i = 1; i < attributeBoxes.size(); ++i)
        setTabOrder(attributeBoxes[i - 1], attributeBoxes[i]);
    okButton->setFocus();
}

void AttributesDialog::showFile() {
    fileLabel->setText(QLatin1Char(' ') + fromUtf8(m_file));
    readAttributes();

    // The date line stays empty when the date cannot be read.
    if (auto when = m_fs.fileDateTime(m_file))
        dateLabel->setText(QStringLiteral("Erstellt am: ") + fromUtf8(core::dateText(*when)));
}

void AttributesDialog::readAttributes() {
    // A file that cannot be read shows all boxes unchecked and keeps the value 0.
    if (auto attributes = m_fs.getAttributes(m_file))
        m_attributes = *attributes;
    for (std::size_t i = 0; i < attributeBoxes.size(); ++i) {
        const QSignalBlocker blocker(attributeBoxes[i]);
        attributeBoxes[i]->setChecked(core::boxChecked(m_attributes, i));
    }
}

void AttributesDialog::takeBoxes() {
    std::array<int, 4> states{};
    for (std::size_t i = 0; i < attributeBoxes.size(); ++i)
        states[i] = attributeBoxes[i]->isChecked() ? 1 : 0;
    m_attributes = core::attributesFromBoxes(states);
}

void AttributesDialog::apply() {
    const bool failed = static_cast<bool>(m_fs.setAttributes(m_file, m_attributes));
    // Re-read even after a failure: a set can fail half-way (write bits changed, stored bits
    // refused), and the list must show what the file is now.
    m_refreshList();
    if (failed) {
        // The dialog stays open with its boxes as they are, so the user can change the choice
        // or cancel.
        m_prompts.message(QStringLiteral("Die Dateiattribute von\n%1\nkonnten nicht geändert "
                                         "werden!")
                              .arg(fromUtf8(m_file)),
                          QStringLiteral("Tilgomat"), Prompts::Icon::Exclamation,
                          Prompts::Buttons::Ok);
        return;
    }
    accept();
}

void AttributesDialog::keyPressEvent(QKeyEvent* event) {
    if (enterPressesFocusedButton(*this, event))
        return;
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace ui
