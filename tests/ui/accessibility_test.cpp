// The five windows as assistive technology and the keyboard meet them: every control shown
// has an accessible name, Tab walks the controls in their fixed order, the menus keep their
// access letters, and Enter and Esc do in each dialog what that dialog promises.

#include "main_window_scaffold.h"
#include "qt_app.h"
#include "scripted_prompts.h"
#include "support/faulty_platform.h"
#include "support/temp_tree.h"
#include "ui/controls/drive_list_box.h"
#include "ui/controls/file_list_box.h"
#include "ui/controls/folder_list_box.h"
#include "ui/controls/keyed_tool_bar.h"
#include "ui/controls/log_text_box.h"
#include "ui/controls/panel_status_bar.h"
#include "ui/dialogs/frmAbout.h"
#include "ui/dialogs/frmFileDialog.h"
#include "ui/dialogs/frmFlags.h"
#include "ui/dialogs/frmProtocoll.h"
#include "ui_events.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <vector>

namespace {

using testsupport::Finished;
using testsupport::press;

using testsupport::FakeHome;
using testsupport::FaultyPlatform;
using testsupport::ScriptedPrompts;
using testsupport::TempDir;

// Scroll bars, viewports, a combo box's line edit, the menu bar's overflow button and toolbar
// separators are parts of the control around them, which carries the name.
bool isPartOfAControl(const QWidget* w, const QWidget* window) {
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(p) || qobject_cast<const QComboBox*>(p) ||
            qobject_cast<const QMenuBar*>(p))
            return true;
    return QByteArray(w->metaObject()->className()) == "QToolBarSeparator";
}

// The shown widgets that a screen reader would find without a name; plain containers aside.
std::vector<std::string> unnamed(QWidget& window) {
    std::vector<std::string> out;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window) || isPartOfAControl(w, &window) ||
            w->metaObject() == &QWidget::staticMetaObject)
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        if (!a || a->text(QAccessible::Name).trimmed().isEmpty())
            out.push_back(w->objectName().toStdString() + " (" + w->metaObject()->className() +
                          ")");
    }
    return out;
}

// The controls that Tab reaches, starting at `first`, once round.
std::vector<QWidget*> tabChain(QWidget* first, QWidget* window) {
    std::vector<QWidget*> chain;
    QWidget* w = first;
    do {
        if (w != window && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() &&
            w->isVisibleTo(window) && w->isEnabled())
            chain.push_back(w);
        w = w->nextInFocusChain();
    } while (w != first && chain.size() < 100);
    return chain;
}

// Shows the window as the active one, so that focus changes reach its buttons.
void activate(QWidget& window) {
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &window);
}

// d: holds the fake home with the documents folder, which is also the working folder; a log
// and a chosen file are there, so that every dialog opens with all its controls enabled.
struct Scene {
    QApplication& app = testsupport::ensureApp();
    FakeHome home;
    FaultyPlatform fs{platform::createPlatformOver({{'d', testsupport::utf8(home.home()), "Daten"}},
                                                   home.documentsText(), home.documentsText())};
    ScriptedPrompts prompts;
    testsupport::MainWindowScaffold main{fs, prompts};

    Scene() {
        std::ofstream(home.documents() / "Tilgomat.txt", std::ios::binary)
            << "01.02.2024 10:00:00;\"D:\\a.txt\";1/1\r\n";
        std::ofstream(home.documents() / "brief.txt") << "x";
        main.File1->refresh();
        for (int i = 0; i < main.File1->listCount(); ++i)
            if (main.File1->entryName(i) == "brief.txt")
                main.File1->setCurrentRow(i);
    }
    std::string logBytes() const {
        return testsupport::readBytes(home.documents() / "Tilgomat.txt");
    }
};

