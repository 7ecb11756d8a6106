#pragma once

// The folders the walk's workers listed last, held open so that a subfolder is opened by its
// name in its folder instead of by its whole path, which the system looks up name by name: on a
// share that answers every lookup after a round trip, a folder six levels down costs six round
// trips by path and one by name. Used from several threads at once; the folders are let go
// when the walk ends.

#include "platform/linux/unique_fd.h"
#include "platform/result.h"

#include <cstddef>
#include <list>
#include <memory>
#include <mutex>
#include <string>

namespace platform::linux_host {

class AheadFolders {
public:
    // The folder at `path`, opened by its name in its folder where that was listed last, else
    // by its whole path.
    Result<std::shared_ptr<const UniqueFd>> open(const std::string& path);
    // Keeps a folder just listed, letting go of the one used longest ago.
    void keep(const std::string& path, std::shared_ptr<const UniqueFd> fd);
    void clear();

private:
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
