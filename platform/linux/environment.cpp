#include "platform/linux/environment.h"

#include "platform/linux/host_access.h"

#include <pwd.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

extern char** environ;

namespace platform::linux_host {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

bool isFolder(const std::string& path) {
    struct stat st {};
    return !path.empty() && statHost(path, st, true) == std::error_code() && S_ISDIR(st.st_mode);
}

std::string homeFolder() {
    std::string home = environment("HOME");
    if (!home.empty())
        return home;
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    struct passwd entry {};
    struct passwd* result = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result &&
        result->pw_dir)
        return result->pw_dir;
    return {};
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The value after "=" of a user-dirs.dirs line: a double-quoted text with backslash escapes,
// or the rest of the line.
std::string lineValue(std::string_view value) {
    if (value.empty() || value.front() != '"')
        return std::string(value);
    std::string result;
    for (std::size_t i = 1; i < value.size() && value[i] != '"'; ++i) {
        if (value[i] == '\\' && i + 1 < value.size())
            ++i;
        result.push_back(value[i]);
    }
    return result;
}

} // namespace

std::string parseDocumentsDir(std::string_view userDirs, std::string_view home) {
    constexpr std::string_view key = "XDG_DOCUMENTS_DIR=";
    std::string found;
    std::size_t pos = 0;
    while (pos < userDirs.size()) {
        std::size_t end = userDirs.find('\n', pos);
        if (end == std::string_view::npos)
            end = userDirs.size();
        std::string_view line = userDirs.substr(pos, end - pos);
        pos = end + 1;
        std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string_view::npos)
            continue;
        line.remove_prefix(start);
        if (line.substr(0, key.size()) != key)
            continue;
        std::string value = lineValue(line.substr(key.size()));
        for (std::string_view variable : {"${HOME}", "$HOME"}) {
            if (value.compare(0, variable.size(), variable) == 0 &&
                (value.size() == variable.size() || value[variable.size()] == '/')) {
                value = std::string(home) + value.substr(variable.size());
                break;
            }
        }
        // The last assignment counts, as when the file is read by a shell.
        found = !value.empty() && value.front() == '/' ? value : std::string();
    }
    return found;
}

std::string UserDirsReader::documentsDir(const std::string& file, const std::string& home) {
    struct stat st {};
    if (statHost(file, st, true)) {
        m_seen.reset();
        return {};
    }
    const auto same = [](const struct timespec& a, const struct timespec& b) {
        return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
    };
    if (m_seen && m_seen->file == file && m_seen->home == home && m_seen->device == st.st_dev &&
        m_seen->inode == st.st_ino && m_seen->size == st.st_size &&
        same(m_seen->modified, st.st_mtim) && same(m_seen->changed, st.st_ctim))
        return m_seen->documents;
    // Stated before reading: a change while reading makes the next call read again.
    m_seen = Seen{file,       home,       st.st_dev,  st.st_ino,
                  st.st_size, st.st_mtim, st.st_ctim, parseDocumentsDir(readText(file), home)};
    return m_seen->documents;
}

std::string documentsHostFolder(UserDirsReader& userDirs) {
    std::string home = homeFolder();
    std::string config = environment("XDG_CONFIG_HOME");
    if (config.empty() || config.front() != '/')
        config = home.empty() ? std::string() : joinHost(home, ".config");
    if (!config.empty()) {
        std::string documents = userDirs.documentsDir(joinHost(config, "user-dirs.dirs"), home);
        if (isFolder(documents))
            return documents;
    }
    return isFolder(home) ? home : std::string();
}

std::string executableBaseName() {
    std::string path(4096, '\0');
    ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0)
        return {};
    path.resize(static_cast<std::size_t>(n));
    constexpr std::string_view deleted = " (deleted)";
    if (path.size() > deleted.size() &&
        path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0)
        path.resize(path.size() - deleted.size());
    std::string name = path.substr(path.rfind('/') + 1);
    std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name;
}

std::error_code spawnDetached(const std::string& program) {
    std::vector<char> arg0(program.begin(), program.end());
    arg0.push_back('\0');
    char* argv[] = {arg0.data(), nullptr};
    pid_t pid = 0;
    int error = ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ);
    if (error != 0)
        return std::error_code(error, std::generic_category());
    std::thread([pid] {
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return {};
}

std::string desktopSystemInformationProgram() {
    const char* searchPath = std::getenv("PATH");
    if (!searchPath)
        return {};
    const std::string_view folders(searchPath);
    for (const char* tool : {"hardinfo2", "hardinfo", "kinfocenter"}) {
        for (std::size_t begin = 0; begin <= folders.size();) {
            const std::size_t end = std::min(folders.find(':', begin), folders.size());
            const std::string folder(folders.substr(begin, end - begin));
            begin = end + 1;
            if (folder.empty())
                continue;
            const std::string candidate = folder + "/" + tool;
            struct stat st {};
            if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                (st.st_mode & (S_IXUSR | S_IXGRP | S_IXOTH)))
                return candidate;
        }
    }
    return {};
}

mode_t currentUmask() {
    std::string status = readText("/proc/self/status");
    constexpr std::string_view key = "\nUmask:";
    std::size_t pos = status.find(key);
    if (pos != std::string::npos)
        return static_cast<mode_t>(std::strtoul(status.c_str() + pos + key.size(), nullptr, 8));
    mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

} // namespace platform::linux_host
