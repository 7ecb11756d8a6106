#include "core/entry_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Entries of every size land in chunks of a megabyte; each reads back exactly, also those
// around a chunk's end, one larger than a chunk, and the empty one, in the list and in copies.
TEST(EntryList, EveryEntryReadsBackAcrossChunks) {
    core::EntryList list;
    std::vector<std::string> expected;
    std::size_t bytes = 0;
    for (int i = 0; i < 40000; ++i) {
        std::string entry = "    c:\\daten\\" + std::string(static_cast<std::size_t>(i % 97), 'x') +
                            "\\Datei_" + std::to_string(i) + ".txt";
        if (i == 20000)
            entry = std::string((std::size_t(1) << 20) + 5, 'g');
        if (i == 20001)
            entry.clear();
        if (i % 3 == 0)
            list.append(entry);
        else
            list.append(entry.substr(0, 4), entry.substr(4, 7), entry.substr(11));
        bytes += entry.size();
        expected.push_back(std::move(entry));
    }
    ASSERT_EQ(list.size(), expected.size());
    EXPECT_EQ(list.textBytes(), bytes);
    const core::EntryList copy = list;
    core::EntryList grown = copy;
    grown.append("    c:\\neu.txt");
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_EQ(list[i], expected[i]) << i;
        ASSERT_EQ(copy[i], expected[i]) << i;
        ASSERT_EQ(grown[i], expected[i]) << i;
    }
    EXPECT_EQ(grown[expected.size()], "    c:\\neu.txt");

    list.clear();
    EXPECT_TRUE(list.empty());
    list.reserve(2, 10);
    list.append("eins");
    list.append("zwei");
    EXPECT_EQ(list[0], "eins");
    EXPECT_EQ(list[1], "zwei");
    EXPECT_EQ(list.textBytes(), 8u);
}

} // namespace
