// Delete, copy and move driven through the main window as a user would: the toolbar, the
// confirmation, the target folder dialog; then the files and the log checked.

#include "main_window_scaffold.h"
#include "platform/platform.h"
#include "qt_app.h"
#include "scripted_prompts.h"
#include "support/faulty_platform.h"
#include "support/host_names.h"
#include "support/result_value.h"
#include "support/temp_tree.h"
#include "ui/controls/folder_list_box.h"
#include "ui/controls/panel_status_bar.h"
#include "ui/dialogs/target_folder_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>

namespace {

namespace fs = std::filesystem;
using Answer = ui::Prompts::Answer;

class MainBulk : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::ensureApp();
        w.reset();
        platformImpl = platform::createPlatformOver(
            {{'c', testsupport::utf8(home.home()), {}}, {'d', data.str(), {}}}, data.str(),
            home.documentsText());
        faulty = std::make_unique<testsupport::FaultyPlatform>(*platformImpl);
        w = std::make_unique<testsupport::MainWindowScaffold>(*faulty, prompts);
    }

    // The log's lines without their date field, after checking that field's form.
    std::vector<std::string> logLines() const {
        const std::string bytes = testsupport::readBytes(home.documents() / "Tilgomat.txt");
        std::vector<std::string> lines;
        const std::regex date(R"(^\d\d\.\d\d\.\d{4}( \d\d:\d\d:\d\d)?;)");
        std::size_t start = 0;
        while (start < bytes.size()) {
            const std::size_t end = bytes.find("\r\n", start);
            EXPECT_NE(end, std::string::npos) << "line without CR LF";
            if (end == std::string::npos)
                break;
            std::string line = bytes.substr(start, end - start);
            std::smatch m;
            EXPECT_TRUE(std::regex_search(line, m, date)) << line;
            lines.push_back(line.substr(static_cast<std::size_t>(m.length(0))));
            start = end + 2;
        }
        return lines;
    }

    // Confirms the target folder dialog once it is open: folder, prefix, what another program
    // does meanwhile, OK.
    void answerTargetDialog(
        const std::string& folder, bool prefix, std::function<void()> meanwhile = [] {}) {
        QTimer::singleShot(0, [folder, prefix, meanwhile] {
            auto* dialog = qobject_cast<ui::TargetFolderDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            ASSERT_TRUE(dialog->folderList->setPath(folder));
            dialog->prefixBox->setChecked(prefix);
            meanwhile();
            dialog->okButton->click();
        });
    }

    testsupport::FakeHome home;
    testsupport::TempDir data;
    std::unique_ptr<platform::Platform> platformImpl;
    // Passes everything through; a test may hook into the calls.
    std::unique_ptr<testsupport::FaultyPlatform> faulty;
    testsupport::ScriptedPrompts prompts;
    std::unique_ptr<testsupport::MainWindowScaffold> w;
};

TEST_F(MainBulk, DeleteWithReadOnlySurvivor) {
    data.file("tree/a.txt", "a");
    data.file("tree/b.txt", "b");
    data.file("tree/c.txt", "c");
    data.file("tree/keep.doc", "k");
    ASSERT_FALSE(platformImpl->setAttributes("D:\\tree\\b.txt", platform::ReadOnly));
    w->search(QStringLiteral("D:\\tree"), QStringLiteral("*.txt"), false);
    ASSERT_EQ(w->resultEntries().size(), 3u);

    prompts.answers = {Answer::Yes};
    w->click(w->deleteListed);

    ASSERT_EQ(prompts.shown.size(), 2u);
    EXPECT_EQ(prompts.shown[0].text,
              QStringLiteral("Möchten Sie die angezeigten Dateien wirklich löschen?"));
    EXPECT_EQ(prompts.shown[0].defaultButton, Answer::Yes);
    EXPECT_EQ(prompts.shown[1].text, QStringLiteral("Es konnten nicht alle Dateien gelöscht "
                                                    "werden!\rÜberprüfen Sie manuell die "
                                                    "Dateiattribute."));
    EXPECT_FALSE(fs::exists(data.path() / "tree/a.txt"));
    EXPECT_TRUE(fs::exists(data.path() / "tree/b.txt"));
    EXPECT_FALSE(fs::exists(data.path() / "tree/c.txt"));
    EXPECT_TRUE(fs::exists(data.path() / "tree/keep.doc"));
    ASSERT_EQ(w->resultEntries().size(), 1u);
    EXPECT_EQ(w->resultEntries()[0], "    d:\\tree\\b.txt");
    EXPECT_EQ(w->statusBar->panelText(1), QStringLiteral("Dateien 1"));

    // The pass logs in list order; only the survivor gets an error line.
    auto lines = logLines();
    ASSERT_EQ(lines.size(), 4u);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NE(lines[i].find(";" + std::to_string(i + 1) + "/3"), std::string::npos) << lines[i];
    EXPECT_EQ(lines[3], "\"d:\\tree\\b.txt\";1/1 ->error delete");
}

