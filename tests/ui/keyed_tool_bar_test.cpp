#include "ui/controls/keyed_tool_bar.h"

#include "qt_app.h"

#include <QAction>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// The main window's layout: separators at 2, 7, 10 and 12, the check button at 8.
void addMainButtons(ui::KeyedToolBar& bar) {
    const QIcon icon;
    bar.addButton("Exit", "Programm beenden", icon);
    bar.addSeparatorButton();
    bar.addButton("List", "Auflisten", icon);
    bar.addButton("Delete", "Alle Dateien löschen", icon);
    bar.addButton("Copy", "Alle Dateien kopieren", icon);
    bar.addButton("Move", "Alle Dateien verschieben", icon);
    bar.addSeparatorButton();
    bar.addButton("Attribute", "Ausgeblendete Dateien anzeigen", icon, true);
    bar.addButton("Flags", "Dateiattribute ändern", icon);
    bar.addSeparatorButton();
    bar.addButton("Protokoll", "Protokoll anzeigen", icon);
    bar.addSeparatorButton();
    bar.addButton("Info", "Über...", icon);
}

TEST(KeyedToolBar, PositionsCountSeparators) {
    testsupport::ensureApp();
    ui::KeyedToolBar bar;
    addMainButtons(bar);
    EXPECT_EQ(bar.buttonCount(), 13);
    EXPECT_EQ(bar.key(1), "Exit");
    EXPECT_EQ(bar.key(8), "Attribute");
    EXPECT_EQ(bar.key(13), "Info");
    for (int p : {2, 7, 10, 12}) {
        EXPECT_TRUE(bar.isSeparator(p)) << p;
        EXPECT_TRUE(bar.key(p).isEmpty()) << p;
    }
    EXPECT_FALSE(bar.isSeparator(8));
    EXPECT_EQ(bar.iconSize(), QSize(16, 16));
    EXPECT_FALSE(bar.accessibleName().isEmpty());

    // Positions outside the bar are nobody's.
    EXPECT_TRUE(bar.key(0).isEmpty());
    EXPECT_TRUE(bar.key(14).isEmpty());
    EXPECT_FALSE(bar.isPressed(14));
    EXPECT_FALSE(bar.isSeparator(0));
}

TEST(KeyedToolBar, ClicksDeliverKeysAndCheckButtonToggles) {
    testsupport::ensureApp();
    ui::KeyedToolBar bar;
    addMainButtons(bar);
    QStringList keys;
    std::vector<bool> pressedSeen;
    QObject::connect(&bar, &ui::KeyedToolBar::buttonClick, [&](const QString& key) {
        keys << key;
        pressedSeen.push_back(bar.isPressed(8));
    });

    bar.click(1);
    EXPECT_FALSE(bar.isPressed(1));

    // The handler already sees the new state of the check button.
    bar.click(8);
    EXPECT_TRUE(bar.isPressed(8));
    bar.click(8);
    EXPECT_FALSE(bar.isPressed(8));

    // Separators and positions outside the bar deliver nothing.
    bar.click(2);
    bar.click(0);
    bar.click(14);
    EXPECT_EQ(keys, QStringList({"Exit", "Attribute", "Attribute"}));
    EXPECT_EQ(pressedSeen, std::vector<bool>({false, true, false}));

    // Setting the state from code is no click; a push button has no state to set.
    keys.clear();
    bar.setPressed(8, true);
    EXPECT_TRUE(bar.isPressed(8));
    bar.setPressed(8, true);
    bar.setPressed(8, false);
    bar.setPressed(3, true);
    bar.setPressed(7, true);
    EXPECT_FALSE(bar.isPressed(3));
    EXPECT_FALSE(bar.isPressed(8));
    EXPECT_TRUE(keys.isEmpty());
}

TEST(KeyedToolBar, UserClickOnTheButtonDeliversItsKey) {
    testsupport::ensureApp();
    ui::KeyedToolBar bar;
    addMainButtons(bar);
    QStringList keys;
    QObject::connect(&bar, &ui::KeyedToolBar::buttonClick,
                     [&](const QString& key) { keys << key; });
    const QList<QAction*> actions = bar.actions();
    ASSERT_EQ(actions.size(), 13);
    auto* attribute = qobject_cast<QToolButton*>(bar.widgetForAction(actions[7]));
    auto* list = qobject_cast<QToolButton*>(bar.widgetForAction(actions[2]));
    ASSERT_NE(attribute, nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(attribute->toolTip(), "Ausgeblendete Dateien anzeigen");
    attribute->click();
    list->click();
    EXPECT_EQ(keys, QStringList({"Attribute"}));
    QApplication::processEvents();
    EXPECT_EQ(keys, QStringList({"Attribute", "List"}));
    EXPECT_TRUE(bar.isPressed(8));
}

} // namespace
