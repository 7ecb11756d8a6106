#include "platform/linux/open_descent.h"

#include "platform/linux/host_access.h"

#include <fcntl.h>

#include <string_view>

namespace platform::linux_host {

namespace {

// The name of `path` inside `folder`, empty when `path` is not an entry of `folder`.
std::string_view entryName(std::string_view path, std::string_view folder) {
    const std::size_t prefix = folder == "/" ? 1 : folder.size() + 1;
    if (path.size() <= prefix || path.compare(0, folder.size(), folder) != 0 ||
        path[prefix - 1] != '/')
        return {};
    std::string_view name = path.substr(prefix);
    return name.find('/') == std::string_view::npos && name != "." && name != ".."
               ? name
               : std::string_view();
}

bool isInside(std::string_view path, std::string_view folder) {
    if (folder == "/")
        return path.size() > 1 && path.front() == '/';
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
           path[folder.size()] == '/';
}

} // namespace

Result<UniqueFd> OpenDescent::open(const std::string& path) {
    while (!m_kept.empty() && !isInside(path, m_kept.back().path))
        m_kept.pop_back();
    if (!m_kept.empty()) {
        const std::string_view name = entryName(path, m_kept.back().path);
        if (!name.empty()) {
            UniqueFd fd(::openat(m_kept.back().fd.get(), std::string(name).c_str(),
                                 O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (!fd.valid())
                return lastError();
            return fd;
        }
    }
    return openFolder(path);
}

void OpenDescent::keep(const std::string& path, UniqueFd fd) {
    if (m_kept.size() < kDepth)
        m_kept.push_back(Kept{path, std::move(fd)});
}

} // namespace platform::linux_host
