#include "ui/dialogs/attributes_dialog.h"
#include "ui_events.h"

#include "main_window_scaffold.h"
#include "qt_app.h"
#include "scripted_prompts.h"
#include "support/faulty_platform.h"
#include "support/temp_tree.h"
#include "ui/controls/file_list_box.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace {

using testsupport::Finished;

using platform::Archive;
using platform::Hidden;
using platform::ReadOnly;
using platform::System;
using testsupport::FaultyPlatform;
using testsupport::ScriptedPrompts;
using testsupport::TempDir;

// Drive C: is a temporary folder holding C:\Daten; the file view shows a folder with one file
// chosen.
struct Scene {
    // Before the file view, which is a widget.
    QApplication& app = testsupport::ensureApp();
    TempDir c;
    FaultyPlatform fs{platform::createPlatformOver({{'c', c.str(), ""}}, c.str())};
    ScriptedPrompts prompts;
    ui::FileListBox fileView{fs};

    Scene() {
        fileView.setShowHidden(true);
        fileView.setShowSystem(true);
    }
    // Creates the file with the given attributes and chooses it in fileView.
    void choose(const std::string& folder, const std::string& name, std::uint32_t attributes) {
        c.file((folder.empty() ? "" : folder + "/") + name, "x");
        const std::string path = "C:\\" + (folder.empty() ? "" : folder + "\\") + name;
        ASSERT_FALSE(fs.inner().setAttributes(path, attributes));
        fileView.setPath(folder.empty() ? "C:\\" : "C:\\" + folder);
        select(name);
    }
    void select(const std::string& name) {
        for (int i = 0; i < fileView.listCount(); ++i) {
            if (fileView.entryName(i) == name)
                fileView.setCurrentRow(i);
        }
        ASSERT_EQ(fileView.fileName(), name);
    }
    std::uint32_t attributes(const std::string& path) {
        auto a = fs.inner().getAttributes(path);
        return a ? *a & (ReadOnly | Hidden | System | Archive) : 0xFFFFFFFFu;
    }
};

std::array<bool, 4> boxes(const ui::AttributesDialog& dialog) {
    std::array<bool, 4> out{};
    for (std::size_t i = 0; i < 4; ++i)
        out[i] = dialog.attributeBoxes[i]->isChecked();
    return out;
}

// Gives a file a modification time in local time.
void setLocalModificationTime(const std::filesystem::path& file, int year, int month, int day,
                              int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    std::filesystem::last_write_time(file,
                                     std::chrono::file_clock::from_sys(
                                         std::chrono::system_clock::from_time_t(std::mktime(&tm))));
}

TEST(AttributesDialog, WindowControlsAndTabOrder) {
    Scene s;
    s.choose("Daten", "brief.txt", Archive);
    ui::AttributesDialog dialog = testsupport::attributesDialog(s.fileView, s.fs, s.prompts);

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Dateiattribute"));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowCloseButtonHint);

    EXPECT_FALSE(dialog.okButton->isDefault());
    EXPECT_TRUE(dialog.fileLabel->font().bold());

    // The title label lies across the frame's top edge and is drawn over it.
    EXPECT_LT(dialog.groupTitle->y(), dialog.groupFrame->y());
    EXPECT_GT(dialog.groupTitle->geometry().bottom(), dialog.groupFrame->y());
    EXPECT_GT(dialog.children().indexOf(dialog.groupTitle),
              dialog.children().indexOf(dialog.groupFrame));
    EXPECT_GE(dialog.groupTitle->width(), dialog.groupTitle->sizeHint().width());

    EXPECT_EQ(dialog.focusWidget(), dialog.okButton);
    QWidget* w = dialog.okButton;
    const std::vector<QWidget*> order = {dialog.cancelButton, dialog.attributeBoxes[0],
                                         dialog.attributeBoxes[1], dialog.attributeBoxes[2],
                                         dialog.attributeBoxes[3]};
    for (QWidget* next : order) {
        w = w->nextInFocusChain();
        EXPECT_EQ(w, next);
    }
}

