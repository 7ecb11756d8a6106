#pragma once

// One QApplication for the whole test program; every UI test calls ensureApp() first.

#include <QApplication>
#include <QByteArray>

namespace testsupport {

inline QApplication& ensureApp() {
    static int argc = 1;
    static char name[] = "tests_ui";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        // ctest sets the offscreen platform; a test program started by hand needs it too.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
        return new QApplication(argc, argv);
    }();
    return *app;
}

} // namespace testsupport
