#pragma once

// A folder listing of more than a million synthetic entries, for lists past every 16-bit and
// six-digit boundary without a million files on disk: "." and "..", then the files f0.txt,
// f1.txt, … with a folder o<i> after every (files / folders)-th file.

#include "platform/types.h"

#include <cstddef>
#include <string>

namespace testsupport {

inline void massListing(std::size_t files, std::size_t folders, platform::Listing& out) {
    out.clear();
    out.add(".", ".", true, platform::Directory);
    out.add("..", "..", true, platform::Directory);
    for (std::size_t i = 0; i < files; ++i) {
        const std::string name = "f" + std::to_string(i) + ".txt";
        out.add(name, name, false, 0);
        if (i % (files / folders) == 0 && i / (files / folders) < folders) {
            const std::string folder = "o" + std::to_string(i);
            out.add(folder, folder, true, platform::Directory);
        }
    }
    out.id = platform::FileId{1, 1};
}

} // namespace testsupport