TEST(AttributesDialog, OpeningShowsPathBoxesAndDate) {
    Scene s;
    // The time first: Windows sets no time on a read-only file.
    s.choose("Daten", "brief.txt", Archive);
    setLocalModificationTime(s.c.path() / "Daten" / "brief.txt", 2023, 12, 24, 18, 30, 5);
    ASSERT_FALSE(s.fs.inner().setAttributes("C:\\Daten\\brief.txt", ReadOnly | Archive));
    ui::AttributesDialog dialog = testsupport::attributesDialog(s.fileView, s.fs, s.prompts);

    EXPECT_EQ(dialog.folder(), "C:\\Daten\\");
    EXPECT_EQ(dialog.filePath(), "C:\\Daten\\brief.txt");
    EXPECT_EQ(dialog.fileLabel->text(), QStringLiteral(" C:\\Daten\\brief.txt"));
    EXPECT_EQ(dialog.attributes(), ReadOnly | Archive);
    EXPECT_EQ(boxes(dialog), (std::array<bool, 4>{true, false, false, true}));
    EXPECT_EQ(dialog.dateLabel->text(), QStringLiteral("Erstellt am: 24.12.2023 18:30:05"));

    // Midnight gives the date alone.
    s.choose("Daten", "mitternacht.txt", Archive);
    setLocalModificationTime(s.c.path() / "Daten" / "mitternacht.txt", 2024, 2, 29, 0, 0, 0);
    ui::AttributesDialog midnight = testsupport::attributesDialog(s.fileView, s.fs, s.prompts);
    EXPECT_EQ(midnight.dateLabel->text(), QStringLiteral("Erstellt am: 29.02.2024"));
    EXPECT_TRUE(s.prompts.shown.empty());
}

TEST(AttributesDialog, FileInDriveRootHasSingleBackslash) {
    Scene s;
    // With the archive bit, which Wine shows on every file.
    s.choose("", "wurzel.txt", Hidden | System | Archive);
    ui::AttributesDialog dialog = testsupport::attributesDialog(s.fileView, s.fs, s.prompts);
    EXPECT_EQ(dialog.folder(), "C:\\");
    EXPECT_EQ(dialog.filePath(), "C:\\wurzel.txt");
    EXPECT_EQ(dialog.fileLabel->text(), QStringLiteral(" C:\\wurzel.txt"));
    EXPECT_EQ(boxes(dialog), (std::array<bool, 4>{false, true, true, true}));
}

TEST(AttributesDialog, OkWithoutClickWritesTheValueReadBack) {
    Scene s;
    // Read-only stays out: Wine run by an ordinary user cannot change a read-only file's
    // attributes, which it keeps in the file's extended attributes.
    const std::uint32_t all = Hidden | System | Archive;
    s.choose("Daten", "alle.txt", all);
    ui::AttributesDialog dialog = testsupport::attributesDialog(s.fileView, s.fs, s.prompts);
    Finished finished(dialog);
    EXPECT_EQ(boxes(dialog), (std::array<bool, 4>{false, true, true, true}));

    // Changed behind the dialog's back: OK must write the value it read, not leave the file.
    ASSERT_FALSE(s.fs.inner().setAttributes("C:\\Daten\\alle.txt", 0));
    dialog.okButton->click();
    EXPECT_EQ(s.attributes("C:\\Daten\\alle.txt"), all);
    EXPECT_EQ(finished.result, QDialog::Accepted);
    EXPECT_TRUE(s.prompts.shown.empty());
}

TEST(AttributesDialog, BoxClicksRebuildTheValueAndDropUnshownBits) {
    Scene s;
    s.choose("Daten", "hoch.txt", Archive);
    s.fs.extraAttributeBits = 0x2000;
    ui::AttributesDialog dialog = testsupport::attributesDialog(s.fileView, s.fs, s.prompts);
    // Checking "Archiv" from the file is no click and leaves the value alone.
    EXPECT_EQ(dialog.attributes(), 0x2000u | Archive);
    EXPECT_EQ(boxes(dialog), (std::array<bool, 4>{false, false, false, true}));

    dialog.attributeBoxes[0]->click();
    EXPECT_EQ(dialog.attributes(), ReadOnly | Archive);
    dialog.attributeBoxes[0]->click();
    EXPECT_EQ(dialog.attributes(), std::uint32_t{Archive});

    dialog.okButton->click();
    ASSERT_EQ(s.fs.attributeWrites.size(), 1u);
    EXPECT_EQ(s.fs.attributeWrites[0].first, "C:\\Daten\\hoch.txt");
    EXPECT_EQ(s.fs.attributeWrites[0].second, std::uint32_t{Archive});
}

TEST(AttributesDialog, HiddenFileLeavesTheFileViewAfterOk) {
    Scene s;
    s.fileView.setShowHidden(false);
    s.c.file("Daten/bleibt.txt", "x");
    s.choose("Daten", "weg.txt", Archive);
    ASSERT_EQ(s.fileView.listCount(), 2);
    ui::AttributesDialog dialog = testsupport::attributesDialog(s.fileView, s.fs, s.prompts);

    dialog.attributeBoxes[1]->click();
    EXPECT_EQ(dialog.attributes(), Hidden | Archive);
    dialog.okButton->click();
    EXPECT_EQ(s.attributes("C:\\Daten\\weg.txt"), Hidden | Archive);
    ASSERT_EQ(s.fileView.listCount(), 1);
    EXPECT_EQ(s.fileView.entryName(0), "bleibt.txt");
}

