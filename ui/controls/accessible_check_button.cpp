#include "ui/controls/accessible_check_button.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QToolButton>

namespace ui {

namespace {

// "&Datei" is read "Datei", "&&" is one "&".
QString withoutAccessLetter(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i;
        out.append(text[i]);
    }
    return out;
}

class AccessibleCheckButton : public QAccessibleWidget {
public:
    explicit AccessibleCheckButton(QAbstractButton* button)
        : QAccessibleWidget(button, qobject_cast<QCheckBox*>(button) ? QAccessible::CheckBox
                                                                     : QAccessible::Button) {}

    // Named by the text it shows, as Qt names any button; a button with an image only by its
    // tooltip.
    QString text(QAccessible::Text t) const override {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty()) {
            text = withoutAccessLetter(button()->text());
            if (text.isEmpty())
                text = button()->toolTip();
        }
        return text;
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = button()->isCheckable();
        state.checked = button()->isChecked();
        state.pressed = button()->isDown();
        return state;
    }

    QStringList actionNames() const override {
        return QStringList{button()->isCheckable() ? toggleAction() : pressAction()} +
               QAccessibleWidget::actionNames();
    }

    void doAction(const QString& name) override {
        if (name != toggleAction() && name != pressAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        // The click comes once the call has returned, as Qt's own press does: a button that
        // opens a modal dialog would otherwise hold the screen reader's call until it closes.
        if (button()->isEnabled())
            QMetaObject::invokeMethod(button(), &QAbstractButton::click, Qt::QueuedConnection);
    }

private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* checkButtonFactory(const QString& className, QObject* object) {
    // Qt asks once per class up the hierarchy; classes derived from these (the toolbar's
    // extension button, for one) keep Qt's own interface.
    if (className != QLatin1String(object->metaObject()->className()) ||
        (className != QLatin1String("QCheckBox") && className != QLatin1String("QToolButton")))
        return nullptr;
    // A toolbar asks for its buttons' interfaces before it makes them checkable, so tool buttons
    // get this interface whether they are checkable or not.
    auto* button = qobject_cast<QAbstractButton*>(object);
    return button ? new AccessibleCheckButton(button) : nullptr;
}

} // namespace

void installAccessibleCheckButtons() {
    static const bool installed = [] {
        QAccessible::installFactory(&checkButtonFactory);
        return true;
    }();
    (void)installed;
}

} // namespace ui