TEST(Accessibility, EveryShownControlOfTheFiveWindowsHasAName) {
    Scene s;
    ASSERT_EQ(s.main.File1->fileName(), "brief.txt");
    s.main.window.show();
    EXPECT_EQ(unnamed(s.main.window), std::vector<std::string>{});
    // Names that say what the control is for, not what it is called in the code.
    EXPECT_EQ(s.main.Drive1->accessibleName(), QStringLiteral("Laufwerk"));
    EXPECT_EQ(s.main.txtFolderMask->accessibleName(), QStringLiteral("Ausgewählter Pfad"));
    EXPECT_EQ(s.main.cboMuster->accessibleName(), QStringLiteral("Muster"));
    EXPECT_EQ(s.main.List1->accessibleName(), QStringLiteral("Ergebnisliste"));

    frmFileDialog fileDialog(s.main.targetFolderOwner(), &s.main.window);
    EXPECT_EQ(unnamed(fileDialog), std::vector<std::string>{});
    frmFlags flags = testsupport::flagsDialog(*s.main.File1, s.fs, s.prompts);
    EXPECT_EQ(unnamed(flags), std::vector<std::string>{});
    frmProtocoll protocoll(s.fs, s.prompts);
    EXPECT_EQ(unnamed(protocoll), std::vector<std::string>{});
    frmAbout about(s.fs, s.prompts);
    EXPECT_EQ(unnamed(about), std::vector<std::string>{});
    EXPECT_TRUE(s.prompts.shown.empty());
}

TEST(Accessibility, TabWalksEachWindowInItsFixedOrder) {
    Scene s;
    auto& m = s.main;
    // The toolbar between the path field and the result list takes no focus itself.
    EXPECT_EQ(tabChain(m.Drive1, &m.window),
              (std::vector<QWidget*>{m.Drive1, m.Dir1, m.File1, m.txtFolderMask, m.List1,
                                     m.cboMuster, m.Check1}));

    frmFileDialog fileDialog(m.targetFolderOwner(), &m.window);
    EXPECT_EQ(
        tabChain(fileDialog.OKButton, &fileDialog),
        (std::vector<QWidget*>{fileDialog.OKButton, fileDialog.CancelButton, fileDialog.Drive1,
                               fileDialog.Dir1, fileDialog.cmdNewFolder, fileDialog.chkPrefix}));

    frmFlags flags = testsupport::flagsDialog(*m.File1, s.fs, s.prompts);
    EXPECT_EQ(tabChain(flags.OKButton, &flags),
              (std::vector<QWidget*>{flags.OKButton, flags.CancelButton, flags.Check1[0],
                                     flags.Check1[1], flags.Check1[2], flags.Check1[3]}));

    frmProtocoll protocoll(s.fs, s.prompts);
    EXPECT_EQ(tabChain(protocoll.OKButton, &protocoll),
              (std::vector<QWidget*>{protocoll.OKButton, protocoll.cmdDelProt, protocoll.txtText}));

    frmAbout about(s.fs, s.prompts);
    EXPECT_EQ(tabChain(about.cmdOK, &about),
              (std::vector<QWidget*>{about.cmdOK, about.cmdSysInfo}));

    // Each dialog opens with the focus on its first control.
    for (QDialog* dialog :
         std::initializer_list<QDialog*>{&fileDialog, &flags, &protocoll, &about}) {
        dialog->show();
        const QWidget* first = dialog->focusWidget();
        EXPECT_TRUE(first == fileDialog.OKButton || first == flags.OKButton ||
                    first == protocoll.OKButton || first == about.cmdOK)
            << dialog->windowTitle().toStdString();
        dialog->hide();
    }
}

