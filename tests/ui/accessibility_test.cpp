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
#include "ui/controls/log_text_box.h"
#include "ui/controls/panel_status_bar.h"
#include "ui/dialogs/about_box.h"
#include "ui/dialogs/attributes_dialog.h"
#include "ui/dialogs/log_viewer.h"
#include "ui/dialogs/target_folder_dialog.h"
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
        main.fileView->refresh();
        for (int i = 0; i < main.fileView->listCount(); ++i)
            if (main.fileView->entryName(i) == "brief.txt")
                main.fileView->setCurrentRow(i);
    }
    std::string logBytes() const {
        return testsupport::readBytes(home.documents() / "Tilgomat.txt");
    }
};

TEST(Accessibility, EveryShownControlOfTheFiveWindowsHasAName) {
    Scene s;
    ASSERT_EQ(s.main.fileView->fileName(), "brief.txt");
    s.main.window.show();
    EXPECT_EQ(unnamed(s.main.window), std::vector<std::string>{});
    // Names that say what the control is for, not what it is called in the code.
    EXPECT_EQ(s.main.driveList->accessibleName(), QStringLiteral("Laufwerk"));
    EXPECT_EQ(s.main.folderEdit->accessibleName(), QStringLiteral("Ausgewählter Pfad"));
    EXPECT_EQ(s.main.pattern->accessibleName(), QStringLiteral("Muster"));
    EXPECT_EQ(s.main.resultList->accessibleName(), QStringLiteral("Ergebnisliste"));

    ui::TargetFolderDialog fileDialog(s.main.targetFolderOwner(), &s.main.window);
    EXPECT_EQ(unnamed(fileDialog), std::vector<std::string>{});
    ui::AttributesDialog flags = testsupport::attributesDialog(*s.main.fileView, s.fs, s.prompts);
    EXPECT_EQ(unnamed(flags), std::vector<std::string>{});
    ui::LogViewer protocoll(s.fs, s.prompts);
    EXPECT_EQ(unnamed(protocoll), std::vector<std::string>{});
    ui::AboutBox about(s.fs, s.prompts);
    EXPECT_EQ(unnamed(about), std::vector<std::string>{});
    EXPECT_TRUE(s.prompts.shown.empty());
}

TEST(Accessibility, TabWalksEachWindowInItsFixedOrder) {
    Scene s;
    auto& m = s.main;
    // The toolbar between the path field and the result list takes no focus itself.
    EXPECT_EQ(tabChain(m.driveList, &m.window),
              (std::vector<QWidget*>{m.driveList, m.folderView, m.fileView, m.folderEdit,
                                     m.resultList, m.pattern, m.subfolders}));

    ui::TargetFolderDialog fileDialog(m.targetFolderOwner(), &m.window);
    EXPECT_EQ(tabChain(fileDialog.okButton, &fileDialog),
              (std::vector<QWidget*>{fileDialog.okButton, fileDialog.cancelButton,
                                     fileDialog.driveList, fileDialog.folderList,
                                     fileDialog.newFolderButton, fileDialog.prefixBox}));

    ui::AttributesDialog flags = testsupport::attributesDialog(*m.fileView, s.fs, s.prompts);
    EXPECT_EQ(tabChain(flags.okButton, &flags),
              (std::vector<QWidget*>{flags.okButton, flags.cancelButton, flags.attributeBoxes[0],
                                     flags.attributeBoxes[1], flags.attributeBoxes[2],
                                     flags.attributeBoxes[3]}));

    ui::LogViewer protocoll(s.fs, s.prompts);
    EXPECT_EQ(
        tabChain(protocoll.okButton, &protocoll),
        (std::vector<QWidget*>{protocoll.okButton, protocoll.deleteButton, protocoll.textBox}));

    ui::AboutBox about(s.fs, s.prompts);
    EXPECT_EQ(tabChain(about.okButton, &about),
              (std::vector<QWidget*>{about.okButton, about.systemInfoButton}));

    // Each dialog opens with the focus on its first control.
    for (QDialog* dialog :
         std::initializer_list<QDialog*>{&fileDialog, &flags, &protocoll, &about}) {
        dialog->show();
        const QWidget* first = dialog->focusWidget();
        EXPECT_TRUE(first == fileDialog.okButton || first == flags.okButton ||
                    first == protocoll.okButton || first == about.okButton)
            << dialog->windowTitle().toStdString();
        dialog->hide();
    }
}

TEST(Accessibility, MenusKeepTheirAccessLetters) {
    Scene s;
    auto& m = s.main;
    const auto letter = [](const QString& caption) { return QKeySequence::mnemonic(caption); };
    const std::vector<std::pair<QMenu*, int>> bar = {{m.fileMenu, Qt::Key_D},
                                                     {m.editMenu, Qt::Key_B},
                                                     {m.viewMenu, Qt::Key_A},
                                                     {m.helpMenu, Qt::Key_Question}};
    std::set<int> seen;
    for (const auto& [menu, key] : bar) {
        EXPECT_EQ(letter(menu->title()), QKeySequence(Qt::ALT | Qt::Key(key)))
            << menu->title().toStdString();
        seen.insert(letter(menu->title())[0].toCombined());
    }
    EXPECT_EQ(seen.size(), bar.size());
    EXPECT_EQ(m.window.menuBar()->actions().size(), 4);
    EXPECT_EQ(letter(m.exit->text()), QKeySequence(Qt::ALT | Qt::Key_E));
    EXPECT_EQ(letter(m.about->text()), QKeySequence(Qt::ALT | Qt::Key(0xDC))); // Ü
    // The items without one stay without one, as their captions are given.
    for (QAction* a : {m.deleteListed, m.copyListed, m.moveListed, m.showLog})
        EXPECT_TRUE(letter(a->text()).isEmpty()) << a->text().toStdString();
}

