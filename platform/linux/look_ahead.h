#pragma once

// On a share every look at a file is a round trip. While a pass acts on one listed file, the
// next one is opened and its read-only bit read on a thread of their own, so that these round
// trips overlap those of the action. A local file system answers at once: there a pass looks
// at each file as it comes to it.

#include "platform/linux/host_access.h"
#include "platform/linux/unique_fd.h"

#include <sys/types.h>

#include <future>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <unordered_map>

namespace platform::linux_host {

// What stands at a listed file's name, as an action first looks at it.
struct FirstLook {
    std::error_code error; // why nothing could be opened there
    UniqueFd fd;           // O_PATH, a final link not followed
    BornStat born;         // as the open learnt it (`fresh`: asked of the file system anew)
    // For a regular file looked at ahead: whether it is read-only, by its bits or its record.
    std::optional<bool> readOnly;
};

FirstLook firstLook(int folderFd, const std::string& leaf, bool fresh);

class LookAhead {
public:
    // Whether files of `device` are known not to be worth looking at ahead (a local disk).
    bool notWorthIt(dev_t device) const;
    // Whether the folder `folderFd` of `device` lies on a file system worth looking ahead on.
    bool worthIt(int folderFd, dev_t device);
    // Starts looking at `leaf` in `folder` on a thread of its own. With `openHere` the file is
    // opened first, before the call returns, and only its record is read on that thread: for a
    // delete, which holds the folder locked while it removes a name, so that a look at another
    // name in it would only wait for that.
    void start(std::shared_ptr<const UniqueFd> folder, std::string leaf, bool openHere);
    // What was looked at for `leaf` in `folder`, waiting for it; nothing for another file.
    std::optional<FirstLook> take(const UniqueFd* folder, const std::string& leaf);

private:
    std::unordered_map<dev_t, bool> m_slow;
    std::shared_ptr<const UniqueFd> m_folder;
    std::string m_leaf;
    std::future<FirstLook> m_look;
};

} // namespace platform::linux_host
