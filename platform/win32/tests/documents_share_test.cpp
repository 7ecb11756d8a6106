#include "core/operation_log.h"
#include "core/result_entry.h"
#include "core/search.h"
#include "support/temp_tree.h"

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

// A documents folder on a share that no letter maps: Wine reaches "\\server\share" as the
// folder dosdevices\unc\server\share of its prefix, where the test makes one of its own.
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
    EXPECT_FALSE(log.writeLine());
    // A search there lists the log as a file to act on, which a pass reaches exactly.
    const core::SearchResult found = core::search(*fs, {documents + "\\..\\dokumente", "*.txt"});
    ASSERT_TRUE(found.files == 1 && core::isFileEntry(found.entries, 0));
    {
        // Removed, and its folders let go of with the pass, before the share goes.
        const auto pass = fs->beginPass({});
        auto listed = pass->reachListed(core::actionPath(found.entries, 0),
                                        core::listedTrail(found.entries, 0));
        ASSERT_TRUE(listed);
        EXPECT_FALSE((*listed)->remove());
    }
    std::filesystem::remove_all(unc);
}

} // namespace
