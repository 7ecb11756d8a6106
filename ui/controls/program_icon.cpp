#include "ui/controls/program_icon.h"

#include <QFile>
#include <QString>

namespace ui {

QIcon programIcon() {
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
    const QString file = QStringLiteral(":/toolbar/%1.png").arg(QString::fromLatin1(name));
    return QFile::exists(file) ? QIcon(file) : QIcon();
}

} // namespace ui
