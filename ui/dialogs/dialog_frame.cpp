#include "ui/dialogs/dialog_frame.h"

#include "ui/controls/program_icon.h"
#include "ui/controls/twips.h"

#include <QKeyEvent>
#include <QPushButton>
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

void withoutDefaultButton(QDialog& dialog) {
    // Qt would otherwise make the first auto-default button after the focus the default one,
    // so that Enter on a check box pressed "Abbrechen".
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        button->setAutoDefault(false);
}

bool enterPressesFocusedButton(QDialog& dialog, QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    if (auto* button = qobject_cast<QPushButton*>(dialog.focusWidget());
        button && button->isEnabled())
        button->click();
    event->accept();
    return true;
}

} // namespace ui
