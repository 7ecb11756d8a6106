// The search walk against find and fdfind on the same tree, warm cache.
//
//   bench_walk DIR [ROUNDS]
//
// DIR is a tree made by bench/make_tree.sh, with an all-lower-case path. The walk searches it
// for "*.doc" with subfolders on, as the window would: drive c: is "/", and the start folder is
// DIR as path text, lower-cased. find and fdfind run as child processes writing to /dev/null.

#include "core/modFile.h"
#include "core/pattern.h"
#include "platform/posix_backend.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using Command = std::vector<std::string>;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Runs a command with its output going to `outputFd`; false when it cannot be started or fails.
bool run(const Command& command, int outputFd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
    std::vector<char*> argv;
    for (const auto& arg : command)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Seconds for one run with output to /dev/null, or a negative value when it failed.
double timeCommand(const Command& command) {
    const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
    const auto start = Clock::now();
    const bool ok = run(command, devNull);
    const double seconds = secondsSince(start);
    close(devNull);
    return ok ? seconds : -1.0;
}

// The number of lines a command prints, or -1 when it failed.
long countLines(const Command& command) {
    std::FILE* out = std::tmpfile();
    if (!out)
        return -1;
    long lines = -1;
    if (run(command, fileno(out))) {
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

WalkResult timeWalk(const platform::Platform& fs, const std::string& folder,
                    const std::string& patternText) {
    const auto start = Clock::now();
    core::EntryList hits;
    std::int32_t nextFree = 0;
    const bool subfolders = true;
    const std::int32_t n = modFile::CollectFiles(fs, folder, core::reducePattern(fs, patternText),
                                                 hits, subfolders, nextFree);
    return {secondsSince(start), n};
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIR [ROUNDS]\n", argv[0]);
        return 2;
    }
    const std::string dir = std::filesystem::canonical(argv[1]).string();
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;

    auto fs = platform::createPosixPlatform({{'c', "/", {}}}, "/");
    std::string folder = "c:" + dir;
    std::replace(folder.begin(), folder.end(), '/', '\\');
    folder = fs->toLower(folder);

    const Command find = {"find", dir, "-type", "f", "-iname", "*doc"};
    const Command fdfind = {"fdfind", "-u", "-t", "f", "-i", "doc$", dir};

    // First round warms the cache and gives the hit counts.
    const std::int32_t walkHits = timeWalk(*fs, folder, "*.doc").hits;
    const long findHits = countLines(find);
    const long fdHits = countLines(fdfind);

    std::vector<double> walkTimes, findTimes, fdTimes;
    for (int r = 0; r < rounds; ++r) {
        walkTimes.push_back(timeWalk(*fs, folder, "*.doc").seconds);
        findTimes.push_back(timeCommand(find));
        fdTimes.push_back(timeCommand(fdfind));
    }
    const double walk = median(walkTimes), findTime = median(findTimes), fd = median(fdTimes);

    std::printf("tree        %s (start folder %s)\n", dir.c_str(), folder.c_str());
    std::printf("hits        walk %d, find %ld, fdfind %ld%s\n", walkHits, findHits, fdHits,
                walkHits == findHits && findHits == fdHits ? "" : "  (DIFFERENT)");
    std::printf("median of %d rounds\n", rounds);
    std::printf("  walk      %8.1f ms\n", walk * 1000);
    std::printf("  find      %8.1f ms\n", findTime * 1000);
    std::printf("  fdfind    %8.1f ms\n", fd * 1000);
    std::printf("ratio       walk/find %.2f, walk/fdfind %.2f\n", walk / findTime, walk / fd);
    return walkHits == findHits ? 0 : 1;
}
