#include "ui/dialogs/frmAbout.h"
#include "ui_events.h"

#include "qt_app.h"
#include "scripted_prompts.h"
#include "support/faulty_platform.h"
#include "support/temp_tree.h"
#include "ui/controls/twips.h"
#include "version_info.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>

namespace {

using testsupport::Finished;
using testsupport::press;

using testsupport::FaultyPlatform;
using testsupport::ScriptedPrompts;
using testsupport::TempDir;

struct Scene {
    TempDir c;
    FaultyPlatform fs{platform::createPlatformOver({{'c', c.str(), ""}}, c.str())};
    ScriptedPrompts prompts;

    // No system information program of the host's own.
    Scene() {
        testsupport::ensureApp();
        fs.systemInformationOverride = "";
    }
    void expectNotAvailable() {
        ASSERT_EQ(prompts.shown.size(), 1u);
        const auto& box = prompts.shown[0];
        EXPECT_EQ(box.text, QStringLiteral("Systeminformationen sind momentan nicht verfügbar"));
        EXPECT_EQ(box.title, QStringLiteral("Tilgomat"));
        EXPECT_EQ(box.icon, ui::Prompts::Icon::None);
        EXPECT_EQ(box.buttons, ui::Prompts::Buttons::Ok);
        prompts.shown.clear();
    }
};

TEST(frmAbout, TextsFromTheVersionInformation) {
    Scene s;
    frmAbout dialog(s.fs, s.prompts);

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Info zu Tilgomat"));
    EXPECT_EQ(dialog.lblTitle->text(), QStringLiteral("Tilgomat"));
    EXPECT_EQ(dialog.lblVersion->text(), QStringLiteral("Version 1.2.3"));
    EXPECT_EQ(dialog.lblDisclaimer->text(), QString::fromUtf8(version_info::legalNotice));
    const QStringList description = dialog.lblDescription->text().split(QLatin1Char('\n'));
    ASSERT_EQ(description.size(), 3);
    EXPECT_EQ(description[0], QStringLiteral("Durchsucht rekursiv Verzeichnisse nach beliebigen "
                                             "Dateien und kann diese bei Bedarf löschen, kopieren "
                                             "oder verschieben."));
    EXPECT_EQ(description[1],
              QStringLiteral("Projekt: ") + QString::fromUtf8(version_info::companyName));
    EXPECT_EQ(description[2], QString::fromUtf8(version_info::trademarks));

    EXPECT_EQ(dialog.cmdOK->text(), QStringLiteral("OK"));
    EXPECT_TRUE(dialog.cmdOK->isDefault());
    EXPECT_EQ(dialog.cmdSysInfo->text(), QStringLiteral("&Systeminfo..."));
    EXPECT_EQ(dialog.geometry(), ui::twipsRect(2340, 1935, 5730, 3555, &dialog));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint);
    QWidget* next = dialog.cmdOK->nextInFocusChain();
    while (next->focusPolicy() == Qt::NoFocus)
        next = next->nextInFocusChain();
    EXPECT_EQ(next, dialog.cmdSysInfo);
    EXPECT_EQ(dialog.picIcon->pos(), ui::twipsRect(240, 240, 0, 0, &dialog).topLeft());
    EXPECT_FALSE(dialog.picIcon->pixmap().isNull());
    EXPECT_FALSE(dialog.windowIcon().isNull());

    EXPECT_TRUE(s.prompts.shown.empty());
}

TEST(frmAbout, OkEnterAndEscClose) {
    Scene s;
    for (int key : {0, int(Qt::Key_Return), int(Qt::Key_Escape)}) {
        frmAbout dialog(s.fs, s.prompts);
        const Finished finished(dialog);
        dialog.show();
        if (key == 0)
            dialog.cmdOK->click();
        else
            press(dialog, key);
        EXPECT_TRUE(finished.result) << key;
        EXPECT_FALSE(dialog.isVisible()) << key;
    }
}

TEST(frmAbout, StartSysInfoStartsTheToolOrSaysItIsNotAvailable) {
    Scene s;
    frmAbout dialog(s.fs, s.prompts);
    dialog.show();

    // The host has none.
    dialog.cmdSysInfo->click();
    s.expectNotAvailable();
    EXPECT_TRUE(s.fs.started.empty());

    s.fs.systemInformationOverride = "C:\\Tools\\MSINFO32.EXE";
    dialog.StartSysInfo();
    EXPECT_TRUE(s.prompts.shown.empty());
    EXPECT_EQ(s.fs.started, std::vector<std::string>{"C:\\Tools\\MSINFO32.EXE"});

    // A start that fails gives the message.
    s.fs.failing[testsupport::Op::StartProgram] =
        std::make_error_code(std::errc::no_such_file_or_directory);
    dialog.StartSysInfo();
    s.expectNotAvailable();
    EXPECT_TRUE(dialog.isVisible());
}

} // namespace
