#include "platform/platform.h"
#include "ui/controls/prompts.h"
#include "ui/main/frmMain.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tilgomat"));
    // Lets the desktop match the windows to the installed launcher and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("de.tilgomat.Tilgomat"));

    // Qt's own dialogs speak German like the rest of the program, where the translation exists.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::German), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    auto fs = platform::createHostPlatform();
    ui::QtPrompts prompts;
    frmMain window(*fs, prompts);
    prompts.setParentWidget(&window);
    window.show();
    return QApplication::exec();
}
