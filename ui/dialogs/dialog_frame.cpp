#include "ui/dialogs/dialog_frame.h"

#include "ui/controls/program_icon.h"
#include "ui/controls/twips.h"

#include <QFont>
#include <QScreen>

namespace ui {

void setFixedDialogFrame(QDialog& dialog, double left, double top, double width, double height) {
    dialog.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint);
    dialog.setWindowIcon(programIcon());
    dialog.setSizeGripEnabled(false);
    // The twips layout of the dialogs was drawn for an 8.25 pt form font; a larger desktop
    // default would clip their captions.
    QFont font = dialog.font();
    font.setPointSizeF(8.25);
    dialog.setFont(font);

    QRect client = twipsRect(left, top, width, height, &dialog);
    if (const QScreen* screen = dialog.screen())
        client.translate(screen->geometry().topLeft());
    dialog.setFixedSize(client.size());
    // A top-level geometry is the client area; setting it also keeps QDialog from centring
    // the window over its parent when it is shown.
    dialog.setGeometry(client);
}

} // namespace ui
