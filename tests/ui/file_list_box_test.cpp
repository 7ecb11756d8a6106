#include "ui/controls/file_list_box.h"

#include "qt_app.h"
#include "support/host_names.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace {

using testsupport::TempDir;

// One folder with plain, hidden, system, read-only and mixed files, a dot file and a folder.
struct Folder {
    TempDir c;
    std::unique_ptr<platform::Platform> fs;
    Folder() {
        for (const char* name :
             {"b.txt", "A.txt", "c.txt", "versteckt.txt", "system.txt", "nurlesen.txt",
              "versteckt-nurlesen.txt", "system-versteckt.txt", ".punkt"})
            c.file(std::string("Daten/") + name, "x");
        c.folder("Daten/Unterordner");
        fs = platform::createPlatformOver({{'c', c.str(), ""}}, c.str());
        set("versteckt.txt", platform::Hidden);
        set("system.txt", platform::System);
        set("nurlesen.txt", platform::ReadOnly);
        set("versteckt-nurlesen.txt", platform::Hidden | platform::ReadOnly);
        set("system-versteckt.txt", platform::System | platform::Hidden);
    }
    void set(const std::string& name, std::uint32_t attributes) {
        ASSERT_FALSE(fs->setAttributes("C:\\Daten\\" + name, attributes)) << name;
    }
};

std::vector<std::string> names(const ui::FileListBox& box) {
    std::vector<std::string> out;
    for (int i = 0; i < box.listCount(); ++i)
        out.push_back(box.entryName(i));
    return out;
}

using Names = std::vector<std::string>;

TEST(FileListBox, AttributeFiltersNeedEveryAttributeShown) {
    testsupport::ensureApp();
    Folder folder;
    ui::FileListBox box(*folder.fs);
    EXPECT_FALSE(box.accessibleName().isEmpty());
    EXPECT_FALSE(box.showHidden());
    EXPECT_FALSE(box.showSystem());
    EXPECT_TRUE(box.showReadOnly());

    box.setPath("c:\\daten");
    EXPECT_EQ(box.path(), "C:\\Daten");
    EXPECT_EQ(names(box), Names({"A.txt", "b.txt", "c.txt", "nurlesen.txt"}));

    box.setShowHidden(true);
    box.refresh();
    EXPECT_EQ(names(box), Names({".punkt", "A.txt", "b.txt", "c.txt", "nurlesen.txt",
                                 "versteckt-nurlesen.txt", "versteckt.txt"}));

    box.setShowReadOnly(false);
    box.refresh();
    EXPECT_EQ(names(box), Names({".punkt", "A.txt", "b.txt", "c.txt", "versteckt.txt"}));

    box.setShowSystem(true);
    box.setShowReadOnly(true);
    box.refresh();
    EXPECT_EQ(box.listCount(), 9);

    box.setShowHidden(false);
    box.refresh();
    EXPECT_EQ(names(box), Names({"A.txt", "b.txt", "c.txt", "nurlesen.txt", "system.txt"}));
    EXPECT_TRUE(box.entryName(-1).empty());
    EXPECT_TRUE(box.entryName(box.listCount()).empty());
}

TEST(FileListBox, SelectionAndRefresh) {
    testsupport::ensureApp();
    Folder folder;
    ui::FileListBox box(*folder.fs);
    box.setPath("C:\\Daten");
    EXPECT_TRUE(box.fileName().empty());
    EXPECT_EQ(box.selectionMode(), QAbstractItemView::SingleSelection);

    box.setCurrentRow(1);
    EXPECT_EQ(box.fileName(), "b.txt");
    EXPECT_TRUE(box.isSelected(1));
    EXPECT_FALSE(box.isSelected(0));
    EXPECT_FALSE(box.isSelected(99));

    // A refresh keeps the chosen file when it is still listed, and picks up new files.
    folder.c.file("Daten/0-neu.txt");
    box.refresh();
    EXPECT_EQ(box.listCount(), 5);
    EXPECT_EQ(box.fileName(), "b.txt");
    EXPECT_TRUE(box.isSelected(2));

    // Hidden now, so no longer listed and no longer chosen.
    folder.set("b.txt", platform::Hidden);
    box.refresh();
    EXPECT_TRUE(box.fileName().empty());

    // Another folder starts without a choice; a folder that is not there lists nothing.
    box.setCurrentRow(0);
    box.setPath("C:\\Daten\\Unterordner");
    EXPECT_EQ(box.listCount(), 0);
    EXPECT_TRUE(box.fileName().empty());
    box.setPath("C:\\Daten\\fehlt");
    EXPECT_EQ(box.listCount(), 0);
    box.setPath("C:\\Daten\\A.txt");
    EXPECT_EQ(box.listCount(), 0);
}

TEST(FileListBox, NamesKeepTheirBytes) {
    if (!testsupport::namesAreBytes)
        GTEST_SKIP() << "names on this host are UTF-16: one that is not UTF-8 cannot be made";
    testsupport::ensureApp();
    TempDir c;
    const std::string latin1 = "\xc4rger.txt";
    c.file(latin1);
    c.file("\xc3\x84pfel.txt");
    c.file("apfel.txt");
    c.file("Zebra.txt");
    auto fs = platform::createPlatformOver({{'c', c.str(), ""}}, c.str());
    ui::FileListBox box(*fs);
    box.setPath("C:\\");
    // Without regard to case, by character; the name that is not UTF-8 is shown lossily
    // (as U+FFFD, last) but read back exactly.
    EXPECT_EQ(names(box), Names({"apfel.txt", "Zebra.txt", "\xc3\x84pfel.txt", latin1}));
    box.setCurrentRow(3);
    EXPECT_EQ(box.fileName(), latin1);
}

} // namespace
