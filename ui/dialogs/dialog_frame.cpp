#include "ui/dialogs/dialog_frame.h"

#include "ui/controls/program_icon.h"
#include "ui/controls/twips.h"

#include <QScreen>

namespace ui {

void setFixedDialogFrame(QDialog& dialog, double left, double top, double width, double height) {
    dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint);
    dialog.setWindowIcon(programIcon());
    dialog.setSizeGripEnabled(false);

    QRect client = twipsRect(left, top, width, height, &dialog);
    if (const QScreen* screen = dialog.screen())
        client.translate(screen->geometry().topLeft());
    dialog.setFixedSize(client.size());
    // A top-level geometry is the client area; setting it also keeps QDialog from centring
    // the window over its parent when it is shown.
    dialog.setGeometry(client);
}

} // namespace ui
