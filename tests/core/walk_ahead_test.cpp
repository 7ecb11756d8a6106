// Folders listed ahead on worker threads change nothing the walk gives: on a balanced and on an
// irregular generated tree, with folders that vanish or cannot be read when their turn comes,
// the threaded walk yields exactly the entries, in exactly the order, with exactly what it saw of
// their files, of the walk that lists each folder itself; a stop request ends it at once; and
// while the walk stands, the workers list only so far ahead of it.

#include "support/entry_texts.h"
#include "support/faulty_platform.h"
#include "support/temp_tree.h"

#include "core/result_entry.h"
#include "core/search.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

// A tree of some 1,500 folders: random depth and width, files named so that some match.
void grow(testsupport::TempDir& root, const std::string& folder, int depth, std::mt19937& rng) {
    std::uniform_int_distribution<int> width(0, 4);
    std::uniform_int_distribution<int> wide(5, 9);
    const int files = width(rng);
    for (int i = 0; i < files; ++i)
        root.file(folder + "/f" + std::to_string(i) + (i % 3 ? ".txt" : ".dat"));
    if (depth == 5)
        return;
    const int folders = depth < 2 ? wide(rng) : width(rng);
    for (int i = 0; i < folders; ++i) {
        const std::string sub = folder + "/o" + std::to_string(i);
        root.folder(sub);
        grow(root, sub, depth + 1, rng);
    }
}

// A tree as a disk looks after years of use: every folder made below a random earlier one,
// so that some branches run many levels deep, and every file put in a random folder.
void growIrregular(testsupport::TempDir& root, std::mt19937& rng) {
    std::vector<std::string> folders = {"Baum"};
    for (int i = 0; i < 600; ++i) {
        const std::string above =
            folders[std::uniform_int_distribution<std::size_t>(0, folders.size() - 1)(rng)];
        folders.push_back(above + "/o" + std::to_string(i));
        root.folder(folders.back());
    }
    for (int i = 0; i < 1500; ++i)
        root.file(folders[std::uniform_int_distribution<std::size_t>(0, folders.size() - 1)(rng)] +
                  "/f" + std::to_string(i) + (i % 3 ? ".txt" : ".dat"));
}

TEST(WalkAhead, GivesExactlyTheOneThreadWalksEntries) {
    for (const bool irregular : {false, true}) {
        SCOPED_TRACE(irregular ? "irregular tree" : "balanced tree");
        testsupport::TempDir data;
        std::mt19937 rng(4711);
        if (irregular)
            growIrregular(data, rng);
        else
            grow(data, "Baum", 0, rng);
        // Folders that are gone, or that cannot be read, when the walk comes to them.
        data.file("Baum/o1/weg/f.txt");
        data.file("Baum/o2/o0/zu/f.txt");
        data.file("Baum/o0/zu/tief/f.txt");
        testsupport::FaultyPlatform fs(
            platform::createPlatformOver({{'d', data.str(), {}}}, data.str()));
        fs.failingListings = {{"weg", std::make_error_code(std::errc::no_such_file_or_directory)},
                              {"zu", std::make_error_code(std::errc::permission_denied)}};
        fs.listAhead = true;

        for (const char* pattern : {"*.*", "*.txt"}) {
            for (const bool subfolders : {true, false}) {
                SCOPED_TRACE(std::string(pattern) + (subfolders ? ", subfolders" : ""));
                const core::SearchQuery query{"D:\\Baum", pattern, subfolders};
                const core::SearchResult alone = core::search(fs, query);
                // Threads from the first folder on, and threads that start after a few folders
                // (every listing takes longer than a microsecond).
                for (const auto slow :
                     {std::chrono::microseconds(0), std::chrono::microseconds(1)}) {
                    for (const unsigned threads : {1u, 4u, 16u}) {
                        SCOPED_TRACE(std::to_string(threads) + " threads after " +
                                     std::to_string(slow.count()) + " us");
                        const core::SearchResult ahead =
                            core::search(fs, query, {}, {threads, {}, slow});
                        EXPECT_EQ(testsupport::entryTexts(ahead.entries),
                                  testsupport::entryTexts(alone.entries));
                        EXPECT_EQ(ahead.files, alone.files);
                        EXPECT_EQ(ahead.folders, alone.folders);
                        // And what the walk saw of every file.
                        for (std::size_t i = 0; i < alone.entries.size() && !HasFailure(); ++i) {
                            const auto a = core::listedTrail(ahead.entries, i),
                                       b = core::listedTrail(alone.entries, i);
                            EXPECT_TRUE(a.folders == b.folders && a.file == b.file) << i;
                        }
                    }
                }
                EXPECT_GT(subfolders ? alone.files : alone.folders, subfolders ? 400 : 4);
            }
        }
    }
}