TEST_F(MainBulk, CopyWithPrefixAndMoveWithCollision) {
    data.file("src/eins/bild.png", "erstes");
    data.file("src/zwei/bild.png", "zweites");
    data.file("src/zwei/text.png", "text");
    data.folder("ziel");
    w->search(QStringLiteral("D:\\src"), QStringLiteral("*.png"), true);
    ASSERT_EQ(w->resultEntries().size(), 3u);

    // Copy with prefix: three files side by side, numbered by list position.
    answerTargetDialog("D:\\ziel", true);
    w->click(w->copyListed);
    EXPECT_FALSE(w->shared().move);
    EXPECT_TRUE(w->shared().prefix);
    EXPECT_EQ(w->shared().targetFolder, "D:\\ziel");
    int copied = 0;
    for (const auto& e : fs::directory_iterator(data.path() / "ziel")) {
        const std::string name = testsupport::utf8(e.path().filename());
        EXPECT_TRUE(name.rfind("000_", 0) == 0 || name.rfind("001_", 0) == 0 ||
                    name.rfind("002_", 0) == 0)
            << name;
        ++copied;
    }
    EXPECT_EQ(copied, 3);
    EXPECT_TRUE(fs::exists(data.path() / "src/eins/bild.png"));
    auto lines = logLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[0].find(";1/3 -> copy"), std::string::npos);
    EXPECT_NE(lines[2].find(";3/3 -> copy"), std::string::npos);

    EXPECT_TRUE(prompts.shown.empty()) << "a copy that made every file says nothing";

    // Move without prefix into another folder: the two bild.png meet at one name. Nothing is
    // lost: the later one stays in place and is reported.
    data.folder("ablage");
    w->search(QStringLiteral("D:\\src"), QStringLiteral("*.png"), true);
    answerTargetDialog("D:\\ablage", false);
    w->click(w->moveListed);
    EXPECT_TRUE(w->shared().move);
    EXPECT_FALSE(w->shared().prefix);
    const std::string moved = testsupport::readBytes(data.path() / "ablage/bild.png");
    EXPECT_TRUE(moved == "erstes" || moved == "zweites");
    EXPECT_EQ(testsupport::readBytes(data.path() / "ablage/text.png"), "text");
    const bool einsLeft = fs::exists(data.path() / "src/eins/bild.png");
    const bool zweiLeft = fs::exists(data.path() / "src/zwei/bild.png");
    EXPECT_NE(einsLeft, zweiLeft);
    EXPECT_FALSE(fs::exists(data.path() / "src/zwei/text.png"));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].icon, ui::Prompts::Icon::Exclamation);
    ASSERT_EQ(w->resultEntries().size(), 1u);
    lines = logLines();
    ASSERT_EQ(lines.size(), 3u + 3u + 1u);
    EXPECT_NE(lines[3].find(" -> move"), std::string::npos);
    EXPECT_NE(lines[6].find(";1/1 ->error delete"), std::string::npos);
    // The status panel again shows the version after the final search.
    EXPECT_TRUE(w->statusBar->panelText(3).endsWith(QStringLiteral(" Release 1.2.3")));

    // A copy that could not make every file says so once: a read-only file holds the name.
    data.file("kopie/bild.png", "alt");
    ASSERT_FALSE(platformImpl->setAttributes("D:\\kopie\\bild.png", platform::ReadOnly));
    w->search(QStringLiteral("D:\\src"), QStringLiteral("*.png"), true);
    prompts.shown.clear();
    answerTargetDialog("D:\\kopie", false);
    w->click(w->copyListed);
    EXPECT_EQ(testsupport::readBytes(data.path() / "kopie/bild.png"), "alt");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("Es konnten nicht alle Dateien kopiert "
                                                    "werden!\rÜberprüfen Sie das Zielverzeichnis "
                                                    "und die Dateiattribute."));
    EXPECT_EQ(prompts.shown[0].title, QStringLiteral("Tilgomat"));
    EXPECT_EQ(prompts.shown[0].icon, ui::Prompts::Icon::Exclamation);
    EXPECT_EQ(prompts.shown[0].buttons, ui::Prompts::Buttons::Ok);

    // The folder the dialog shows swapped for a link to another while it is open: the copy
    // writes nothing there and says that not all were copied.
    data.folder("fremd");
    prompts.shown.clear();
    answerTargetDialog("D:\\ablage", false, [&] {
        std::error_code noLink;
        fs::rename(data.path() / "ablage", data.path() / "ablage.alt");
        fs::create_directory_symlink(data.path() / "fremd", data.path() / "ablage", noLink);
    });
    w->click(w->copyListed);
    EXPECT_TRUE(fs::is_empty(data.path() / "fremd"));
    EXPECT_EQ(prompts.shown.size(), 1u);
}

