// Qt's own texts speak German once its translations are installed, and the real message and
// input boxes carry the program's German buttons with the right default and Esc buttons.

#include "qt_app.h"
#include "ui/controls/prompts.h"
#include "ui/controls/qt_translations.h"

#include <QDialogButtonBox>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Runs `look` on the modal box as soon as it is open; a box that `look` leaves open is closed
// after a while, so that a failing test never waits forever.
void whenModal(std::function<void(QWidget&)> look) {
    QTimer::singleShot(0, [look] {
        if (QWidget* box = QApplication::activeModalWidget())
            look(*box);
    });
    QTimer::singleShot(5000, [] {
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
}

QStringList buttonTexts(const QWidget& box) {
    QStringList texts;
    for (const QPushButton* b : box.findChildren<QPushButton*>())
        texts << b->text();
    texts.sort();
    return texts;
}

TEST(GermanQtTexts, QtsOwnTextsAfterInstallingItsTranslations) {
    QApplication& app = testsupport::ensureApp();
    ASSERT_TRUE(ui::installGermanQtTranslations(app));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen");
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Undo"), "&Rückgängig");
    QDialogButtonBox standard(QDialogButtonBox::Yes | QDialogButtonBox::No);
    EXPECT_EQ(buttonTexts(standard), (QStringList{"&Ja", "&Nein"}));
}

TEST(GermanQtTexts, MessageAndInputBoxesCarryTheProgramsButtons) {
    testsupport::ensureApp();
    ui::QtPrompts prompts;

    // A question: "Ja" is the default as asked, Esc answers "Nein".
    QStringList seen;
    bool yesIsDefault = false;
    whenModal([&](QWidget& box) {
        seen = buttonTexts(box);
        auto* message = qobject_cast<QMessageBox*>(&box);
        ASSERT_TRUE(message);
        yesIsDefault = message->defaultButton() && message->defaultButton()->text() == "Ja";
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&box, &esc);
    });
    EXPECT_EQ(prompts.message("Frage?", "Tilgomat", ui::Prompts::Icon::Question,
                              ui::Prompts::Buttons::YesNo, ui::Prompts::Answer::Yes),
              ui::Prompts::Answer::No);
    EXPECT_EQ(seen, (QStringList{"Ja", "Nein"}));
    EXPECT_TRUE(yesIsDefault);

    // A notice has its one "OK"; two lines joined by a carriage return show as two lines in
    // every style (some draw a lone CR as a blank).
    QString shownText;
    whenModal([&](QWidget& box) {
        seen = buttonTexts(box);
        shownText = qobject_cast<QMessageBox*>(&box)->text();
        box.close();
    });
    EXPECT_EQ(prompts.message("Erste Zeile\rZweite Zeile", "Tilgomat",
                              ui::Prompts::Icon::Exclamation, ui::Prompts::Buttons::Ok),
              ui::Prompts::Answer::Ok);
    EXPECT_EQ(seen, (QStringList{"OK"}));
    EXPECT_EQ(shownText, "Erste Zeile\nZweite Zeile");

    // The input box offers "OK" and "Abbrechen" and returns what was typed.
    whenModal([&](QWidget& box) {
        seen = buttonTexts(box);
        auto* input = qobject_cast<QInputDialog*>(&box);
        ASSERT_TRUE(input);
        input->setTextValue("Neu");
        input->accept();
    });
    EXPECT_EQ(prompts.input("Namen für neuen Ordner:", "Neuen Ordner anlegen"), "Neu");
    EXPECT_EQ(seen, (QStringList{"Abbrechen", "OK"}));
}

} // namespace
