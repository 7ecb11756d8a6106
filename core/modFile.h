#pragma once

// File-system functions of the program: the recursive search walk and two small helpers.

#include "core/entry_list.h"
#include "platform/platform.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace modFile {

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

// Walks `folder` (path text as chosen; a trailing "\" is optional) and appends one entry per hit
// to `hits`. The entries begin with the folder text in lower case; `hits.start` keeps the folder
// exactly as found, for the actions. `pattern` is the reduced pattern (core/pattern.h). With
// `subfolders` the walk descends; without, the start folder's subfolders are listed as ">>"
// entries. Returns the number of entries appended. While the walk waits for a folder listed
// ahead, `processEvents` runs every few milliseconds too.
std::int32_t CollectFiles(platform::Platform& fs, std::string folder,
                          std::string_view pattern, core::EntryList& hits, bool subfolders,
                          const ProcessEvents& processEvents = {}, const WalkOptions& options = {});

// The text after the last "\" or ":" of `path`; all of it when it holds neither.
std::string FileNameFromPath(std::string_view path);

// True when the length of the file at `path` can be determined (an empty file counts).
bool FileExists(platform::Platform& fs, std::string_view path);

} // namespace modFile
