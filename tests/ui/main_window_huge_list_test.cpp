// The main window over a folder that lists 1,100,000 files and 40,000 folders (a synthetic
// listing, nothing on disk): the counters and the status bar count past 16 bits and a million.

#include "main_window_scaffold.h"
#include "platform/platform.h"
#include "qt_app.h"
#include "scripted_prompts.h"
#include "support/faulty_platform.h"
#include "support/mass_listing.h"
#include "support/result_value.h"
#include "support/temp_tree.h"
#include "ui/controls/panel_status_bar.h"

#include <gtest/gtest.h>

namespace {

constexpr std::size_t kFiles = 1'100'000;
constexpr std::size_t kFolders = 40'000;

TEST(MainWindowHugeList, CountersAndPanelsPastAMillion) {
    testsupport::ensureApp();
    testsupport::FakeHome home;
    testsupport::TempDir d;
    d.folder("Masse");
    auto inner = platform::createPlatformOver(
        {{'c', testsupport::utf8(home.home()), ""}, {'d', d.str(), "DATEN"}},
        testsupport::utf8(home.home()), home.documentsText());
    const std::string masse = testsupport::valueOf(inner->resolveFolder("D:\\Masse")).path;
    testsupport::FaultyPlatform fs(std::move(inner));
    fs.syntheticListing = [masse](const platform::HostFolder& folder, platform::Listing& out) {
        if (folder.path != masse)
            return false;
        testsupport::massListing(kFiles, kFolders, out);
        return true;
    };
    testsupport::ScriptedPrompts prompts;
    testsupport::MainWindowScaffold w(fs, prompts);

    w.search(QStringLiteral("D:\\Masse"), QStringLiteral("*.txt"), false);

    EXPECT_EQ(w.resultEntries().size(), kFiles + kFolders);
    EXPECT_EQ(w.fileCount(), static_cast<std::int64_t>(kFiles));
    EXPECT_EQ(w.folderCount(), static_cast<std::int64_t>(kFolders));
    EXPECT_EQ(w.statusBar->panelText(1), QStringLiteral("Dateien 1100000"));
    EXPECT_EQ(w.statusBar->panelText(2), QStringLiteral("Verzeichnisse: 40000"));
    EXPECT_EQ(w.resultEntries()[kFiles + kFolders - 1], "    d:\\masse\\f1099999.txt");
}

} // namespace