TEST(Accessibility, EnterAndEscInTheAttributesDialogAndTheLogViewer) {
    Scene s;
    {
        // The attributes dialog has no default button: Enter on a check box does nothing,
        // Esc does nothing, and only a focused button answers Enter, as push buttons do.
        ui::AttributesDialog flags =
            testsupport::attributesDialog(*s.main.fileView, s.fs, s.prompts);
        Finished finished(flags);
        EXPECT_FALSE(flags.okButton->isDefault());
        activate(flags);
        flags.attributeBoxes[1]->setFocus();
        ASSERT_TRUE(flags.attributeBoxes[1]->hasFocus());
        press(flags, Qt::Key_Return);
        press(flags, Qt::Key_Escape);
        EXPECT_TRUE(flags.isVisible());
        EXPECT_FALSE(finished.result);
        EXPECT_TRUE(s.fs.attributeWrites.empty());

        flags.okButton->setFocus();
        press(flags, Qt::Key_Return);
        EXPECT_EQ(finished.result, QDialog::Accepted);
        EXPECT_EQ(s.fs.attributeWrites.size(), 1u);
    }
    const std::string log = s.logBytes();
    {
        // The log viewer opens on OK: Enter closes it like OK. It has no cancel button, so Esc
        // does nothing. The log stays as it is and no question comes up.
        ui::LogViewer protocoll(s.fs, s.prompts);
        Finished finished(protocoll);
        activate(protocoll);
        ASSERT_TRUE(protocoll.okButton->hasFocus());
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
    ui::TargetFolderDialog fileDialog(s.main.targetFolderOwner(), &s.main.window);
    ui::AttributesDialog flags = testsupport::attributesDialog(*s.main.fileView, s.fs, s.prompts);
    ui::LogViewer protocoll(s.fs, s.prompts);
    ui::AboutBox about(s.fs, s.prompts);
    for (QWidget* window :
         std::initializer_list<QWidget*>{&s.main.window, &fileDialog, &flags, &protocoll, &about})
        EXPECT_EQ(misnamed(*window), std::vector<std::string>{})
            << window->objectName().toStdString();

    // Where a name used to hide them, the texts are read now, and what each is for is the
    // description.
    const QList<QLabel*> panels = s.main.statusBar->findChildren<QLabel*>();
    ASSERT_EQ(panels.size(), 3);
    const QStringList panelTexts = {"Dateien: 0", "Verzeichnisse: 0",
                                    QString::fromStdString(s.fs.executableName()) +
                                        " Release 1.2.3"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(accessibleText(panels[i], QAccessible::Name), panelTexts[i]);
        EXPECT_FALSE(accessibleText(panels[i], QAccessible::Description).isEmpty());
    }
    EXPECT_EQ(accessibleText(about.version, QAccessible::Name), "Version 1.2.3");
    EXPECT_EQ(accessibleText(about.version, QAccessible::Description), "Version");
    EXPECT_TRUE(accessibleText(flags.fileLabel, QAccessible::Name).endsWith("brief.txt"));
    EXPECT_EQ(accessibleText(flags.fileLabel, QAccessible::Description), "Datei");
    EXPECT_EQ(accessibleText(flags.dateLabel, QAccessible::Name), flags.dateLabel->text());
    EXPECT_TRUE(flags.dateLabel->text().startsWith("Erstellt am: "));
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
            for (int i = 0; i < m.fileView->listCount(); ++i)
                if (m.fileView->entryName(i) == name)
                    return true;
            return false;
        };
        QWidget* attribute = m.toolBar->widgetForAction(m.showHidden);
        ASSERT_NE(attribute, nullptr);
        EXPECT_EQ(accessibleText(attribute, QAccessible::Name), "Ausgeblendete Dateien anzeigen");
        toggle(attribute);
        EXPECT_TRUE(m.showHidden->isChecked());
        EXPECT_TRUE(listed("geheim.txt"));
        EXPECT_FALSE(m.hideHidden->isChecked());
        EXPECT_FALSE(m.hideSystem->isChecked());
        toggle(attribute);
        EXPECT_FALSE(m.showHidden->isChecked());
        EXPECT_FALSE(listed("geheim.txt"));
        EXPECT_TRUE(m.hideHidden->isChecked());
        toggle(m.subfolders);
        EXPECT_TRUE(m.subfolders->isChecked());
    }
    {
        Scene s;
        ui::AttributesDialog flags =
            testsupport::attributesDialog(*s.main.fileView, s.fs, s.prompts);
        toggle(flags.attributeBoxes[1]);
        EXPECT_TRUE(flags.attributeBoxes[1]->isChecked());
        flags.okButton->click();
        ASSERT_EQ(s.fs.attributeWrites.size(), 1u);
        EXPECT_EQ(s.fs.attributeWrites[0].second,
                  std::uint32_t{platform::Hidden | platform::Archive});
    }
}

} // namespace
