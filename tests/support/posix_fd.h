#pragma once

// An open file descriptor that closes itself, for tests that build trees with the *at() calls
// (POSIX only).

#include <unistd.h>

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

} // namespace testsupport
