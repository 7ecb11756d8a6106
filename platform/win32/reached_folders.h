#pragma once

// The folders of the listed file a pass reached last, held open from one file to the next, so
// that the next file on the same way costs no lookup of them at all (over a share several round
// trips each). Each is opened inside the one before, from the walk's start folder, compared with
// the folder the walk listed there, and held shared for reading and writing but not for deleting:
// none of them can be renamed or removed while it is held. A pass holds them and lets them go when
// it ends.

#include "platform/result.h"
#include "platform/types.h"
#include "platform/win32/handle.h"

#include <memory>
#include <string>
#include <vector>

namespace platform::win32 {

// The folder at the host path `host`, opened to be held, as it stands.
Result<Handle> openHeldFolder(const std::wstring& host);

class ReachedFolders {
public:
    // The open folder of a listed file. `start` is the host path of the walk's start folder,
    // `names` the names below it down to the file's own (the last); `trail` holds one folder
    // identity for the start folder and one for each name but the last. A link or a junction on
    // the way is followed and passes only where it leads to the listed folder; Error::NotListed
    // where a folder is not the listed one or is gone.
    Result<std::shared_ptr<const Handle>> reach(const std::wstring& start,
                                                const std::vector<std::wstring>& names,
                                                const ListedTrail& trail);

private:
    struct Folder {
        FileId id;
        std::wstring name; // in the folder before; empty for the start folder
        std::shared_ptr<const Handle> handle;
    };

    std::wstring m_start;
    std::vector<Folder> m_folders;
};

} // namespace platform::win32
