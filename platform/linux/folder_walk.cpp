#include "platform/linux/folder_walk.h"

#include "platform/linux/host_access.h"
#include "platform/linux/listing.h"

#include <fcntl.h>

namespace platform::linux_host {

std::error_code LinuxFolderWalk::list(const HostFolder& folder, Listing& out) {
    out.clear();
    auto opened = open(folder.path);
    if (!opened)
        return opened.error();
    // Without the drive table, which belongs to the platform's thread.
    const std::error_code error =
        listOpenFolder((*opened)->get(), folder.path, false, ListDetail::Kind, out);
    if (!error)
        keep(folder.path, std::move(opened).value());
    return error;
}

Result<std::shared_ptr<const UniqueFd>> LinuxFolderWalk::open(const std::string& path) {
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

void LinuxFolderWalk::keep(const std::string& path, std::shared_ptr<const UniqueFd> fd) {
    const std::lock_guard lock(m_mutex);
    m_held.push_front({path, std::move(fd)});
    if (m_held.size() > kHeld)
        m_held.pop_back();
}

} // namespace platform::linux_host