TEST(Accessibility, MenusKeepTheirAccessLetters) {
    Scene s;
    auto& m = s.main;
    const auto letter = [](const QString& caption) { return QKeySequence::mnemonic(caption); };
    const std::vector<std::pair<QMenu*, int>> bar = {{m.mnuFile, Qt::Key_D},
                                                     {m.mnuEdit, Qt::Key_B},
                                                     {m.mnuView, Qt::Key_A},
                                                     {m.mnuHelp, Qt::Key_Question}};
    std::set<int> seen;
    for (const auto& [menu, key] : bar) {
        EXPECT_EQ(letter(menu->title()), QKeySequence(Qt::ALT | Qt::Key(key)))
            << menu->title().toStdString();
        seen.insert(letter(menu->title())[0].toCombined());
    }
    EXPECT_EQ(seen.size(), bar.size());
    EXPECT_EQ(m.window.menuBar()->actions().size(), 4);
    EXPECT_EQ(letter(m.mnuEnd->text()), QKeySequence(Qt::ALT | Qt::Key_E));
    EXPECT_EQ(letter(m.mnuAbout->text()), QKeySequence(Qt::ALT | Qt::Key(0xDC))); // Ü
    // The items without one stay without one, as their captions are given.
    for (QAction* a : {m.mnuDeleteAll, m.mnuFileCopy, m.mnuFileMove, m.mnuProtocoll})
        EXPECT_TRUE(letter(a->text()).isEmpty()) << a->text().toStdString();
}

TEST(Accessibility, EnterAndEscInTheAttributesDialogAndTheLogViewer) {
    Scene s;
    {
        // The attributes dialog has no default button: Enter on a check box does nothing,
        // Esc does nothing, and only a focused button answers Enter, as push buttons do.
        frmFlags flags = testsupport::flagsDialog(*s.main.File1, s.fs, s.prompts);
        Finished finished(flags);
        EXPECT_FALSE(flags.OKButton->isDefault());
        activate(flags);
        flags.Check1[1]->setFocus();
        ASSERT_TRUE(flags.Check1[1]->hasFocus());
        press(flags, Qt::Key_Return);
        press(flags, Qt::Key_Escape);
        EXPECT_TRUE(flags.isVisible());
        EXPECT_FALSE(finished.result);
        EXPECT_TRUE(s.fs.attributeWrites.empty());

        flags.OKButton->setFocus();
        press(flags, Qt::Key_Return);
        EXPECT_EQ(finished.result, QDialog::Accepted);
        EXPECT_EQ(s.fs.attributeWrites.size(), 1u);
    }
    const std::string log = s.logBytes();
    {
        // The log viewer opens on OK: Enter closes it like OK. It has no cancel button, so Esc
        // does nothing. The log stays as it is and no question comes up.
        frmProtocoll protocoll(s.fs, s.prompts);
        Finished finished(protocoll);
        activate(protocoll);
        ASSERT_TRUE(protocoll.OKButton->hasFocus());
        press(protocoll, Qt::Key_Escape);
        EXPECT_TRUE(protocoll.isVisible());
        EXPECT_FALSE(finished.result);
        press(protocoll, Qt::Key_Return);
        EXPECT_FALSE(protocoll.isVisible());
        EXPECT_EQ(finished.result, QDialog::Accepted);
    }
    EXPECT_EQ(s.logBytes(), log);
    EXPECT_TRUE(s.prompts.shown.empty());
}

QString accessibleText(QWidget* w, QAccessible::Text t) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(t) : QString();
}

// What a control shows, as a screen reader must read it: a label's text, a caption without its
// access letter. Image-only tool buttons and pictures show none.
std::optional<QString> shownText(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text().isEmpty() ? std::nullopt : std::optional(label->text());
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (!button || qobject_cast<QToolButton*>(w) || button->text().isEmpty())
        return std::nullopt;
    QString caption = button->text();
    caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return caption;
}

// The shown controls whose accessible name is not the text they show.
std::vector<std::string> misnamed(QWidget& window) {
    std::vector<std::string> out;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        const auto shown = shownText(w);
        if (!w->isVisibleTo(&window) || !shown)
            continue;
        const QString name = accessibleText(w, QAccessible::Name);
        if (name != *shown)
            out.push_back(w->objectName().toStdString() + " reads \"" + name.toStdString() +
                          "\" for \"" + shown->toStdString() + "\"");
    }
    return out;
}

