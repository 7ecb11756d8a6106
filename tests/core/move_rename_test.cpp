#include "bulk_fixture.h"

#include "core/bulk_operations.h"
#include "support/result_value.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

using coretest::BulkFixture;
using coretest::TestWindow;

using MoveByRename = BulkFixture;

// Files below a folder with their content and attributes, as text for comparing two trees.
std::map<std::string, std::string> treeOf(platform::Platform& fs, const std::filesystem::path& root,
                                          const std::string& rootText) {
    std::map<std::string, std::string> tree;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
        if (!e.is_regular_file())
            continue;
        std::string relative = testsupport::genericUtf8(std::filesystem::relative(e.path(), root));
        std::string text = rootText + "\\" + relative;
        std::replace(text.begin(), text.end(), '/', '\\');
        tree[relative] = testsupport::readBytes(e.path()) + " attributes " +
                         std::to_string(fs.getAttributes(text).valueOr(0xffffffffu));
    }
    return tree;
}

// Sources that a rename must not take, targets it must not replace, and two files of one name.
void makeScenario(testsupport::TempDir& data, platform::Platform& fs, const std::string& name) {
    const std::string d = "D:\\" + name;
    data.file(name + "/Quelle/a.txt", "a");
    data.file(name + "/Quelle/fest.txt", "f");
    ASSERT_FALSE(fs.setAttributes(d + "\\Quelle\\fest.txt", platform::ReadOnly));
    data.file(name + "/Quelle/b.txt", "b");
    data.file(name + "/Ziel/b.txt", "alt b");
    ASSERT_FALSE(fs.setAttributes(d + "\\Ziel\\b.txt", platform::ReadOnly | platform::Archive));
    data.file(name + "/Quelle/c.txt", "c");
    data.file(name + "/Ziel/c.txt", "alt c");
    ASSERT_FALSE(fs.setAttributes(d + "\\Ziel\\c.txt", platform::Hidden | platform::Archive));
    data.file(name + "/Quelle/x/d.txt", "x");
    data.file(name + "/Quelle/y/d.txt", "y");
    data.file(name + "/Quelle/.e.txt", "e");
    ASSERT_FALSE(fs.setAttributes(d + "\\Quelle\\.e.txt", platform::Hidden | platform::Archive));
}

// The same list moved once by the backend's rename and once by copy and delete (the fault
// injecting platform refusing every rename, as between two file systems) ends in the same
// files, attributes and reports.
TEST_F(MoveByRename, EndsExactlyAsCopyAndDelete) {
    makeScenario(data, *host, "rename");
    makeScenario(data, *host, "copy");
    const auto entries = [](const std::string& d) {
        return std::vector<std::string>{
            "    " + d + "\\quelle\\a.txt",    "    " + d + "\\quelle\\fest.txt",
            "    " + d + "\\quelle\\b.txt",    "    " + d + "\\quelle\\c.txt",
            "    " + d + "\\quelle\\x\\d.txt", "    " + d + "\\quelle\\y\\d.txt",
            "    " + d + "\\quelle\\.e.txt"};
    };
    const auto run = [&](platform::Platform& platform, const std::string& name, bool prefix) {
        const std::string d = "d:\\" + name;
        TestWindow window(platform, d + "\\Quelle", "*", true);
        core::EntryList list;
        for (const auto& entry : entries(d))
            testsupport::appendEntryText(list, entry);
        window.setEntries(list);
        core::copyOrMoveEntries(window, platform, log, "D:\\" + name + "\\Ziel", {}, true, prefix);
        return window.warnings;
    };

    EXPECT_EQ(run(*host, "rename", false), 1);
    fs.refuseMoves = true;
    EXPECT_EQ(run(fs, "copy", false), 1);
    EXPECT_FALSE(fs.moves.empty());
    EXPECT_FALSE(fs.copies.empty());
    EXPECT_FALSE(fs.deletes.empty());
    const auto renamed = treeOf(*host, data.path() / "rename", "D:\\rename");
    EXPECT_EQ(renamed, treeOf(*host, data.path() / "copy", "D:\\copy"));
    // Moved: a, x\d and .e. Left where they were: the read-only source (with its copy beside,
    // as the delete refused it), the sources of the targets that were not replaced, and the
    // second d.txt, which would have replaced the first.
    EXPECT_FALSE(renamed.contains("Quelle/a.txt"));
    EXPECT_TRUE(renamed.contains("Ziel/a.txt"));
    EXPECT_TRUE(renamed.contains("Quelle/fest.txt"));
    EXPECT_TRUE(renamed.contains("Ziel/fest.txt"));
    EXPECT_EQ(renamed.at("Ziel/b.txt").substr(0, 5), "alt b");
    EXPECT_EQ(renamed.at("Ziel/c.txt").substr(0, 5), "alt c");
    EXPECT_EQ(renamed.at("Ziel/d.txt").substr(0, 1), "x");
    EXPECT_TRUE(renamed.contains("Quelle/y/d.txt"));

    // With the prefix the hidden name loses its dot; the moved file stays hidden all the same.
    data.file("prefix/Quelle/.e.txt", "e");
    ASSERT_FALSE(
        host->setAttributes("D:\\prefix\\Quelle\\.e.txt", platform::Hidden | platform::Archive));
    data.folder("prefix/Ziel");
    EXPECT_EQ(run(*host, "prefix", true), 0);
    EXPECT_EQ(testsupport::valueOf(host->getAttributes("D:\\prefix\\Ziel\\006_.e.txt")),
              platform::Hidden | platform::Archive);
}

} // namespace
