#pragma once

#include <QStatusBar>
#include <QString>
#include <vector>

class QLabel;

namespace ui {

// A status bar of numbered text panels (1-based). A screen reader reads each panel by the text
// it shows; what the panel is for is its description.
class PanelStatusBar : public QStatusBar {
    Q_OBJECT

public:
    explicit PanelStatusBar(QWidget* parent = nullptr);

    struct Panel {
        int widthTwips = 1440;
        int minimumWidthTwips = 1440;
        bool stretches = false; // takes the room the other panels leave
        QString description;
    };
    void addPanel(const Panel& panel);
    int panelCount() const { return static_cast<int>(m_panels.size()); }
    // Out-of-range numbers are ignored.
    void setPanelText(int number, const QString& text);
    QString panelText(int number) const;

private:
    std::vector<QLabel*> m_panels;
};

} // namespace ui
