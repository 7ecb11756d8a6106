#pragma once

// POSIX helpers of the tests that hold on POSIX hosts only: an open file descriptor that closes
// itself (for trees built with the *at() calls), an entry's permission bits and last-write
// time, and a folder on a second file system.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <utility>

namespace testsupport {

class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    Fd(Fd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Fd& operator=(Fd&& other) noexcept {
        std::swap(m_fd, other.m_fd);
        return *this;
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }
    void reset(int fd) { *this = Fd(fd); }

private:
    int m_fd;
};

// The permission bits of an entry, a link not followed.
inline unsigned modeOf(const std::filesystem::path& p) {
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st.st_mode & 07777;
}

// The last-write time of an entry to the nanosecond, a link not followed.
inline struct timespec mtimeOf(const std::filesystem::path& p) {
    struct stat st {};
    ::lstat(p.c_str(), &st);
    return st.st_mtim;
}

// A folder of the test's own on another file system than `here` (in /dev/shm), removed with
// all it holds, write bits given back first. Where there is none, path() is empty and whyNot()
// says why.
class OtherFileSystemFolder {
public:
    explicit OtherFileSystemFolder(const std::filesystem::path& here) {
        struct stat a {
        }, b{};
        char pattern[] = "/dev/shm/tilgomat-test-XXXXXX";
        if (::stat("/dev/shm", &b) != 0 || ::stat(here.c_str(), &a) != 0)
            m_whyNot = "no /dev/shm to take a second file system";
        else if (a.st_dev == b.st_dev)
            m_whyNot = "the test folder and /dev/shm are one file system here";
        else if (!::mkdtemp(pattern))
            m_whyNot = "no folder of the test's own in /dev/shm";
        else
            m_path = pattern;
    }
    OtherFileSystemFolder(const OtherFileSystemFolder&) = delete;
    OtherFileSystemFolder& operator=(const OtherFileSystemFolder&) = delete;
    ~OtherFileSystemFolder() {
        if (m_path.empty())
            return;
        std::error_code ignored;
        for (const auto& e : std::filesystem::recursive_directory_iterator(m_path, ignored))
            std::filesystem::permissions(e.path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& path() const { return m_path; }
    const std::string& whyNot() const { return m_whyNot; }

private:
    std::filesystem::path m_path;
    std::string m_whyNot;
};

} // namespace testsupport
