#include "platform/platform.h"
#include "ui/controls/prompts.h"
#include "ui/controls/qt_translations.h"
#include "ui/main/main_window.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tilgomat"));
    // Lets the desktop match the windows to the installed launcher and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("de.tilgomat.Tilgomat"));
    ui::installGermanQtTranslations(app);

    auto fs = platform::createHostPlatform();
    ui::QtPrompts prompts;
    ui::MainWindow window(*fs, prompts);
    prompts.setParentWidget(&window);
    window.show();
    return QApplication::exec();
}
