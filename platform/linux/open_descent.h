#pragma once

// The folders of a walk's current descent, kept open so that each subfolder is opened by its
// name relative to its parent rather than by its whole path, which the system would look up
// component by component for every folder. A subfolder is thereby the entry of the parent as it
// was listed, as with find. resolveFolder() forgets everything, so every walk starts afresh and
// nothing is kept from one operation to the next.

#include "platform/linux/unique_fd.h"
#include "platform/result.h"

#include <cstddef>
#include <string>
#include <vector>

namespace platform::linux_host {

class OpenDescent {
public:
    // An open folder for `path`: relative to the kept folder it is an entry of, otherwise by its
    // whole path. Kept folders that are not ancestors of `path` are closed first.
    Result<UniqueFd> open(const std::string& path);
    // Keeps `fd` as the folder at `path`, below the folders kept so far (up to a depth).
    void keep(const std::string& path, UniqueFd fd);
    void clear() { m_kept.clear(); }

private:
    struct Kept {
        std::string path;
        UniqueFd fd;
    };
    static constexpr std::size_t kDepth = 128;
    std::vector<Kept> m_kept;
};

} // namespace platform::linux_host
