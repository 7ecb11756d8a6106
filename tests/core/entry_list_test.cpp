#include "core/entry_list.h"
#include "core/result_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Names of every size land in chunks of a megabyte; each entry reads back exactly, also those
// around a chunk's end, one larger than a chunk, and the empty one, in the list and in copies,
// with the folders above it.
TEST(EntryList, EveryEntryReadsBackAcrossChunks) {
    core::EntryList list;
    list.start.listed = "c:\\daten\\";
    const std::uint32_t top = list.addFolder({}, "");
    const std::uint32_t sub = list.addFolder({{}, top}, "Sub");
    std::vector<std::string> expected;
    for (int i = 0; i < 40000; ++i) {
        std::string name =
            std::string(static_cast<std::size_t>(i % 97), 'x') + "_" + std::to_string(i) + ".txt";
        if (i == 20000)
            name = std::string((std::size_t(1) << 20) + 5, 'g');
        if (i == 20001)
            name.clear();
        const bool below = i % 3 == 0;
        list.add({0, below ? sub : top}, name);
        expected.push_back("    c:\\daten\\" + std::string(below ? "Sub\\" : "") + name);
    }
    ASSERT_EQ(list.size(), expected.size());
    const core::EntryList copy = list;
    core::EntryList grown = copy;
    grown.add({0, top}, "neu.txt");
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(core::entryText(list, i), expected[i]) << i;
        ASSERT_EQ(core::entryText(copy, i), expected[i]) << i;
        ASSERT_EQ(core::entryText(grown, i), expected[i]) << i;
    }
    EXPECT_EQ(core::entryText(grown, expected.size()), "    c:\\daten\\neu.txt");

    list.clear();
    EXPECT_TRUE(list.empty());
    list.reserve(2, 10);
    const std::uint32_t folder = list.addFolder({}, "");
    list.add({0, folder, core::EntryKind::subfolder}, "eins");
    EXPECT_EQ(core::entryText(list, 0), ">>eins");
}

} // namespace
