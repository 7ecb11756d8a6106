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

} // namespace bench
