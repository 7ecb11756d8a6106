#pragma once

// The listings of one walk (FolderWalk in platform.h): the folders listed last, on the walk's
// thread or its workers', are held open so that a subfolder is opened by its name in its folder
// instead of by its whole path, which the system looks up name by name: on a share that answers
// every lookup after a round trip, a folder six levels down costs six round trips by path and one
// by name. A subfolder is thereby the entry of the folder as it was listed, as with find. The
// folders are let go when the walk ends, so that every walk starts from the folders as they are.

#include "platform/linux/unique_fd.h"
#include "platform/platform.h"

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>

namespace platform::linux_host {

class LinuxFolderWalk final : public FolderWalk {
public:
    bool listsAhead() const override { return true; }
    std::error_code list(const HostFolder& folder, Listing& out) override;

private:
    // The folder at `path`, opened by its name in its folder where that was listed last, else
    // by its whole path.
    Result<std::shared_ptr<const UniqueFd>> open(const std::string& path);
    // Keeps a folder just listed, letting go of the one kept longest ago.
    void keep(const std::string& path, std::shared_ptr<const UniqueFd> fd);

    struct Held {
        std::string path;
        std::shared_ptr<const UniqueFd> fd;
    };
    // A subfolder's listing follows its folder's closely: a few dozen cover the workers' front.
    static constexpr std::size_t kHeld = 64;
    std::mutex m_mutex;
    std::list<Held> m_held; // the one kept last first
};

} // namespace platform::linux_host
