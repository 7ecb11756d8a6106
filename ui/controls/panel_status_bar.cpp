#include "ui/controls/panel_status_bar.h"

#include "ui/controls/twips.h"

#include <QLabel>

namespace ui {

PanelStatusBar::PanelStatusBar(QWidget* parent) : QStatusBar(parent) {
    setAccessibleName(QStringLiteral("Statusleiste"));
}

void PanelStatusBar::addPanel(int minimumWidthTwips) {
    auto* label = new QLabel(this);
    label->setMinimumWidth(toPixels(minimumWidthTwips, this));
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setTextFormat(Qt::PlainText);
    const int number = static_cast<int>(m_panels.size()) + 1;
    label->setAccessibleName(QStringLiteral("Feld %1").arg(number));
    // The last panel takes the room left over; the others keep their minimum width.
    addPermanentWidget(label, 1);
    m_panels.push_back(label);
}

void PanelStatusBar::setPanelText(int number, const QString& text) {
    if (number >= 1 && number <= panelCount())
        m_panels[static_cast<std::size_t>(number - 1)]->setText(text);
}

QString PanelStatusBar::panelText(int number) const {
    if (number < 1 || number > panelCount())
        return {};
    return m_panels[static_cast<std::size_t>(number - 1)]->text();
}

} // namespace ui