TEST_F(MainBulk, NoToTheConfirmationChangesNothing) {
    data.file("t/a.txt", "a");
    w->search(QStringLiteral("D:\\t"), QStringLiteral("*.*"), false);
    prompts.answers = {Answer::No};
    w->click(w->deleteListed);
    EXPECT_TRUE(fs::exists(data.path() / "t/a.txt"));
    EXPECT_FALSE(fs::exists(home.documents() / "Tilgomat.txt"));
    EXPECT_EQ(w->resultEntries().size(), 1u);
}

// A folder whose lower-case twin exists: the search, the delete and the failure pass reach the
// folder as chosen, never the twin.
TEST_F(MainBulk, AFolderWithALowerCaseTwinIsTheOneActedOn) {
    if (!testsupport::namesDifferInCase())
        GTEST_SKIP() << "this file system keeps no two names that differ in case only";
    data.file("Fotos/a.jpg", "gewählt");
    data.file("Fotos/b.jpg", "gewählt, schreibgeschützt");
    data.file("fotos/a.jpg", "Zwilling");
    data.file("fotos/c.jpg", "Zwilling");
    ASSERT_FALSE(platformImpl->setAttributes("D:\\Fotos\\b.jpg", platform::ReadOnly));
    w->search(QStringLiteral("D:\\Fotos"), QStringLiteral("*.jpg"), false);
    ASSERT_EQ(w->resultEntries().size(), 2u);

    prompts.answers = {Answer::Yes};
    w->click(w->deleteListed);
    EXPECT_FALSE(fs::exists(data.path() / "Fotos/a.jpg"));
    EXPECT_TRUE(fs::exists(data.path() / "Fotos/b.jpg"));
    EXPECT_EQ(testsupport::readBytes(data.path() / "fotos/a.jpg"), "Zwilling");
    EXPECT_EQ(testsupport::readBytes(data.path() / "fotos/c.jpg"), "Zwilling");
    // The log keeps the entries' text as listed; the survivor is the chosen folder's.
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], "\"d:\\fotos\\b.jpg\";1/1 ->error delete");
}

