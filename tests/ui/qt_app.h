#pragma once

// One QApplication for the whole test program; every UI test calls ensureApp() first.

#include <QApplication>
#include <QByteArray>
#include <QFont>

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

// The application's font at the desktop's size times a factor, while it lives.
class ScaledAppFont {
public:
    explicit ScaledAppFont(double factor) : m_desktop(ensureApp().font()) {
        QFont font = m_desktop;
        font.setPointSizeF(m_desktop.pointSizeF() * factor);
        QApplication::setFont(font);
    }
    ~ScaledAppFont() { QApplication::setFont(m_desktop); }
    ScaledAppFont(const ScaledAppFont&) = delete;
    ScaledAppFont& operator=(const ScaledAppFont&) = delete;

private:
    QFont m_desktop;
};

} // namespace testsupport
