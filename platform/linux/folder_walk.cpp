#include "platform/linux/ahead_folders.h"

#include "platform/linux/host_access.h"

#include <fcntl.h>

namespace platform::linux_host {

Result<std::shared_ptr<const UniqueFd>> AheadFolders::open(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    std::shared_ptr<const UniqueFd> folder;
    if (slash != std::string::npos && slash > 0) {
        const std::string_view above(path.data(), slash);
        const std::lock_guard lock(m_mutex);
        for (const Held& held : m_held) {
            if (held.path == above) {
                folder = held.fd;
                break;
            }
        }
    }
    if (folder) {
        UniqueFd fd(
            ::openat(folder->get(), path.c_str() + slash + 1, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!fd.valid())
            return lastError();
        return std::make_shared<const UniqueFd>(std::move(fd));
    }
    auto opened = openFolder(path);
    if (!opened)
        return opened.error();
    return std::make_shared<const UniqueFd>(std::move(opened).value());
}

void AheadFolders::keep(const std::string& path, std::shared_ptr<const UniqueFd> fd) {
    const std::lock_guard lock(m_mutex);
    m_held.push_front({path, std::move(fd)});
    if (m_held.size() > kHeld)
        m_held.pop_back();
}

void AheadFolders::clear() {
    const std::lock_guard lock(m_mutex);
    m_held.clear();
}

} // namespace platform::linux_host