// Whatever the user does while a pass runs (a click let through during its search, a key while
// its warning is open, the dialog's OK pressed again), no second pass starts: the log, the
// boxes and the files are exactly those of one pass.
TEST_F(MainBulk, NothingStartsASecondPassWhileOneRuns) {
    using Act = std::function<void(testsupport::MainWindowScaffold&)>;
    const std::vector<std::pair<const char*, Act>> intrusions = {
        {"toolbar Delete", [](testsupport::MainWindowScaffold& m) { m.click(m.deleteListed); }},
        {"toolbar Copy", [](testsupport::MainWindowScaffold& m) { m.click(m.copyListed); }},
        {"toolbar Move", [](testsupport::MainWindowScaffold& m) { m.click(m.moveListed); }},
        {"toolbar List", [](testsupport::MainWindowScaffold& m) { m.click(m.listFiles); }},
        {"menu Löschen", [](testsupport::MainWindowScaffold& m) { m.run(m.deleteListed); }},
        {"menu Verschieben", [](testsupport::MainWindowScaffold& m) { m.run(m.moveListed); }},
        {"dialog OK", [](testsupport::MainWindowScaffold&) {
             if (auto* d = qobject_cast<ui::TargetFolderDialog*>(QApplication::activeModalWidget()))
                 d->okButton->click();
         }}};
    enum Moment { DuringActions, DuringNewSearch, WhileWarningOpen };
    for (const bool move : {false, true}) {
        for (const Moment moment : {DuringActions, DuringNewSearch, WhileWarningOpen}) {
            for (const auto& [what, act] : intrusions) {
                SCOPED_TRACE(std::string(move ? "move" : "delete") + ", moment " +
                             std::to_string(moment) + ": " + what);
                SetUp();
                testsupport::removeTree(data.path() / "z");
                data.file("t/a.txt", "a");
                data.file("t/b.txt", "b");
                data.file("t/c.txt", "c");
                data.folder("z");
                // b.txt outlives every round; it is made read-only once (Wine run by an ordinary
                // user cannot change a read-only file's attributes, not even to the same value).
                if (!(testsupport::valueOf(platformImpl->getAttributes("D:\\t\\b.txt")) &
                      platform::ReadOnly)) {
                    ASSERT_FALSE(platformImpl->setAttributes("D:\\t\\b.txt", platform::ReadOnly));
                }
                w->search(QStringLiteral("D:\\t"), QStringLiteral("*.txt"), false);
                ASSERT_EQ(w->resultEntries().size(), 3u);
                prompts.shown.clear();
                prompts.answers = {Answer::Yes, Answer::Yes, Answer::Yes};

                // A dialog the intrusion might open is cancelled at once.
                const auto intrude = [&, act = act] {
                    QWidget* open = QApplication::activeModalWidget();
                    QTimer::singleShot(0, [open] {
                        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                        if (d && d != open)
                            d->reject();
                    });
                    act(*w);
                };
                bool actionSeen = false, done = false;
                faulty->beforeCall = [&](testsupport::Op op, std::string_view) {
                    const bool action = op == testsupport::Op::DeleteFile ||
                                        op == testsupport::Op::MoveFile ||
                                        op == testsupport::Op::CopyFile;
                    actionSeen = actionSeen || action;
                    const bool now = moment == DuringActions ? action
                                     : moment == DuringNewSearch
                                         ? actionSeen && op == testsupport::Op::ListFolder
                                         : false;
                    if (now && !done) {
                        done = true;
                        intrude();
                    }
                };
                prompts.whileShown = [&](const testsupport::ScriptedPrompts::Shown& box) {
                    if (moment == WhileWarningOpen && !done && box.text.startsWith("Es konnten")) {
                        done = true;
                        intrude();
                    }
                };
                if (move) {
                    answerTargetDialog("D:\\z", false);
                    w->click(w->moveListed);
                } else {
                    w->click(w->deleteListed);
                }
                faulty->beforeCall = {};
                prompts.whileShown = {};
                EXPECT_TRUE(done);

                ASSERT_EQ(prompts.shown.size(), move ? 1u : 2u);
                EXPECT_TRUE(prompts.shown.back().text.startsWith("Es konnten"));
                const auto lines = logLines();
                ASSERT_EQ(lines.size(), 4u);
                EXPECT_EQ(lines[3], "\"d:\\t\\b.txt\";1/1 ->error delete");
                EXPECT_FALSE(fs::exists(data.path() / "t/a.txt"));
                EXPECT_FALSE(fs::exists(data.path() / "t/c.txt"));
                EXPECT_EQ(testsupport::readBytes(data.path() / "t/b.txt"), "b");
                EXPECT_EQ(fs::exists(data.path() / "z/a.txt"), move);
                ASSERT_EQ(w->resultEntries().size(), 1u);
                fs::remove(home.documents() / "Tilgomat.txt");
            }
        }
    }
}

} // namespace
