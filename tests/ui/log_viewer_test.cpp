#include "ui/dialogs/log_viewer.h"
#include "ui_events.h"

#include "qt_app.h"
#include "scripted_prompts.h"
#include "support/faulty_platform.h"
#include "support/pass_actions.h"
#include "support/temp_tree.h"
#include "ui/controls/log_text_box.h"

#include <QPushButton>
#include <QScrollBar>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>

namespace {

using testsupport::Finished;

using testsupport::FakeHome;
using testsupport::FaultyPlatform;
using testsupport::ScriptedPrompts;

// Drive C: is the fake home, so the log is C:\Dokumente\Tilgomat.txt.
struct Scene {
    FakeHome home;
    FaultyPlatform fs{platform::createPlatformOver({{'c', testsupport::utf8(home.home()), ""}},
                                                   testsupport::utf8(home.home()),
                                                   home.documentsText())};
    ScriptedPrompts prompts;

    Scene() { testsupport::ensureApp(); }
    std::filesystem::path log() const { return home.documents() / "Tilgomat.txt"; }
    void writeLog(const std::string& bytes) const {
        std::ofstream(log(), std::ios::binary | std::ios::trunc) << bytes;
    }
};

TEST(LogViewer, ShowsEveryLineOfTheLog) {
    Scene s;
    s.writeLog("01.02.2024 10:00:00;\"C:\\a.txt\";1/3\r\n"
               "01.02.2024 10:00:01;\"C:\\b.txt\";2/3\r\n"
               "01.02.2024 10:00:02;\"C:\\c.txt\";3/3\r\n");
    ui::LogViewer dialog(s.fs, s.prompts);
    Finished finished(dialog);

    EXPECT_TRUE(s.prompts.shown.empty());
    EXPECT_EQ(dialog.textBox->toPlainText(),
              QStringLiteral("01.02.2024 10:00:00;\"C:\\a.txt\";1/3\n"
                             "01.02.2024 10:00:01;\"C:\\b.txt\";2/3\n"
                             "01.02.2024 10:00:02;\"C:\\c.txt\";3/3\n"));
    EXPECT_TRUE(dialog.deleteButton->isEnabled());

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Löschprotokoll"));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_EQ(dialog.deleteButton->text(), QStringLiteral("Löschen"));
    EXPECT_EQ(dialog.okButton->text(), QStringLiteral("OK"));
    EXPECT_EQ(dialog.textBox->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(dialog.textBox->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(dialog.focusWidget(), dialog.okButton);
    EXPECT_EQ(dialog.okButton->nextInFocusChain(), dialog.deleteButton);
    EXPECT_EQ(dialog.deleteButton->nextInFocusChain(), dialog.textBox);

    // Typing into the viewer never reaches the file.
    dialog.textBox->insertPlainText(QStringLiteral("getippt"));
    dialog.okButton->click();
    EXPECT_EQ(finished.result, QDialog::Accepted);
    EXPECT_EQ(testsupport::readBytes(s.log()).substr(0, 10), "01.02.2024");
    EXPECT_EQ(testsupport::readBytes(s.log()).find("getippt"), std::string::npos);

    // Every opening reads the file afresh.
    ASSERT_FALSE(testsupport::appendToFile(s.fs, "C:\\Dokumente\\Tilgomat.txt", "neu\r\n"));
    ui::LogViewer again(s.fs, s.prompts);
    EXPECT_TRUE(again.textBox->toPlainText().endsWith(QStringLiteral("3/3\nneu\n")));
}

TEST(LogViewer, LineEndsAndWindows1252Bytes) {
    Scene s;
    // A lone LF stays inside its line; a lone CR ends one; the last line has no line end.
    s.writeLog("eins\nzwei\r"
               "\x80\x84\x8A\x93\x94\x99\x9F \xE4\xF6\xFC\xDF\r\n"
               "ohne Ende");
    ui::LogViewer dialog(s.fs, s.prompts);
    EXPECT_EQ(dialog.textBox->toPlainText(),
              QStringLiteral("eins\u240Azwei\n€„Š“”™Ÿ äöüß\nohne Ende\n"));
    EXPECT_EQ(dialog.textBox->lines().lineCount(), 4);
}

TEST(LogViewer, MissingAndEmptyLog) {
    Scene s;
    {
        ui::LogViewer dialog(s.fs, s.prompts);
        ASSERT_EQ(s.prompts.shown.size(), 1u);
        const auto& box = s.prompts.shown[0];
        EXPECT_EQ(box.text, QStringLiteral("Protokoll leer oder nicht vorhanden!"));
        EXPECT_EQ(box.title, QStringLiteral("Tilgomat"));
        EXPECT_EQ(box.icon, ui::Prompts::Icon::Information);
        EXPECT_EQ(box.buttons, ui::Prompts::Buttons::Ok);
        EXPECT_EQ(dialog.textBox->toPlainText(), QStringLiteral("[Protokoll ist leer]"));
        EXPECT_FALSE(dialog.deleteButton->isEnabled());
    }
    s.prompts.shown.clear();
    s.writeLog("");
    ui::LogViewer dialog(s.fs, s.prompts);
    EXPECT_TRUE(s.prompts.shown.empty());
    EXPECT_TRUE(dialog.textBox->toPlainText().isEmpty());
    EXPECT_TRUE(dialog.deleteButton->isEnabled());
}

TEST(LogViewer, DeleteAsksThenRemovesTheLogAndCloses) {
    Scene s;
    s.writeLog("zeile\r\n");
    ui::LogViewer dialog(s.fs, s.prompts);
    Finished finished(dialog);
    dialog.show();

    s.prompts.answers = {ui::Prompts::Answer::No};
    dialog.deleteButton->click();
    ASSERT_EQ(s.prompts.shown.size(), 1u);
    const auto& question = s.prompts.shown[0];
    EXPECT_EQ(question.text, QStringLiteral("Möchten Sie das Protokoll wirklich löschen?"));
    EXPECT_EQ(question.title, QStringLiteral("Tilgomat"));
    EXPECT_EQ(question.icon, ui::Prompts::Icon::Question);
    EXPECT_EQ(question.buttons, ui::Prompts::Buttons::YesNo);
    EXPECT_EQ(question.defaultButton, ui::Prompts::Answer::Yes);
    EXPECT_TRUE(std::filesystem::exists(s.log()));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.textBox->toPlainText(), QStringLiteral("zeile\n"));

    s.prompts.answers = {ui::Prompts::Answer::Yes};
    dialog.deleteButton->click();
    EXPECT_EQ(s.prompts.shown.size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(s.log()));
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(finished.result, QDialog::Accepted);

    ui::LogViewer reopened(s.fs, s.prompts);
    ASSERT_EQ(s.prompts.shown.size(), 3u);
    EXPECT_EQ(s.prompts.shown[2].text, QStringLiteral("Protokoll leer oder nicht vorhanden!"));
    EXPECT_FALSE(reopened.deleteButton->isEnabled());
}

TEST(LogViewer, FailedDeleteIsReportedAndTheViewerStaysOpen) {
    Scene s;
    s.writeLog("zeile\r\n");
    ui::LogViewer dialog(s.fs, s.prompts);
    Finished finished(dialog);
    dialog.show();

    // The backend refuses to delete a read-only file, as Windows does.
    ASSERT_FALSE(s.fs.setAttributes("C:\\Dokumente\\Tilgomat.txt", platform::ReadOnly));
    s.prompts.answers = {ui::Prompts::Answer::Yes};
    dialog.deleteButton->click();
    ASSERT_EQ(s.prompts.shown.size(), 2u);
    const auto& box = s.prompts.shown[1];
    EXPECT_EQ(box.title, QStringLiteral("Tilgomat"));
    EXPECT_EQ(box.icon, ui::Prompts::Icon::Exclamation);
    EXPECT_EQ(box.buttons, ui::Prompts::Buttons::Ok);
    EXPECT_TRUE(box.text.contains(QStringLiteral("C:\\Dokumente\\Tilgomat.txt")));
    EXPECT_TRUE(std::filesystem::exists(s.log()));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(finished.result);

    // The close box closes the viewer without touching the log.
    dialog.close();
    EXPECT_EQ(finished.result, QDialog::Rejected);
    EXPECT_TRUE(std::filesystem::exists(s.log()));
}

} // namespace