TEST(AttributesDialog, FailedSetIsReportedAndTheDialogStaysOpen) {
    Scene s;
    s.choose("Daten", "brief.txt", Archive);
    ui::AttributesDialog dialog = testsupport::attributesDialog(s.fileView, s.fs, s.prompts);
    Finished finished(dialog);
    dialog.show();

    // The file vanished after the dialog opened.
    std::filesystem::remove(s.c.path() / "Daten" / "brief.txt");
    dialog.attributeBoxes[0]->click();
    dialog.okButton->click();
    ASSERT_EQ(s.prompts.shown.size(), 1u);
    const auto& box = s.prompts.shown[0];
    EXPECT_EQ(box.title, QStringLiteral("Tilgomat"));
    EXPECT_EQ(box.icon, ui::Prompts::Icon::Exclamation);
    EXPECT_EQ(box.buttons, ui::Prompts::Buttons::Ok);
    EXPECT_TRUE(box.text.contains(QStringLiteral("C:\\Daten\\brief.txt")));
    EXPECT_TRUE(box.text.contains(QStringLiteral("nicht geändert")));
    EXPECT_FALSE(finished.result);
    EXPECT_TRUE(dialog.isVisible());

    // The file view no longer lists the vanished file.
    EXPECT_EQ(s.fileView.listCount(), 0);
}

TEST(AttributesDialog, RefusedSetIsReportedAndTheFileViewShowsTheFileAsItIs) {
    Scene s;
    s.fileView.setShowReadOnly(false);
    s.choose("Daten", "brief.txt", Archive);
    ui::AttributesDialog dialog = testsupport::attributesDialog(s.fileView, s.fs, s.prompts);
    Finished finished(dialog);
    dialog.show();

    // The write bits are taken, then the stored bits are refused.
    s.fs.failing[testsupport::Op::SetAttributes] =
        std::make_error_code(std::errc::operation_not_supported);
    s.fs.partialSetBits = ReadOnly;
    dialog.attributeBoxes[0]->click();
    dialog.attributeBoxes[1]->click();
    dialog.okButton->click();
    ASSERT_EQ(s.prompts.shown.size(), 1u);
    EXPECT_EQ(s.prompts.shown[0].icon, ui::Prompts::Icon::Exclamation);
    EXPECT_FALSE(finished.result);
    EXPECT_EQ(s.fileView.listCount(), 0);

    dialog.cancelButton->click();
    EXPECT_EQ(finished.result, QDialog::Rejected);
}

TEST(AttributesDialog, UnreadableFileShowsNothingChecked) {
    Scene s;
    s.choose("Daten", "brief.txt", Hidden | System);
    std::filesystem::remove(s.c.path() / "Daten" / "brief.txt");
    ui::AttributesDialog dialog = testsupport::attributesDialog(s.fileView, s.fs, s.prompts);
    EXPECT_EQ(dialog.attributes(), 0u);
    EXPECT_EQ(boxes(dialog), (std::array<bool, 4>{false, false, false, false}));
    EXPECT_TRUE(dialog.dateLabel->text().isEmpty());
    EXPECT_TRUE(s.prompts.shown.empty());
}

TEST(AttributesDialog, EscIsIgnoredCancelAndCloseBoxChangeNothing) {
    Scene s;
    s.choose("Daten", "brief.txt", Archive);
    {
        ui::AttributesDialog dialog = testsupport::attributesDialog(s.fileView, s.fs, s.prompts);
        Finished finished(dialog);
        dialog.show();
        dialog.attributeBoxes[0]->click();
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&dialog, &esc);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_FALSE(finished.result);

        dialog.close();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(finished.result, QDialog::Rejected);
    }
    {
        ui::AttributesDialog dialog = testsupport::attributesDialog(s.fileView, s.fs, s.prompts);
        Finished finished(dialog);
        dialog.show();
        dialog.attributeBoxes[1]->click();
        dialog.cancelButton->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(finished.result, QDialog::Rejected);
    }
    EXPECT_TRUE(s.fs.attributeWrites.empty());
    EXPECT_EQ(s.attributes("C:\\Daten\\brief.txt"), std::uint32_t{Archive});
}

} // namespace
