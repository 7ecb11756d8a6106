#include "ui/controls/program_icon.h"

#include <QFile>
#include <QString>

// The resources live in the static ui library, where the linker would drop them unless they
// are registered explicitly; every lookup below registers them first.
static void initResources() {
    Q_INIT_RESOURCE(resources);
}

namespace ui {

namespace {
void ensureResources() {
    static const bool done = (initResources(), true);
    (void)done;
}
} // namespace

QIcon programIcon() {
    ensureResources();
    static const QIcon icon = [] {
        QIcon i;
        for (int size : {16, 32, 48, 128, 256}) {
            const QString file = QStringLiteral(":/icons/tilgomat-%1.png").arg(size);
            if (QFile::exists(file))
                i.addFile(file, QSize(size, size));
        }
        return i;
    }();
    return icon;
}

QIcon toolbarIcon(const char* name) {
    ensureResources();
    const QString file = QStringLiteral(":/toolbar/%1.png").arg(QString::fromLatin1(name));
    return QFile::exists(file) ? QIcon(file) : QIcon();
}

} // namespace ui
