#pragma once

// What the UI tests do as a user would: press a key on a widget, and see how a dialog ended.

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QString>

#include <optional>

namespace testsupport {

inline void press(QWidget& target, int key, Qt::KeyboardModifiers modifiers = {},
                  const QString& text = {}) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&target, &event);
}

// The result a dialog finished with, once it has.
struct Finished {
    std::optional<int> result;
    explicit Finished(QDialog& dialog) {
        QObject::connect(&dialog, &QDialog::finished, [this](int r) { result = r; });
    }
    Finished(const Finished&) = delete;
    Finished& operator=(const Finished&) = delete;
};

} // namespace testsupport
