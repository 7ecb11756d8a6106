#include "ui/controls/keyed_tool_bar.h"

#include <QAction>
#include <QSignalBlocker>

namespace ui {

KeyedToolBar::KeyedToolBar(QWidget* parent) : QToolBar(parent) {
    setAccessibleName(QStringLiteral("Symbolleiste"));
    setIconSize(QSize(16, 16));
    setMovable(false);
    setFloatable(false);
}

void KeyedToolBar::addButton(const QString& key, const QString& toolTip, const QIcon& icon,
                             bool checkButton) {
    QAction* action = addAction(icon, toolTip);
    action->setToolTip(toolTip);
    action->setCheckable(checkButton);
    // A check button reports its change of state, whatever made it: a click, a key or a screen
    // reader's toggle, which Qt delivers without a click.
    if (checkButton)
        connect(action, &QAction::toggled, this, [this, key] { emit buttonClick(key); });
    else
        // The command runs once the click has returned, as a push button's does: a screen
        // reader's press would otherwise wait for the dialog the command opens to be closed.
        connect(
            action, &QAction::triggered, this, [this, key] { emit buttonClick(key); },
            Qt::QueuedConnection);
    m_buttons.push_back({key, action, false});
}

void KeyedToolBar::addSeparatorButton() {
    m_buttons.push_back({QString(), addSeparator(), true});
}

const KeyedToolBar::Button* KeyedToolBar::at(int position) const {
    if (position < 1 || position > buttonCount())
        return nullptr;
    return &m_buttons[static_cast<std::size_t>(position - 1)];
}

QString KeyedToolBar::key(int position) const {
    const Button* b = at(position);
    return b ? b->key : QString();
}

bool KeyedToolBar::isPressed(int position) const {
    const Button* b = at(position);
    return b && !b->separator && b->action->isChecked();
}

void KeyedToolBar::setPressed(int position, bool pressed) {
    const Button* b = at(position);
    if (b && !b->separator && b->action->isCheckable()) {
        const QSignalBlocker blocker(b->action);
        b->action->setChecked(pressed);
    }
}

bool KeyedToolBar::isSeparator(int position) const {
    const Button* b = at(position);
    return b && b->separator;
}

QWidget* KeyedToolBar::buttonWidget(int position) const {
    const Button* b = at(position);
    return b && !b->separator ? widgetForAction(b->action) : nullptr;
}

void KeyedToolBar::click(int position) {
    const Button* b = at(position);
    if (!b || b->separator)
        return;
    if (b->action->isCheckable())
        b->action->trigger();
    else
        emit buttonClick(b->key);
}

} // namespace ui
