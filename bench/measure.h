#pragma once

// What every benchmark program shares: a clock, medians, child processes for the reference
// tools, and the one line per table row that bench/run.sh gathers.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace bench {

using Clock = std::chrono::steady_clock;
using Command = std::vector<std::string>;

inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

inline double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct ChildResult {
    bool ok = false;
    double seconds = 0;
    long maxRssKiB = 0; // peak resident set of the child
};

// Runs a command with its output going to `outputFd` (-1: /dev/null) and waits for it.
inline ChildResult runChild(const Command& command, int outputFd = -1) {
    const int devNull = open("/dev/null", O_WRONLY | O_CLOEXEC);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outputFd >= 0 ? outputFd : devNull, STDOUT_FILENO);
    std::vector<char*> argv;
    for (const auto& arg : command)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ChildResult result;
    pid_t pid = 0;
    const auto start = Clock::now();
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned == 0) {
        int status = 0;
        struct rusage usage {};
        const bool waited = wait4(pid, &status, 0, &usage) == pid;
        result.seconds = secondsSince(start);
        result.ok = waited && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        result.maxRssKiB = usage.ru_maxrss;
    }
    close(devNull);
    return result;
}

// Seconds for one run of a command with output to /dev/null; exits when it fails.
inline double timeCommand(const Command& command) {
    const ChildResult r = runChild(command);
    if (!r.ok) {
        std::fprintf(stderr, "failed: %s\n", command.front().c_str());
        std::exit(1);
    }
    return r.seconds;
}

// Runs a command that prepares data (untimed); exits when it fails.
inline void prepare(const Command& command) {
    if (!runChild(command).ok) {
        std::fprintf(stderr, "preparing failed: %s\n", command.front().c_str());
        std::exit(1);
    }
}

// The machine's one-minute load average, printed beside each figure: the machine is shared.
inline double loadAverage() {
    double load = -1;
    std::ifstream in("/proc/loadavg");
    in >> load;
    return load;
}

// One row of the table: what was measured, our figure and the reference's, the ratio, the goal
// and whether it is met. Tab-separated on standard output, for bench/run.sh.
inline void printRow(const std::string& path, const std::string& figure,
                     const std::string& reference, double ratio, const std::string& goal,
                     bool met) {
    std::printf("ROW\t%s\t%s\t%s\t%.2f\t%s\t%s\n", path.c_str(), figure.c_str(), reference.c_str(),
                ratio, goal.c_str(), met ? "yes" : "NO");
    std::fflush(stdout);
}

inline std::string milliseconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f ms", seconds * 1000);
    return text;
}

// A home of the benchmark's own, so that the log goes to its documents folder and the real home
// is never touched: HOME and XDG_CONFIG_HOME point into `home`, whose user-dirs.dirs names the
// documents folder "Dokumente", as on a German desktop.
inline std::filesystem::path useBenchHome(const std::filesystem::path& home) {
    const std::filesystem::path documents = home / "Dokumente";
    std::filesystem::create_directories(documents);
    std::filesystem::create_directories(home / ".config");
    std::ofstream(home / ".config" / "user-dirs.dirs")
        << "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n";
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / ".config").c_str(), 1);
    return documents;
}

// Path text for a host folder on drive c:, which the benchmarks map to "/".
inline std::string pathText(const std::filesystem::path& hostFolder) {
    std::string text = "c:" + hostFolder.string();
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

// The requests a share mounted by bench/slow_share.py has answered since it was mounted, by kind
// and as "total"; empty where `mount` is no such share.
using Requests = std::map<std::string, long>;

inline Requests shareRequests(const std::filesystem::path& mount) {
    Requests counts;
    if (mount.empty())
        return counts;
    std::ifstream in(mount / ".slow-share-requests");
    std::string kind;
    for (long count = 0; in >> kind >> count;)
        counts[kind] = count;
    return counts;
}

// The requests of each kind made from `before` to `after`, less those in `less`.
inline Requests requestsMade(const Requests& before, const Requests& after,
                             const Requests& less = {}) {
    Requests made;
    for (const auto& [kind, count] : after) {
        const auto earlier = before.find(kind), excluded = less.find(kind);
        made[kind] = count - (earlier == before.end() ? 0 : earlier->second) -
                     (excluded == less.end() ? 0 : excluded->second);
    }
    return made;
}

inline void addRequests(Requests& to, const Requests& made) {
    for (const auto& [kind, count] : made)
        to[kind] += count;
}

inline double requestsPer(const Requests& made, double per) {
    const auto total = made.find("total");
    return total == made.end() ? 0 : total->second / per;
}

// The requests made of each kind divided by `per`: "getattr 3.00, open 1.00".
inline std::string requestsText(const Requests& made, double per) {
    std::string text;
    char part[64];
    for (const auto& [kind, count] : made) {
        if (count == 0 || kind == "total")
            continue;
        std::snprintf(part, sizeof part, "%s%s %.2f", text.empty() ? "" : ", ", kind.c_str(),
                      count / per);
        text += part;
    }
    return text;
}

} // namespace bench
