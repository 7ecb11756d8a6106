#pragma once

// The bulk passes as the tests run them: delete, copy, move by rename, and move as copy and
// delete (as between two file systems).

#include <string>
#include <utility>
#include <vector>

namespace coretest {

enum class Pass { Delete, Copy, Move };

inline const char* passName(Pass pass) {
    return pass == Pass::Delete ? "delete" : pass == Pass::Copy ? "copy" : "move";
}

inline std::vector<std::pair<Pass, bool>> passVariants() {
    return {{Pass::Delete, false}, {Pass::Copy, false}, {Pass::Move, false}, {Pass::Move, true}};
}

inline std::string variantName(Pass pass, bool acrossFileSystems) {
    return std::string(passName(pass)) + (acrossFileSystems ? " across file systems" : "");
}

} // namespace coretest
