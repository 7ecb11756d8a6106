#pragma once

// A small tree on drive C: and the walk over it, with the entries it must give built from the
// backend's own listings.

#include "core/pattern.h"
#include "core/search.h"
#include "core/walk.h"
#include "support/entry_texts.h"

#include "support/temp_tree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace coretest {

using Entries = std::vector<std::string>;

// The entries a walk must give, built from the backend's own listings of each folder by path
// text, so that the expected order is the listing order the backend delivers.
inline void expectedWalk(platform::Platform& fs, const std::string& folder,
                         const core::TailMatcher& matcher, bool subfolders, Entries& out) {
    platform::Listing listing;
    ASSERT_FALSE(fs.listFolder(std::string_view(folder), platform::ListDetail::Kind, listing))
        << folder;
    for (const auto& entry : listing.entries()) {
        const std::string name(listing.name(entry));
        if (!entry.folder) {
            if (matcher.matches(name))
                out.push_back("    " + folder + name);
        } else if (name != "." && name != "..") {
            if (subfolders)
                expectedWalk(fs, folder + name + "\\", matcher, true, out);
            else
                out.push_back(">>" + folder + name);
        }
    }
}

class WalkTest : public ::testing::Test {
protected:
    WalkTest() {
        m_root.file("Datei.txt", "x");
        m_root.file("Daten/Brief.txt", "x");
        m_root.file("Daten/Notiz.TXT", "x");
        m_root.file("Daten/Bild.jpg", "x");
        m_root.file("Daten/.versteckt.txt", "x");
        m_root.file("Daten/Archiv/Alt.TXT", "x");
        m_root.file("Daten/Archiv/Neu.doc", "x");
        m_root.folder("Daten/Leer");
        m_root.file("Daten/Zweig/Tief/Blatt.txt", "x");
        m_root.file("Daten/Zweig/Mitte.txt", "x");
        m_fs = platform::createPlatformOver({{'c', m_root.str(), {}}}, m_root.str());
    }

    Entries walk(const std::string& folder, const std::string& patternText, bool subfolders) {
        const core::SearchResult found =
            core::search(*m_fs, {folder, patternText, subfolders}, [this] { ++m_eventRounds; });
        Entries out = testsupport::entryTexts(found.entries);
        const auto folders = static_cast<std::int64_t>(std::count_if(
            out.begin(), out.end(), [](const std::string& e) { return e.starts_with(">>"); }));
        EXPECT_EQ(found.folders, folders);
        EXPECT_EQ(found.files + found.folders, static_cast<std::int64_t>(out.size()));
        return out;
    }

    Entries expected(const std::string& folder, std::string_view patternText, bool subfolders) {
        Entries out;
        expectedWalk(*m_fs, folder,
                     core::TailMatcher(*m_fs, core::reducePattern(*m_fs, patternText)), subfolders,
                     out);
        return out;
    }

    static Entries sorted(Entries e) {
        std::sort(e.begin(), e.end());
        return e;
    }

    testsupport::TempDir m_root;
    std::unique_ptr<platform::Platform> m_fs;
    int m_eventRounds = 0;
};

} // namespace coretest
