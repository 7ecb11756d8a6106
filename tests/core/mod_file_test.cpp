#include "core/modFile.h"
#include "core/modSpecialFolder.h"

#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace {

TEST(ModFileTest, FileExists) {
    testsupport::TempDir root;
    root.file("leer.txt");
    root.file("Daten/voll.txt", "Inhalt");
    auto fs = platform::createPlatformOver({{'c', root.str(), {}}}, root.str());
    EXPECT_TRUE(modFile::FileExists(*fs, "c:\\leer.txt"));
    EXPECT_TRUE(modFile::FileExists(*fs, "c:\\daten\\VOLL.TXT"));
    EXPECT_FALSE(modFile::FileExists(*fs, "c:\\fehlt.txt"));
    EXPECT_FALSE(modFile::FileExists(*fs, "c:\\fehlt\\leer.txt"));
}

TEST(ModSpecialFolderTest, OnlyTheDocumentsFolderIsKnown) {
    testsupport::FakeHome home;
    auto fs = platform::createPlatformOver({{'c', testsupport::utf8(home.home()), {}}},
                                           testsupport::utf8(home.home()), home.documentsText());
    const std::string documents =
        modSpecialFolder::SpecialFolderPath(*fs, modSpecialFolder::CSIDL_PERSONAL);
    EXPECT_FALSE(documents.empty());
    EXPECT_EQ(documents, fs->documentsFolder());
    EXPECT_EQ(modSpecialFolder::SpecialFolderPath(*fs, 0), "");
    EXPECT_EQ(modSpecialFolder::SpecialFolderPath(*fs, 0x1A), "");
}

} // namespace
