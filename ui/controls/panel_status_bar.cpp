#include "ui/controls/panel_status_bar.h"

#include "ui/controls/twips.h"

#include <QLabel>

namespace ui {

PanelStatusBar::PanelStatusBar(QWidget* parent) : QStatusBar(parent) {
    setAccessibleName(QStringLiteral("Statusleiste"));
}

void PanelStatusBar::addPanel(const Panel& panel) {
    auto* label = new QLabel(this);
    // A panel that does not stretch keeps its width, or the width its text needs; the one that
    // stretches never gets narrower than its minimum.
    label->setMinimumWidth(
        toPixels(panel.stretches ? panel.minimumWidthTwips : panel.widthTwips, this));
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setTextFormat(Qt::PlainText);
    label->setAccessibleDescription(panel.description);
    addPermanentWidget(label, panel.stretches ? 1 : 0);
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
