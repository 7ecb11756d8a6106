#include "platform/linux/fd_io.h"

#include "platform/linux/host_access.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform::linux_host {

namespace {

// Cuts the file back to `start` where it still ends with the `written` bytes put there.
std::error_code takeBack(int fd, off_t start, std::size_t written) {
    struct stat st {};
    if (written == 0 || start < 0)
        return {};
    if (::fstat(fd, &st) != 0)
        return lastError();
    if (st.st_size != start + static_cast<off_t>(written))
        return {};
    if (::ftruncate(fd, start) != 0)
        return lastError();
    return {};
}

} // namespace

std::error_code writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return {};
}

std::error_code appendAll(int fd, std::string_view bytes, WriteCall write) {
    off_t start = -1;
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const std::error_code error = lastError();
            const std::error_code cut = takeBack(fd, start, written);
            return cut ? cut : error;
        }
        // The first write lands at the file's end as it was then; the offset follows it. Only
        // a line that took more than one write can be left torn.
        if (written == 0 && static_cast<std::size_t>(n) < bytes.size())
            start = ::lseek(fd, 0, SEEK_CUR) - n;
        written += static_cast<std::size_t>(n);
    }
    return {};
}

Result<std::string> readAll(int fd) {
    std::string data;
    char buffer[65536];
    while (true) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        if (n == 0)
            return data;
        data.append(buffer, static_cast<std::size_t>(n));
    }
}

} // namespace platform::linux_host
