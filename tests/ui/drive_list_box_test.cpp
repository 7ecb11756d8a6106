#include "ui/controls/drive_list_box.h"
#include "ui_events.h"

#include "qt_app.h"
#include "scripted_prompts.h"
#include "support/faulty_platform.h"
#include "support/temp_tree.h"

#include <QKeyEvent>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using testsupport::press;

using testsupport::ScriptedPrompts;
using testsupport::TempDir;

struct Drives {
    TempDir c, d, gone;
    std::unique_ptr<platform::Platform> fs;
    Drives() {
        std::string goneRoot = gone.str() + "/weg";
        fs = platform::createPlatformOver(
            {{'c', c.str(), "SYSTEM"}, {'d', d.str(), "DATEN"}, {'e', goneRoot, "LEER"}}, c.str());
    }
};

TEST(DriveListBox, CodeChangesReportOnlyRealChanges) {
    testsupport::ensureApp();
    Drives drives;
    ScriptedPrompts prompts;
    ui::DriveListBox box(*drives.fs, prompts);
    int changes = 0;
    QObject::connect(&box, &ui::DriveListBox::changed, [&] { ++changes; });

    EXPECT_EQ(box.drive(), "c: [SYSTEM]");
    EXPECT_EQ(box.count(), 3);
    EXPECT_FALSE(box.accessibleName().isEmpty());

    // Only the drive part of the text counts, in either case.
    box.setDrive("D:\\x\\y");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(box.drive(), "d: [DATEN]");
    EXPECT_EQ(box.currentText(), "d: [DATEN]");
    box.setDrive("d: [DATEN]");
    box.setDrive("D:");
    box.setDrive("d:\\");
    EXPECT_EQ(changes, 1);

    // The handler runs inside the assignment and already sees the new drive.
    std::string seen;
    QObject::connect(&box, &ui::DriveListBox::changed, [&] { seen = box.drive(); });
    box.setDrive("c:\\Users");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(seen, "c: [SYSTEM]");

    // Text without a drive part names no drive.
    box.setDrive("");
    box.setDrive("\\Users");
    box.setDrive("x");
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(prompts.shown.empty());

    // Refreshing the table keeps the drive.
    box.refreshDrives();
    EXPECT_EQ(box.drive(), "c: [SYSTEM]");
    EXPECT_EQ(changes, 2);
}

TEST(DriveListBox, UnreadableDriveIsReportedAndLeftAlone) {
    testsupport::ensureApp();
    Drives drives;
    ScriptedPrompts prompts;
    ui::DriveListBox box(*drives.fs, prompts);
    int changes = 0;
    QObject::connect(&box, &ui::DriveListBox::changed, [&] { ++changes; });

    box.setDrive("e:\\");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Laufwerk e: ist nicht bereit.");
    EXPECT_EQ(prompts.shown[0].title, "Tilgomat");
    EXPECT_EQ(prompts.shown[0].icon, ui::Prompts::Icon::Exclamation);
    EXPECT_EQ(prompts.shown[0].buttons, ui::Prompts::Buttons::Ok);
    EXPECT_EQ(box.drive(), "c: [SYSTEM]");
    EXPECT_EQ(changes, 0);

    // A letter the table does not have is no more ready.
    box.setDrive("Z:\\daten");
    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[1].text, "Laufwerk z: ist nicht bereit.");
    EXPECT_EQ(box.drive(), "c: [SYSTEM]");

    // A drive that goes away while it is shown.
    box.setDrive("d:");
    EXPECT_EQ(changes, 1);
    std::filesystem::remove_all(drives.d.path());
    box.setDrive("c:");
    EXPECT_EQ(changes, 2);
    box.setDrive("d:");
    EXPECT_EQ(prompts.shown.size(), 3u);
    EXPECT_EQ(box.drive(), "c: [SYSTEM]");
    EXPECT_EQ(changes, 2);
    // Nor is a share that does not answer, which is not listed then.
    box.setDrive("\\\\nas\\daten\\x");
    EXPECT_EQ(prompts.shown.back().text, "Laufwerk \\\\nas\\daten ist nicht bereit.");
    EXPECT_EQ(box.count(), 3);
}

TEST(DriveListBox, UserChoiceReportsChangeOrGoesBack) {
    testsupport::ensureApp();
    Drives drives;
    ScriptedPrompts prompts;
    ui::DriveListBox box(*drives.fs, prompts);
    int changes = 0;
    QObject::connect(&box, &ui::DriveListBox::changed, [&] { ++changes; });

    press(box, Qt::Key_Down);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(box.drive(), "d: [DATEN]");

    // The next one down cannot be read: a message, and the list shows d: again.
    press(box, Qt::Key_Down);
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, "Laufwerk e: ist nicht bereit.");
    EXPECT_EQ(box.drive(), "d: [DATEN]");
    EXPECT_EQ(box.currentIndex(), 1);

    press(box, Qt::Key_Up);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(box.drive(), "c: [SYSTEM]");
}

// Opening the list reads the drives again: a drive plugged in appears, one pulled out goes, and
// the drive shown stays while it is there; when it is gone, the list and the views move on.
TEST(DriveListBox, OpeningTheListReadsTheDrivesAgain) {
    testsupport::ensureApp();
    Drives drives;
    testsupport::FaultyPlatform fs(*drives.fs);
    fs.drivesOverride = {{'c', "c: [SYSTEM]"}, {'d', "d: [DATEN]"}};
    ScriptedPrompts prompts;
    ui::DriveListBox box(fs, prompts);
    int changes = 0;
    QObject::connect(&box, &ui::DriveListBox::changed, [&] { ++changes; });
    box.setDrive("d:");
    ASSERT_EQ(changes, 1);

    fs.drivesOverride = {{'c', "c: [SYSTEM]"}, {'d', "d: [DATEN]"}, {'e', "e: [STICK]"}};
    box.showPopup();
    box.hidePopup();
    EXPECT_EQ(box.count(), 3);
    EXPECT_EQ(box.itemText(2), "e: [STICK]");
    EXPECT_EQ(box.drive(), "d: [DATEN]");
    EXPECT_EQ(changes, 1);

    fs.drivesOverride = {{'c', "c: [SYSTEM]"}, {'e', "e: [STICK]"}};
    box.showPopup();
    box.hidePopup();
    EXPECT_EQ(box.count(), 2);
    EXPECT_EQ(box.drive(), "c: [SYSTEM]");
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(prompts.shown.empty());
}

} // namespace
