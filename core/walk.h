#pragma once

// The search walk: the start folder and, on request, every folder below it, visited one after
// the other from a stack of its own (no recursion, so that no depth exhausts the call stack).

#include "core/entry_list.h"
#include "platform/platform.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace core {

// Lets pending window events through; called before each folder the walk visits.
using ProcessEvents = std::function<void()>;

struct WalkOptions {
    // Folders listed ahead of the walk on up to this many threads (where the backend can list
    // from several); none: each folder is listed when the walk comes to it.
    unsigned listingThreads = 0;
    // Asked before each folder and while the walk waits for a listing: true ends the walk at
    // once, with the entries found so far.
    std::function<bool()> stopRequested;
    // The threads start once the folders the walk lists itself take this long on average (the
    // disk or the network is slow): a warm listing takes a few microseconds (up to 25 on a slow
    // machine), a cold one a read of the disk, and handing a warm listing between threads costs
    // more than it saves. Zero starts them at once.
    std::chrono::microseconds slowListing{50};
};

// Walks `folder` (path text as chosen; a trailing "\" is optional) and fills the empty list
// `hits` with one entry per hit. `hits.start` keeps the folder text in lower case, as the
// entries show it, and the folder exactly as found, for the actions. `pattern` is the reduced
// pattern (core/pattern.h). With `subfolders` the walk descends; without, the start folder's
// subfolders are listed as ">>" entries. Returns the number of entries appended. While the walk
// waits for a folder listed ahead, `processEvents` runs every few milliseconds too.
std::int32_t walkFolder(platform::Platform& fs, std::string folder, std::string_view pattern,
                        EntryList& hits, bool subfolders, const ProcessEvents& processEvents = {},
                        const WalkOptions& options = {});

} // namespace core