TEST(WalkAhead, AStopRequestEndsTheWalkAtOnce) {
    testsupport::TempDir data;
    std::mt19937 rng(815);
    grow(data, "Baum", 0, rng);
    testsupport::FaultyPlatform fs(
        platform::createPlatformOver({{'d', data.str(), {}}}, data.str()));
    fs.listAhead = true;
    std::atomic<int> listings = 0;
    fs.beforeCall = [&listings](testsupport::Op op, std::string_view) {
        listings += op == testsupport::Op::ListFolder;
    };
    const std::size_t all = core::search(fs, {"D:\\Baum", "*.*", true}).entries.size();
    const int folders = listings.exchange(0);
    int rounds = 0;
    // While the walk stands in its second folder, the workers list ahead of it until they go
    // quiet, but never the whole tree.
    const auto round = [&] {
        if (++rounds != 2)
            return;
        for (int quiet = 0, last = -1; listings < folders && quiet < 20; last = listings) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            quiet = listings == last ? quiet + 1 : 0;
        }
    };
    const auto stopAfterTen = [&rounds] { return rounds >= 10; };
    const core::SearchResult stopped = core::search(
        fs, {"D:\\Baum", "*.*", true}, round, {4, stopAfterTen, std::chrono::microseconds(0)});
    EXPECT_EQ(rounds, 10);
    EXPECT_LT(stopped.entries.size(), all);
    EXPECT_LT(listings, folders);
}

TEST(WalkAhead, EventsFlowAndAStopIsHeardWhileAFolderTakesLong) {
    testsupport::TempDir data;
    data.file("Baum/langsam/f.txt");
    data.file("Baum/schnell/g.txt");
    testsupport::FaultyPlatform fs(
        platform::createPlatformOver({{'d', data.str(), {}}}, data.str()));
    fs.listAhead = true;
    // The folder takes 300 ms to list, as on a sleeping disk or a slow share.
    fs.beforeCall = [](testsupport::Op op, std::string_view path) {
        if (op == testsupport::Op::ListFolder && path.ends_with("langsam"))
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
    };
    std::atomic<int> rounds = 0;
    const core::SearchResult found =
        core::search(fs, {"D:\\Baum", "*.*", true}, [&rounds] { ++rounds; },
                     {4, {}, std::chrono::microseconds(0)});
    EXPECT_EQ(found.files, 2);
    // One round per folder, and while the slow one is listed, one every 10 ms.
    EXPECT_GE(rounds, 8);

    // A stop asked for while the walk waits ends the wait: Halt is round one, langsam two, the
    // first round of waiting three.
    data.file("Halt/langsam/h.txt");
    rounds = 0;
    core::search(fs, {"D:\\Halt", "*.*", true}, [&rounds] { ++rounds; },
                 {4, [&rounds] { return rounds >= 3; }, std::chrono::microseconds(0)});
    EXPECT_LE(rounds, 4);
}

TEST(WalkAhead, FoldersTheWalkComesBackToAreListedWhileADeepOneTakesLong) {
    // Two chains of nine folders: the walk lists the start folder and the first chain's top
    // seven on its own, then the workers start. The other chain's top folder waits on the
    // descent; it must be listed ahead while the deep folder that comes next takes long.
    testsupport::TempDir data;
    for (const char* chain : {"A", "B"}) {
        std::string folder = std::string("Baum/") + chain;
        for (int level = 1; level < 9; ++level)
            folder +=
                "/" + std::string(1, static_cast<char>(chain[0] + 32)) + std::to_string(level);
        data.file(folder + "/f.txt");
    }
    testsupport::FaultyPlatform fs(
        platform::createPlatformOver({{'d', data.str(), {}}}, data.str()));
    fs.listAhead = true;
    std::mutex mutex;
    std::condition_variable listed;
    std::set<std::string, std::less<>> started;
    bool waitedInVain = false;
    fs.beforeCall = [&](testsupport::Op op, std::string_view path) {
        if (op != testsupport::Op::ListFolder)
            return;
        const std::string name(path.substr(path.find_last_of('/') + 1));
        std::unique_lock lock(mutex);
        started.insert(name);
        listed.notify_all();
        // The deep folder of one chain takes as long as the other chain's top is not listed.
        if (name == "a7" || name == "b7") {
            const std::string other = name == "a7" ? "B" : "A";
            if (!listed.wait_for(lock, std::chrono::seconds(10),
                                 [&] { return started.count(other) > 0; }))
                waitedInVain = true;
        }
    };
    const core::SearchResult found =
        core::search(fs, {"D:\\Baum", "*.*", true}, {}, {2, {}, std::chrono::microseconds(1)});
    EXPECT_EQ(found.files, 2);
    EXPECT_FALSE(waitedInVain);
}

} // namespace
