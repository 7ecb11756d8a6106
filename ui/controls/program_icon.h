#pragma once

#include <QIcon>

namespace ui {

// The program icon shared by all windows, from the rendered sizes in the resources.
QIcon programIcon();

// A toolbar image by its base name ("exit", "list", ..., "newfolder").
QIcon toolbarIcon(const char* name);

} // namespace ui
