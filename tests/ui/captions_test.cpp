// Captions stay whole in the desktop's font and in one half as large again: the twips layout
// grows with the font, so every caption shown in the five windows must fit its control and window.

#include "main_window_scaffold.h"
#include "qt_app.h"
#include "scripted_prompts.h"
#include "support/faulty_platform.h"
#include "support/temp_tree.h"
#include "ui/controls/file_list_box.h"
#include "ui/dialogs/about_box.h"
#include "ui/dialogs/attributes_dialog.h"
#include "ui/dialogs/log_viewer.h"
#include "ui/dialogs/target_folder_dialog.h"

#include <QAbstractButton>
#include <QLabel>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using testsupport::FakeHome;
using testsupport::FaultyPlatform;
using testsupport::ScriptedPrompts;

// Shown captions that their control or their window cuts short. Word-wrapping labels break
// their text instead, and so do not count.
std::vector<std::string> cutCaptions(QWidget& window) {
    window.show();
    std::vector<std::string> out;
    const QRect inside = window.rect();
    const auto check = [&](QWidget* w, const QString& text) {
        if (text.isEmpty() || !w->isVisibleTo(&window))
            return;
        const QRect box(w->mapTo(&window, QPoint(0, 0)), w->size());
        if (w->width() < w->sizeHint().width() || !inside.contains(box))
            out.push_back(text.toStdString());
    };
    for (QAbstractButton* b : window.findChildren<QAbstractButton*>())
        check(b, b->text());
    for (QLabel* l : window.findChildren<QLabel*>())
        if (!l->wordWrap())
            check(l, l->text());
    window.hide();
    return out;
}

// At the desktop's font size and at half as large again, as people with low vision set it.
class Captions : public ::testing::TestWithParam<double> {};

TEST_P(Captions, FitTheirControlsInAllFiveWindows) {
    const testsupport::ScaledAppFont font(GetParam());
    FakeHome home;
    FaultyPlatform fs{platform::createPlatformOver({{'d', testsupport::utf8(home.home()), "Daten"}},
                                                   home.documentsText(), home.documentsText())};
    ScriptedPrompts prompts;
    std::ofstream(home.documents() / "a.txt") << "x";
    testsupport::MainWindowScaffold main(fs, prompts);
    main.fileView->refresh();
    main.fileView->setCurrentRow(0);
    ASSERT_EQ(main.fileView->fileName(), "a.txt");

    EXPECT_EQ(cutCaptions(main.window), std::vector<std::string>{});
    ui::TargetFolderDialog fileDialog(main.targetFolderOwner(), &main.window);
    EXPECT_EQ(cutCaptions(fileDialog), std::vector<std::string>{});
    ui::AttributesDialog flags = testsupport::attributesDialog(*main.fileView, fs, prompts);
    EXPECT_EQ(cutCaptions(flags), std::vector<std::string>{});
    ui::LogViewer protocoll(fs, prompts);
    EXPECT_EQ(cutCaptions(protocoll), std::vector<std::string>{});
    ui::AboutBox about(fs, prompts);
    EXPECT_EQ(cutCaptions(about), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(FontSizes, Captions, ::testing::Values(1.0, 1.5));

} // namespace
