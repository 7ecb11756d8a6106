#pragma once

#include <QIcon>
#include <QString>
#include <QToolBar>
#include <vector>

class QAction;

namespace ui {

// A toolbar whose buttons are known by a key and by their position (1-based, separators
// counted); a click reports the button's key, a push button's once the click has returned.
class KeyedToolBar : public QToolBar {
    Q_OBJECT

public:
    explicit KeyedToolBar(QWidget* parent = nullptr);

    void addButton(const QString& key, const QString& toolTip, const QIcon& icon,
                   bool checkButton = false);
    void addSeparatorButton();

    int buttonCount() const { return static_cast<int>(m_buttons.size()); }
    // Empty for a separator or a position out of range.
    QString key(int position) const;
    bool isPressed(int position) const;
    // Changes a check button's state without reporting a click.
    void setPressed(int position, bool pressed);
    bool isSeparator(int position) const;
    // The widget that shows a button; null for a separator or a position out of range.
    QWidget* buttonWidget(int position) const;
    // Clicks a button as the user would, but delivers its key at once: a check button toggles
    // first; a separator does nothing.
    void click(int position);

signals:
    void buttonClick(const QString& key);

private:
    struct Button {
        QString key;
        QAction* action = nullptr;
        bool separator = false;
    };
    const Button* at(int position) const;

    std::vector<Button> m_buttons;
};

} // namespace ui
