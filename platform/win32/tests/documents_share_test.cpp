// A documents folder redirected to a share that no drive letter maps. Wine reaches
// "\\server\share" as the folder dosdevices\unc\server\share of its prefix, where the test makes
// one of its own.

#include "core/operation_log.h"
#include "core/path_text.h"
#include "core/result_entry.h"
#include "core/search.h"
#include "support/result_value.h"
#include "support/temp_tree.h"

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

TEST(DocumentsOnAShare, TheLogIsWrittenThereAndItsFilesAreReached) {
    const char* prefix = std::getenv("WINEPREFIX");
    if (!prefix)
        GTEST_SKIP() << "no Wine prefix to make a share in";
    const std::string server = "tilgomat" + std::to_string(::GetCurrentProcessId());
    const auto unc = std::filesystem::path(std::string("Z:") + prefix) / "dosdevices/unc" / server;
    std::filesystem::create_directories(unc / "daten/Dokumente");
    testsupport::TempDir c;
    const std::string documents = "\\\\" + server + "\\daten\\Dokumente";
    auto fs = platform::createPlatformOver({{'c', c.str(), ""}}, c.str(), documents);
    EXPECT_EQ(fs->documentsFolder(), documents);

    core::OperationLog log(*fs);
    log.sLogItem = "c:\\a";
    log.sLogNote = "1/1";
    EXPECT_FALSE(log.WriteLogLine());
    EXPECT_TRUE(std::filesystem::exists(unc / "daten/Dokumente/Tilgomat.txt"));
    EXPECT_EQ(testsupport::valueOf(fs->canonicalPath(documents + "\\..\\dokumente\\TILGOMAT.txt")),
              documents + "\\Tilgomat.txt");

    // A search there lists the log as a file to act on, which a pass reaches exactly.
    const core::SearchResult found = core::search(*fs, {documents, "*.txt"});
    ASSERT_EQ(found.files, 1);
    ASSERT_TRUE(core::isFileEntry(found.entries[0]));
    auto listed =
        fs->reachListed(core::actionPath(found.entries, 0), core::listedTrail(found.entries, 0));
    ASSERT_TRUE(listed);
    EXPECT_FALSE((*listed)->remove());
    EXPECT_FALSE(std::filesystem::exists(unc / "daten/Dokumente/Tilgomat.txt"));
    listed->reset();
    std::filesystem::remove_all(unc);
}

} // namespace
