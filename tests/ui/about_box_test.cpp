#include "ui/dialogs/about_box.h"
#include "ui_events.h"

#include "qt_app.h"
#include "scripted_prompts.h"
#include "support/faulty_platform.h"
#include "support/temp_tree.h"
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

TEST(AboutBox, TextsFromTheVersionInformation) {
    Scene s;
    ui::AboutBox dialog(s.fs, s.prompts);

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Info zu Tilgomat"));
    EXPECT_EQ(dialog.title->text(), QStringLiteral("Tilgomat"));
    EXPECT_EQ(dialog.version->text(), QStringLiteral("Version 1.2.3"));
    EXPECT_EQ(dialog.disclaimer->text(), QString::fromUtf8(version_info::legalNotice));
    const QStringList description = dialog.description->text().split(QLatin1Char('\n'));
    ASSERT_EQ(description.size(), 3);
    EXPECT_EQ(description[0], QStringLiteral("Durchsucht rekursiv Verzeichnisse nach beliebigen "
                                             "Dateien und kann diese bei Bedarf löschen, kopieren "
                                             "oder verschieben."));
    EXPECT_EQ(description[1],
              QStringLiteral("Projekt: ") + QString::fromUtf8(version_info::companyName));
    EXPECT_EQ(description[2], QString::fromUtf8(version_info::trademarks));

    EXPECT_EQ(dialog.okButton->text(), QStringLiteral("OK"));
    EXPECT_TRUE(dialog.okButton->isDefault());
    EXPECT_EQ(dialog.systemInfoButton->text(), QStringLiteral("&Systeminfo..."));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMinMaxButtonsHint);
    QWidget* next = dialog.okButton->nextInFocusChain();
    while (next->focusPolicy() == Qt::NoFocus)
        next = next->nextInFocusChain();
    EXPECT_EQ(next, dialog.systemInfoButton);
    EXPECT_FALSE(dialog.iconLabel->pixmap().isNull());
    EXPECT_FALSE(dialog.windowIcon().isNull());

    EXPECT_TRUE(s.prompts.shown.empty());
}

TEST(AboutBox, OkEnterAndEscClose) {
    Scene s;
    for (int key : {0, int(Qt::Key_Return), int(Qt::Key_Escape)}) {
        ui::AboutBox dialog(s.fs, s.prompts);
        const Finished finished(dialog);
        dialog.show();
        if (key == 0)
            dialog.okButton->click();
        else
            press(dialog, key);
        EXPECT_TRUE(finished.result) << key;
        EXPECT_FALSE(dialog.isVisible()) << key;
    }
}

TEST(AboutBox, SystemInformationStartsTheToolOrSaysItIsNotAvailable) {
    Scene s;
    ui::AboutBox dialog(s.fs, s.prompts);
    dialog.show();

    // The host has none.
    dialog.systemInfoButton->click();
    s.expectNotAvailable();
    EXPECT_TRUE(s.fs.started.empty());

    s.fs.systemInformationOverride = "C:\\Tools\\MSINFO32.EXE";
    dialog.startSystemInformation();
    EXPECT_TRUE(s.prompts.shown.empty());
    EXPECT_EQ(s.fs.started, std::vector<std::string>{"C:\\Tools\\MSINFO32.EXE"});

    // A start that fails gives the message.
    s.fs.failing[testsupport::Op::StartProgram] =
        std::make_error_code(std::errc::no_such_file_or_directory);
    dialog.startSystemInformation();
    s.expectNotAvailable();
    EXPECT_TRUE(dialog.isVisible());
}

} // namespace
