#pragma once

// One run of a bulk pass over a small searched tree, built afresh for every fault a test tries,
// and the check that the run lost nothing: every source that is still there is whole, every
// target written is whole, no temporary file is left, every attempt has its log line and the
// failure pass names exactly the files that survived.

#include "bulk_fixture.h"
#include "pass_variants.h"

#include "core/bulk_operations.h"
#include "core/operation_log.h"
#include "core/result_entry.h"
#include "platform/platform.h"
#include "support/entry_texts.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace coretest {

class Scenario : public PassDrives {
public:
    // The files of D:\Quelle by name, with their contents; b.txt is large enough to take more
    // than one write.
    static const std::map<std::string, std::string>& sources() {
        static const std::map<std::string, std::string> files = {
            {"a.txt", "erste Datei"},
            {"b.txt", std::string(300000, 'b')},
            {"c.txt", "dritte Datei"},
            {"d.txt", ""},
        };
        return files;
    }

    // `pattern`: the reduced pattern of the searches (the list and the new search after the pass).
    explicit Scenario(std::string pattern = "TXT")
        : window(fs, "D:\\Quelle", std::move(pattern), false) {
        for (const auto& [name, bytes] : sources())
            data.file("Quelle/" + name, bytes);
        data.folder("Quelle/Archiv");
        data.folder("Ziel");
        window.listMatchingFiles();
        listed = window.resultList();
        window.searches = 0;
    }

    void run(Pass pass, const std::string& target = "D:\\Ziel", bool prefix = false) {
        if (pass == Pass::Delete)
            core::deleteListedEntries(window, fs, log);
        else
            core::copyOrMoveEntries(window, fs, log, target, {}, pass == Pass::Move, prefix);
    }

    std::filesystem::path source(const std::string& name) const {
        return data.path() / "Quelle" / name;
    }
    // The log a run must leave: one attempt line per listed file, then for a delete or a move
    // one error line per file entry of the final list; the line at `lostLine` (counted over all
    // lines written) could not be written.
    std::string expectedLog(Pass pass, std::optional<std::size_t> lostLine = {}) const {
        std::vector<std::string> lines;
        const char* suffix = pass == Pass::Copy ? " -> copy" : pass == Pass::Move ? " -> move" : "";
        for (std::size_t i = 0; i < listed.size(); ++i) {
            if (core::isFileEntry(listed, i))
                lines.push_back(line(core::listedPath(listed, i), note(i, listed.size()) + suffix));
        }
        if (pass != Pass::Copy) {
            const core::EntryList& left = window.resultList();
            for (std::size_t i = 0; i < left.size(); ++i) {
                if (core::isFileEntry(left, i))
                    lines.push_back(
                        line(core::listedPath(left, i), note(i, left.size()) + " ->error delete"));
            }
        }
        if (lostLine && *lostLine < lines.size())
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*lostLine));
        std::string text;
        for (const auto& l : lines)
            text += l;
        return text;
    }

    // Names of the source files still in place, each checked to be whole.
    std::set<std::string> wholeSurvivors() const {
        std::set<std::string> left;
        for (const auto& [name, bytes] : sources()) {
            if (!std::filesystem::exists(source(name)))
                continue;
            EXPECT_EQ(testsupport::readBytes(source(name)), bytes) << name << " was damaged";
            left.insert(name);
        }
        return left;
    }

    // The outcome checks shared by every fault. `targetFolder` is the host folder written to;
    // `kept` names targets that existed before and must keep their content.
    void checkOutcome(Pass pass, std::optional<std::size_t> lostLine = {},
                      const std::filesystem::path& targetFolder = {},
                      const std::map<std::string, std::string>& kept = {}) const {
        const std::filesystem::path folder =
            targetFolder.empty() ? data.path() / "Ziel" : targetFolder;
        const std::set<std::string> left = wholeSurvivors();
        bool allCopied = true;
        for (const auto& [name, bytes] : sources()) {
            const std::filesystem::path target = folder / name;
            const bool atTarget = std::filesystem::exists(target) && target != source(name);
            allCopied = allCopied && atTarget && !kept.contains(name);
            if (kept.contains(name)) {
                EXPECT_EQ(testsupport::readBytes(target), kept.at(name)) << name << " replaced";
            } else if (atTarget) {
                EXPECT_EQ(testsupport::readBytes(target), bytes) << name << " half-written";
            }
            if (pass == Pass::Copy) {
                EXPECT_TRUE(left.contains(name)) << name << " lost by a copy";
            } else if (pass == Pass::Move) {
                EXPECT_TRUE(left.contains(name) || (atTarget && !kept.contains(name)))
                    << name << " lost by a move";
            }
        }
        if (std::filesystem::exists(folder)) {
            for (const auto& e : std::filesystem::directory_iterator(folder)) {
                EXPECT_FALSE(testsupport::utf8(e.path().filename()).starts_with(".tilgomat-"))
                    << "temporary file left: " << e.path();
            }
        }
        EXPECT_EQ(window.copyWarnings, pass == Pass::Copy && !allCopied ? 1 : 0);
        if (pass != Pass::Copy) {
            EXPECT_EQ(testsupport::fileEntryNames(window.resultList()), left);
            EXPECT_EQ(window.warnings, left.empty() ? 0 : 1);
        }
        EXPECT_EQ(logBytes(), expectedLog(pass, lostLine));
    }

    TestWindow window;
    core::EntryList listed; // the list the pass acts on

private:
    static std::string note(std::size_t i, std::size_t n) {
        return std::to_string(i + 1) + "/" + std::to_string(n);
    }
};

// Runs `body` once for each pass variant, each on a fresh scenario that refuses moves where the
// variant moves across file systems.
template <class Body> void forEachPassVariant(Body body) {
    for (const auto& [pass, across] : passVariants()) {
        SCOPED_TRACE(variantName(pass, across));
        Scenario s;
        s.fs.refuseMoves = across;
        body(s, pass);
    }
}

} // namespace coretest
