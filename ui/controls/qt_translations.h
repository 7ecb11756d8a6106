#pragma once

class QCoreApplication;

namespace ui {

// Installs Qt's own German texts (standard buttons, the context menus of text fields, Qt's
// dialogs) when Qt's translations are installed on the system; true when they were found.
bool installGermanQtTranslations(QCoreApplication& app);

} // namespace ui
