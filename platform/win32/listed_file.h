#pragma once

// A file a walk listed, reached again for an action inside its folder, which the pass holds
// (reached_folders.h). Each action opens the file itself inside that folder (a link as the link)
// and compares it with what the walk saw first: a file put in place of the listed one is refused
// instead of followed. Copies and moves go into the pass's target folder by name.

#include "platform/platform.h"
#include "platform/win32/handle.h"

#include <memory>
#include <string>

namespace platform::win32 {

// The file `name` in the open folder `folder`, compared with `trail` where that holds folders.
// `target` is the pass's open target folder (none: null), which outlives the file.
std::unique_ptr<ListedFile> listedFile(std::shared_ptr<const Handle> folder, std::wstring name,
                                       const ListedTrail& trail, HANDLE target);

} // namespace platform::win32
