#include "ui/controls/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ui {

bool installGermanQtTranslations(QCoreApplication& app) {
    // The program speaks German whatever the desktop's language, so Qt's texts do too.
    // Windows has no system-wide Qt, so a Windows build carries them as a resource of its own.
    auto* translator = new QTranslator(&app);
    const auto load = [translator](const QString& folder) {
        return translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"),
                                QStringLiteral("_"), folder);
    };
    if (!(load(QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
          load(QStringLiteral(":/i18n"))) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

} // namespace ui
