#include "platform/posix/fd_io.h"

#include "platform/posix/host_access.h"

#include <unistd.h>

#include <cerrno>

namespace platform::posix {

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

} // namespace platform::posix
