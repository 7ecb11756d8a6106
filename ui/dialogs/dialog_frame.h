#pragma once

#include <QDialog>

class QKeyEvent;

namespace ui {

// Gives a dialog the program's fixed dialog frame (title bar with close box only, no resizing,
// no task bar entry), the program icon, and a client area of the given size in
// twips whose top-left corner sits at the given twips from the top-left corner of the screen.
void setFixedDialogFrame(QDialog& dialog, double left, double top, double width, double height);

// For a dialog without a default button: none of its push buttons takes that role when the
// dialog is shown. Call once its buttons exist.
void withoutDefaultButton(QDialog& dialog);

// Enter presses the push button that has the focus and does nothing elsewhere. True when the
// event was such a key and has been handled.
bool enterPressesFocusedButton(QDialog& dialog, QKeyEvent* event);

} // namespace ui
