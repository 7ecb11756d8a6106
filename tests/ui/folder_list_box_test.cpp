#include "ui/controls/folder_list_box.h"

#include "qt_app.h"
#include "support/host_names.h"
#include "support/temp_tree.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using testsupport::TempDir;

// c: holds Daten (the working folder) with three subfolders and a file; d: has one folder.
struct Tree {
    TempDir c, d;
    std::unique_ptr<platform::Platform> fs;
    Tree() {
        c.folder("Daten/Briefe/2024");
        c.folder("Daten/alt");
        c.folder("Daten/.versteckt");
        c.file("Daten/notiz.txt", "x");
        d.folder("Archiv");
        fs = platform::createPlatformOver({{'c', c.str(), ""}, {'d', d.str(), ""}},
                                          testsupport::utf8(c.path() / "Daten"));
    }
};

QStringList childTexts(QTreeWidgetItem* item) {
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

// The texts from the root item down to the current folder.
QStringList pathTexts(ui::FolderListBox& box) {
    QStringList texts;
    for (QTreeWidgetItem* item = box.currentItem(); item; item = item->parent())
        texts.prepend(item->text(0));
    return texts;
}

TEST(FolderListBox, ShowsThePathAndTheSubfolders) {
    testsupport::ensureApp();
    Tree tree;
    ui::FolderListBox box(*tree.fs);
    EXPECT_FALSE(box.accessibleName().isEmpty());

    // It starts on the current folder of the current drive.
    EXPECT_EQ(box.path(), "C:\\Daten");
    EXPECT_EQ(pathTexts(box), QStringList({"C:\\", "Daten"}));
    // Subfolders by name without regard to case, dot folders too; files are not folders.
    EXPECT_EQ(childTexts(box.currentItem()), QStringList({".versteckt", "alt", "Briefe"}));
    EXPECT_EQ(box.topLevelItemCount(), 1);

    ASSERT_TRUE(box.setPath("C:\\"));
    EXPECT_EQ(box.path(), "C:\\");
    EXPECT_EQ(pathTexts(box), QStringList({"C:\\"}));
    EXPECT_EQ(childTexts(box.currentItem()), QStringList({"Daten"}));
}

TEST(FolderListBox, SetPathReportsRealChangesOnly) {
    testsupport::ensureApp();
    Tree tree;
    ui::FolderListBox box(*tree.fs);
    int changes = 0;
    std::string seen;
    QObject::connect(&box, &ui::FolderListBox::changed, [&] {
        ++changes;
        seen = box.path();
    });

    // Any spelling leads to the folder as it is stored; the handler runs inside the call.
    EXPECT_TRUE(box.setPath("c:\\DATEN\\briefe\\"));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(seen, "C:\\Daten\\Briefe");
    EXPECT_EQ(box.path(), "C:\\Daten\\Briefe");
    EXPECT_TRUE(box.setPath("C:\\Daten\\Briefe"));
    EXPECT_TRUE(box.setPath("c:\\daten\\BRIEFE"));
    EXPECT_EQ(changes, 1);

    // Nothing that is not a folder moves it.
    EXPECT_FALSE(box.setPath("c:\\daten\\fehlt"));
    EXPECT_FALSE(box.setPath("c:\\daten\\notiz.txt"));
    EXPECT_FALSE(box.setPath("q:\\"));
    EXPECT_FALSE(box.setPath("q: [weg]"));
    EXPECT_FALSE(box.setPath(""));
    EXPECT_EQ(box.path(), "C:\\Daten\\Briefe");
    EXPECT_EQ(changes, 1);

    // A drive text means that drive's current folder: its root for d:, the working folder
    // for c:.
    EXPECT_TRUE(box.setPath("d: [/tmp/d]"));
    EXPECT_EQ(box.path(), "D:\\");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(childTexts(box.currentItem()), QStringList({"Archiv"}));
    EXPECT_TRUE(box.setPath("C:"));
    EXPECT_EQ(box.path(), "C:\\Daten");
    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(box.setPath("c: [SYSTEM]"));
    EXPECT_EQ(changes, 3);
}

TEST(FolderListBox, OpensFoldersByEnterAndDoubleClick) {
    testsupport::ensureApp();
    Tree tree;
    ui::FolderListBox box(*tree.fs);
    box.resize(300, 400);
    box.show();
    int changes = 0;
    QObject::connect(&box, &ui::FolderListBox::changed, [&] { ++changes; });

    QTreeWidgetItem* briefe = box.currentItem()->child(2);
    ASSERT_EQ(briefe->text(0), "Briefe");
    box.setCurrentItem(briefe);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&box, &enter);
    EXPECT_EQ(box.path(), "C:\\Daten\\Briefe");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(pathTexts(box), QStringList({"C:\\", "Daten", "Briefe"}));
    EXPECT_EQ(childTexts(box.currentItem()), QStringList({"2024"}));

    // Double-clicking a folder above goes back up; the tree is rebuilt under the click.
    QTreeWidgetItem* daten = box.currentItem()->parent();
    const QPoint at = box.visualItemRect(daten).center();
    const QPointF global = box.viewport()->mapToGlobal(at);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                              QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const bool release = type == QEvent::MouseButtonRelease;
        QMouseEvent event(type, at, global, Qt::LeftButton, release ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(box.viewport(), &event);
    }
    EXPECT_EQ(box.path(), "C:\\Daten");
    EXPECT_EQ(changes, 2);
}

TEST(FolderListBox, RefreshFollowsTheDisk) {
    testsupport::ensureApp();
    Tree tree;
    ui::FolderListBox box(*tree.fs);
    ASSERT_TRUE(box.setPath("c:\\daten\\briefe\\2024"));
    int changes = 0;
    QObject::connect(&box, &ui::FolderListBox::changed, [&] { ++changes; });

    tree.c.folder("Daten/Briefe/2024/Januar");
    box.refresh();
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(childTexts(box.currentItem()), QStringList({"Januar"}));

    // The folder shown was removed: the nearest folder still there takes its place.
    std::filesystem::remove_all(tree.c.path() / "Daten" / "Briefe");
    box.refresh();
    EXPECT_EQ(box.path(), "C:\\Daten");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(childTexts(box.currentItem()), QStringList({".versteckt", "alt"}));

    // A folder that vanished after the tree was read cannot be opened; the tree catches up.
    QTreeWidgetItem* alt = box.currentItem()->child(1);
    std::filesystem::remove(tree.c.path() / "Daten" / "alt");
    box.setCurrentItem(alt);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
    QApplication::sendEvent(&box, &enter);
    EXPECT_EQ(box.path(), "C:\\Daten");
    EXPECT_EQ(childTexts(box.currentItem()), QStringList({".versteckt"}));
}

TEST(FolderListBox, NameThatIsNotUtf8KeepsItsBytes) {
    if (!testsupport::namesAreBytes)
        GTEST_SKIP() << "names on this host are UTF-16: one that is not UTF-8 cannot be made";
    testsupport::ensureApp();
    Tree tree;
    const std::string name = "Gr\xfc\xdf"
                             "e";
    std::filesystem::create_directory(tree.c.path() / "Daten" / name);
    ui::FolderListBox box(*tree.fs);
    QTreeWidgetItem* item = nullptr;
    for (int i = 0; i < box.currentItem()->childCount(); ++i) {
        if (box.currentItem()->child(i)->text(0).startsWith("Gr"))
            item = box.currentItem()->child(i);
    }
    ASSERT_NE(item, nullptr);
    box.setCurrentItem(item);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&box, &enter);
    EXPECT_EQ(box.path(), "C:\\Daten\\" + name);
}

} // namespace
