#pragma once

#include <QStatusBar>
#include <QString>
#include <vector>

class QLabel;

namespace ui {

// A status bar of numbered text panels (1-based), each with a minimum width in twips.
class PanelStatusBar : public QStatusBar {
    Q_OBJECT

public:
    explicit PanelStatusBar(QWidget* parent = nullptr);

    void addPanel(int minimumWidthTwips);
    int panelCount() const { return static_cast<int>(m_panels.size()); }
    // Out-of-range numbers are ignored.
    void setPanelText(int number, const QString& text);
    QString panelText(int number) const;

private:
    std::vector<QLabel*> m_panels;
};

} // namespace ui
