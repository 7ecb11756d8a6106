#pragma once

#include <QDialog>

namespace ui {

// Gives a dialog the program's fixed dialog frame (title bar with close box only, no resizing,
// no task bar entry), the program icon, the form font size, and a client area of the given size in
// twips whose top-left corner sits at the given twips from the top-left corner of the screen.
void setFixedDialogFrame(QDialog& dialog, double left, double top, double width, double height);

} // namespace ui
