#pragma once

class QCoreApplication;

namespace ui {

// Installs Qt's own German texts (standard buttons, the context menus of text fields, Qt's
// dialogs) from the system's Qt translations, or those the program carries; true when found.
bool installGermanQtTranslations(QCoreApplication& app);

} // namespace ui
