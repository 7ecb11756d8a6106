// The search walk against find and fdfind on the same tree, warm cache.
//
//   bench_walk DIR [ROUNDS]
//
// DIR is a tree made by bench/make_tree.sh, with an all-lower-case path. The walk searches it
// for "*.doc" with subfolders on, as the window would: drive c: is "/", and the start folder is
// DIR as path text, lower-cased. find and fdfind run as child processes writing to /dev/null.

#include "measure.h"

#include "core/search.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using bench::Clock;
using bench::Command;
using bench::secondsSince;

// The number of lines a command prints, or -1 when it failed.
long countLines(const Command& command) {
    std::FILE* out = std::tmpfile();
    if (!out)
        return -1;
    long lines = -1;
    if (bench::runChild(command, fileno(out)).ok) {
        std::rewind(out);
        lines = 0;
        for (int c; (c = std::fgetc(out)) != EOF;)
            lines += c == '\n';
    }
    std::fclose(out);
    return lines;
}

struct WalkResult {
    double seconds = 0;
    std::int32_t hits = 0;
};

WalkResult timeWalk(platform::Platform& fs, const std::string& folder,
                    const std::string& patternText) {
    const auto start = Clock::now();
    const core::SearchResult found = core::search(fs, {folder, patternText, true});
    return {secondsSince(start), static_cast<std::int32_t>(found.files)};
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIR [ROUNDS]\n", argv[0]);
        return 2;
    }
    const std::string dir = std::filesystem::canonical(argv[1]).string();
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;

    auto fs = platform::createPlatformOver({{'c', "/", {}}}, "/");
    std::string folder = "c:" + dir;
    std::replace(folder.begin(), folder.end(), '/', '\\');

    const Command find = {"find", dir, "-type", "f", "-iname", "*doc"};
    const Command fdfind = {"fdfind", "-u", "-t", "f", "-i", "doc$", dir};

    // First round warms the cache and gives the hit counts.
    const std::int32_t walkHits = timeWalk(*fs, folder, "*.doc").hits;
    const long findHits = countLines(find);
    const long fdHits = countLines(fdfind);

    std::vector<double> walkTimes, findTimes, fdTimes;
    double load = 0;
    for (int r = 0; r < rounds; ++r) {
        load += bench::loadAverage();
        walkTimes.push_back(timeWalk(*fs, folder, "*.doc").seconds);
        findTimes.push_back(bench::timeCommand(find));
        fdTimes.push_back(bench::timeCommand(fdfind));
    }
    const double walk = bench::median(walkTimes), findTime = bench::median(findTimes),
                 fd = bench::median(fdTimes);

    std::fprintf(stderr,
                 "walk of %s: hits walk %d, find %ld, fdfind %ld%s; median of %d rounds: walk "
                 "%.1f ms, find %.1f ms, fdfind %.1f ms (load %.1f)\n",
                 folder.c_str(), walkHits, findHits, fdHits,
                 walkHits == findHits && findHits == fdHits ? "" : " (DIFFERENT)", rounds,
                 walk * 1000, findTime * 1000, fd * 1000, load / rounds);
    if (walkHits != findHits)
        return 1;
    const std::string what = "the walk, *.doc, subfolders, " + std::to_string(walkHits) + " hits";
    bench::printRow(what, bench::milliseconds(walk),
                    "find -iname '*doc' " + bench::milliseconds(findTime), walk / findTime,
                    "<= 0.6x", walk / findTime <= 0.6);
    bench::printRow(what, bench::milliseconds(walk), "fdfind " + bench::milliseconds(fd), walk / fd,
                    "<= 1.0x", walk / fd <= 1.0);
    return 0;
}
