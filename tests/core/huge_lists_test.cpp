// Lists longer than 32,767 and than 1,000,000 entries, without a million files on disk: one
// folder of the double lists 1,100,000 synthetic names. Counts, positions, notes and prefixes
// stay right past every 16-bit and six-digit boundary.

#include "fault_scenario.h"

#include "core/bulk_operations.h"
#include "core/entry_list.h"

namespace {

constexpr std::size_t kFiles = 1'100'000;
constexpr std::size_t kFolders = 40'000;

TEST(HugeLists, TargetNamesKeepEveryDigit) {
    EXPECT_EQ(core::TargetName("D:\\Ziel", 0, "a.txt", true), "D:\\Ziel\\000_a.txt");
    EXPECT_EQ(core::TargetName("D:\\Ziel", 999, "a.txt", true), "D:\\Ziel\\999_a.txt");
    EXPECT_EQ(core::TargetName("D:\\Ziel", 32767, "a.txt", true), "D:\\Ziel\\32767_a.txt");
    EXPECT_EQ(core::TargetName("D:\\Ziel", 32768, "a.txt", true), "D:\\Ziel\\32768_a.txt");
    EXPECT_EQ(core::TargetName("D:\\Ziel", 65536, "a.txt", true), "D:\\Ziel\\65536_a.txt");
    EXPECT_EQ(core::TargetName("D:\\Ziel", 999999, "a.txt", true), "D:\\Ziel\\999999_a.txt");
    EXPECT_EQ(core::TargetName("D:\\Ziel", 1000000, "a.txt", true), "D:\\Ziel\\1000000_a.txt");
    EXPECT_EQ(core::TargetName("D:\\", 2147483648u, "a.txt", true), "D:\\\\2147483648_a.txt");
}

TEST(HugeLists, AWalkOverMoreThanAMillionEntriesCountsEveryOne) {
    coretest::Scenario s;
    // D:\Quelle\Masse lists 1,100,000 files and 40,000 folders, folders interleaved.
    s.data.folder("Quelle/Masse");
    const auto masse = s.fs.resolveFolder("D:\\Quelle\\Masse");
    ASSERT_TRUE(masse);
    s.fs.syntheticListing = [&](const platform::HostFolder& folder, platform::Listing& out) {
        if (folder.path != masse->path)
            return false;
        out.clear();
        out.add(".", ".", true, platform::Directory);
        out.add("..", "..", true, platform::Directory);
        for (std::size_t i = 0; i < kFiles; ++i) {
            const std::string name = "f" + std::to_string(i) + ".txt";
            out.add(name, name, false, 0);
            if (i % (kFiles / kFolders) == 0 && i / (kFiles / kFolders) < kFolders) {
                const std::string folderName = "o" + std::to_string(i);
                out.add(folderName, folderName, true, platform::Directory);
            }
        }
        out.id = platform::FileId{1, 1};
        return true;
    };

    core::EntryList hits;
    std::int32_t nextFree = 0;
    const std::int32_t n =
        modFile::CollectFiles(s.fs, "d:\\quelle\\masse", "TXT", hits, false, nextFree);
    ASSERT_EQ(static_cast<std::size_t>(n), kFiles + kFolders);
    EXPECT_EQ(nextFree, n);
    ASSERT_EQ(hits.size(), kFiles + kFolders);
    std::size_t files = 0, folders = 0;
    for (std::size_t i = 0; i < hits.size(); ++i) {
        if (hits[i].substr(0, 2) == ">>")
            ++folders;
        else
            ++files;
    }
    EXPECT_EQ(files, kFiles);
    EXPECT_EQ(folders, kFolders);
    EXPECT_EQ(hits[0], "    d:\\quelle\\masse\\f0.txt");
    EXPECT_EQ(hits[1], ">>d:\\quelle\\masse\\o0");
    EXPECT_EQ(hits[hits.size() - 1], "    d:\\quelle\\masse\\f1099999.txt");
}

TEST(HugeLists, PassesOverMoreThanAMillionEntriesKeepNotesAndPrefixes) {
    coretest::Scenario s;
    // 1,140,000 folder entries, then the one file: its note and prefix carry all seven digits.
    core::EntryList list;
    list.reserve(kFiles + kFolders + 1, (kFiles + kFolders) * 24);
    for (std::size_t i = 0; i < kFiles + kFolders; ++i)
        list.append(">>d:\\quelle\\o" + std::to_string(i));
    list.append("    d:\\quelle\\a.txt");
    s.window.setEntries(std::move(list));
    core::copyOrMoveEntries(s.window, s.fs, s.log, "D:\\Ziel", false, true);
    EXPECT_EQ(testsupport::readBytes(s.data.path() / "Ziel/1140000_a.txt"), "erste Datei");
    EXPECT_TRUE(s.logBytes() ==
                coretest::Scenario::line("d:\\quelle\\a.txt", "1140001/1140001 -> copy"));
}

} // namespace
