// File names that try to break a line, a path or a shell: listed, logged on one line each,
// deleted, copied and moved as themselves, next to look-alike files that must stay untouched.

#include "bulk_fixture.h"
#include "fault_scenario.h"

#include <fstream>

namespace {

using coretest::Pass;

// Host names (bytes) of the hostile files.
const std::vector<std::string>& hostileNames() {
    static const std::vector<std::string> names = {
        "zeile\rumbruch.txt",
        "zeile\numbruch.txt",
        "tab\tulator.txt",
        "an\"f\"uehrung.txt",
        "semi;kolon.txt",
        "01.01.2024 00:00:00;\"c:\\x\";1 ->error delete",
        " vorne.txt",
        "hinten.txt ",
        ".punkt.txt",
        "back\\slash.txt",
        "dopp:el.txt",
        "stern*.txt",
        "frage?.txt",
        "a|b<c>d.txt",
        "kaputt\xff\xfe\xc3.txt",
        "\xe4\xb8\xad\xe6\x96\x87.txt",
        "\xe2\x82\xac"
        "uro.txt",
        "$(touch getroffen).txt",
        "`touch getroffen`; rm -rf ..",
        std::string(251, 'n') + ".txt",
    };
    return names;
}

// Names a confused program would act on instead.
const std::vector<std::string>& lookAlikes() {
    static const std::vector<std::string> names = {
        "umbruch.txt", "zeile",  "vorne.txt", "hinten.txt", "punkt.txt",
        "slash.txt",   "el.txt", "stern.txt", "frage.txt",  "kaputt.txt",
    };
    return names;
}

std::string contentFor(std::size_t i) {
    return "Inhalt " + std::to_string(i);
}

struct HostileTree : coretest::Scenario {
    HostileTree() : Scenario("*") {
        std::filesystem::remove_all(data.path() / "Quelle");
        data.folder("Quelle");
        for (std::size_t i = 0; i < hostileNames().size(); ++i)
            std::ofstream(data.path() / "Quelle" / hostileNames()[i]) << contentFor(i);
        for (const auto& name : lookAlikes())
            data.file("Quelle/" + name, "unbeteiligt");
        // The pass acts on the hostile files only; the new search, which lists everything,
        // then finds the look-alikes, which were never listed and so are never reported.
        window.listMatchingFiles();
        core::EntryList picked;
        for (const std::string& entry : testsupport::entryTexts(window.resultList())) {
            bool lookAlike = false;
            for (const auto& other : lookAlikes())
                lookAlike = lookAlike || entry == "    d:\\quelle\\" + other;
            if (!lookAlike)
                testsupport::appendEntryText(picked, entry);
        }
        window.setEntries(picked);
        listed = picked;
        window.searches = 0;
    }
};

TEST(HostileNames, AreListedOnceEachAsThemselves) {
    HostileTree t;
    EXPECT_EQ(t.listed.size(), hostileNames().size());
    for (std::size_t i = 0; i < t.listed.size(); ++i) {
        const std::string entry = core::entryText(t.listed, i);
        EXPECT_TRUE(core::isFileEntry(t.listed, i)) << entry;
        // The path text holds no separator or control character of the host name.
        const std::string_view name = t.listed.name(i);
        EXPECT_EQ(name.find_first_of(std::string_view("\\:\r\n\t*?\"<>|", 11)),
                  std::string_view::npos)
            << entry;
        EXPECT_EQ(entry, "    d:\\quelle\\" + std::string(name));
    }
}

TEST(HostileNames, AreLoggedOneLineEachAndActedOnAsThemselves) {
    for (const auto& [pass, across] : coretest::passVariants()) {
        SCOPED_TRACE(coretest::variantName(pass, across));
        HostileTree t;
        t.fs.refuseMoves = across;
        t.run(pass);

        // Exactly one line per attempt: no CR or LF other than the line ends.
        const std::string log = t.logBytes();
        const std::size_t lines = hostileNames().size();
        std::size_t crlf = 0;
        for (std::size_t at = log.find("\r\n"); at != std::string::npos;
             at = log.find("\r\n", at + 2))
            ++crlf;
        EXPECT_EQ(crlf, lines);
        std::string stripped = log;
        std::erase(stripped, '\r');
        std::erase(stripped, '\n');
        EXPECT_EQ(stripped.size(), log.size() - 2 * lines);
        // Every line is one of the program's own: no name starts a line of its own. A last line
        // without CR LF ends the look (the count above reports it).
        for (std::size_t begin = 0; begin < log.size();) {
            EXPECT_TRUE(log.substr(begin).starts_with("17.05.2024 14:03:09;\"d:\\quelle\\"))
                << log.substr(begin, 80);
            const std::size_t end = log.find("\r\n", begin);
            begin = end == std::string::npos ? log.size() : end + 2;
        }
        EXPECT_NE(log.find("\"d:\\quelle\\zeile?umbruch.txt\";"), std::string::npos);
        EXPECT_NE(log.find("\"d:\\quelle\\back?slash.txt\";"), std::string::npos);
        EXPECT_NE(log.find("\"d:\\quelle\\??.txt\";"), std::string::npos);
        EXPECT_NE(log.find("\"d:\\quelle\\\x80uro.txt\";"), std::string::npos);
        EXPECT_EQ(t.window.warnings + t.window.copyWarnings, 0);

        // The look-alikes are untouched and are all that a delete or move leaves.
        std::set<std::string> expectedLeft(lookAlikes().begin(), lookAlikes().end());
        if (pass == Pass::Copy)
            expectedLeft.insert(hostileNames().begin(), hostileNames().end());
        EXPECT_EQ(testsupport::namesIn(t.data.path() / "Quelle"), expectedLeft);
        for (const auto& name : lookAlikes())
            EXPECT_EQ(testsupport::readBytes(t.source(name)), "unbeteiligt") << name;
        if (pass != Pass::Delete) {
            EXPECT_EQ(testsupport::namesIn(t.data.path() / "Ziel"),
                      std::set<std::string>(hostileNames().begin(), hostileNames().end()));
            for (std::size_t i = 0; i < hostileNames().size(); ++i)
                EXPECT_EQ(testsupport::readBytes(t.data.path() / "Ziel" / hostileNames()[i]),
                          contentFor(i));
        }
        EXPECT_FALSE(std::filesystem::exists("getroffen"));
        EXPECT_FALSE(std::filesystem::exists(t.data.path() / "getroffen"));
    }
}

TEST(HostileNames, ANameOfTheLongestLengthCannotTakeAPrefixAndStays) {
    HostileTree t;
    t.run(Pass::Move, "D:\\Ziel", true);
    const std::string longest = std::string(251, 'n') + ".txt";
    EXPECT_EQ(testsupport::readBytes(t.source(longest)), contentFor(hostileNames().size() - 1));
    std::size_t moved = 0;
    for (const auto& name : testsupport::namesIn(t.data.path() / "Ziel")) {
        EXPECT_LE(name.size(), 255u);
        ++moved;
    }
    EXPECT_EQ(moved, hostileNames().size() - 1);
    EXPECT_NE(t.logBytes().find("\"d:\\quelle\\" + longest + "\";"), std::string::npos);
    EXPECT_EQ(t.window.warnings, 1);
}

using DeletePass = coretest::BulkFixture;
using coretest::TestWindow;

// A trailing blank is part of a POSIX name (Windows drops it wherever a name is made).
TEST_F(DeletePass, NamesWithBlanksAreDeletedExactly) {
    data.file("Quelle/ name ", "blanks");
    data.file("Quelle/name", "plain");
    TestWindow window(fs, "D:\\Quelle", "NAME", false);
    window.setEntries({"    d:\\quelle\\ name "});

    core::deleteListedEntries(window, fs, log);

    EXPECT_FALSE(exists("Quelle/ name "));
    EXPECT_EQ(content("Quelle/name"), "plain");
    // "name" was not listed: the new search finds it, and nothing reports it.
    EXPECT_EQ(logBytes(), line("d:\\quelle\\ name ", "1/1"));
    EXPECT_EQ(window.warnings, 0);
}

} // namespace
