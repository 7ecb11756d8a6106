#pragma once

// POSIX helpers of the tests that hold on POSIX hosts only: an open file descriptor that closes
// itself (for trees built with the *at() calls) and an entry's permission bits.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
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

} // namespace testsupport