TEST(Accessibility, EveryControlThatShowsTextIsNamedByThatText) {
    Scene s;
    s.main.window.show();
    frmFileDialog fileDialog(s.main.targetFolderOwner(), &s.main.window);
    frmFlags flags = testsupport::flagsDialog(*s.main.File1, s.fs, s.prompts);
    frmProtocoll protocoll(s.fs, s.prompts);
    frmAbout about(s.fs, s.prompts);
    for (QWidget* window :
         std::initializer_list<QWidget*>{&s.main.window, &fileDialog, &flags, &protocoll, &about})
        EXPECT_EQ(misnamed(*window), std::vector<std::string>{})
            << window->objectName().toStdString();

    // Where a name used to hide them, the texts are read now, and what each is for is the
    // description.
    const QList<QLabel*> panels = s.main.StatusBar1->findChildren<QLabel*>();
    ASSERT_EQ(panels.size(), 3);
    const QStringList panelTexts = {"Dateien: 0", "Verzeichnisse: 0",
                                    QString::fromStdString(s.fs.executableName()) +
                                        " Release 1.2.3"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(accessibleText(panels[i], QAccessible::Name), panelTexts[i]);
        EXPECT_FALSE(accessibleText(panels[i], QAccessible::Description).isEmpty());
    }
    EXPECT_EQ(accessibleText(about.lblVersion, QAccessible::Name), "Version 1.2.3");
    EXPECT_EQ(accessibleText(about.lblVersion, QAccessible::Description), "Version");
    EXPECT_TRUE(accessibleText(flags.Label1, QAccessible::Name).endsWith("brief.txt"));
    EXPECT_EQ(accessibleText(flags.Label1, QAccessible::Description), "Datei");
    EXPECT_EQ(accessibleText(flags.Label3, QAccessible::Name), flags.Label3->text());
    EXPECT_TRUE(flags.Label3->text().startsWith("Erstellt am: "));
}

// A screen reader operates a check button through its one action, which must do what a click
// does, and exactly once; setting the state from code still does nothing of its own.
TEST(Accessibility, CheckButtonsToggledThroughTheirActionActAsClicked) {
    const auto toggle = [](QWidget* w) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        ASSERT_TRUE(a && a->actionInterface());
        EXPECT_TRUE(a->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::toggleAction()));
        a->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QApplication::processEvents();
    };
    {
        Scene s;
        std::ofstream(s.home.documents() / "geheim.txt") << "x";
        ASSERT_FALSE(s.fs.setAttributes("D:\\Dokumente\\geheim.txt", platform::Hidden));
        auto& m = s.main;
        const auto listed = [&m](const std::string& name) {
            for (int i = 0; i < m.File1->listCount(); ++i)
                if (m.File1->entryName(i) == name)
                    return true;
            return false;
        };
        QWidget* attribute = m.Toolbar1->buttonWidget(8);
        ASSERT_NE(attribute, nullptr);
        EXPECT_EQ(accessibleText(attribute, QAccessible::Name), "Ausgeblendete Dateien anzeigen");
        toggle(attribute);
        EXPECT_TRUE(m.Toolbar1->isPressed(8));
        EXPECT_TRUE(listed("geheim.txt"));
        EXPECT_FALSE(m.mnuViewHidden->isChecked());
        EXPECT_FALSE(m.mnuViewSystem->isChecked());
        toggle(attribute);
        EXPECT_FALSE(m.Toolbar1->isPressed(8));
        EXPECT_FALSE(listed("geheim.txt"));
        EXPECT_TRUE(m.mnuViewHidden->isChecked());
        toggle(m.Check1);
        EXPECT_TRUE(m.Check1->isChecked());
    }
    {
        Scene s;
        frmFlags flags = testsupport::flagsDialog(*s.main.File1, s.fs, s.prompts);
        toggle(flags.Check1[1]);
        EXPECT_TRUE(flags.Check1[1]->isChecked());
        flags.OKButton->click();
        ASSERT_EQ(s.fs.attributeWrites.size(), 1u);
        EXPECT_EQ(s.fs.attributeWrites[0].second,
                  std::uint32_t{platform::Hidden | platform::Archive});
    }
}

} // namespace
