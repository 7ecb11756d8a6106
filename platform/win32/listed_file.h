#pragma once

// A file a walk listed, reached again for an action: its folders are opened one inside the other
// from the walk's start folder, each compared with the folder the walk listed there, and held,
// shared for reading and writing but not for deleting, so that none of them can be renamed or
// removed while the file is acted on. Each action opens the file itself inside the last of them
// (a link as the link) and compares it with what the walk saw first: a folder or a file put in
// place of the listed one is refused instead of followed.

#include "platform/platform.h"

#include <memory>
#include <string>
#include <vector>

namespace platform::win32 {

// `start` is the host path of the walk's start folder, `names` the names below it down to the
// file's own (the last); `trail` holds one folder identity for the start folder and one for each
// name but the last, or none, and then nothing is compared. `target` is the host path of the
// pass's target folder, empty where it holds none.
Result<std::unique_ptr<ListedFile>> reachListedFile(const std::wstring& start,
                                                    std::vector<std::wstring> names,
                                                    const ListedTrail& trail, std::wstring target);

} // namespace platform::win32
