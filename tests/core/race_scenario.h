#pragma once

// Another program acting on a listed file between the search and the pass: the hook that makes
// the change just before the pass reaches b.txt, and what the log then says about b.txt.

#include "fault_scenario.h"

#include <functional>
#include <string>
#include <string_view>

namespace coretest {

// Runs `change` once, just before the pass acts on b.txt, or the listed file `name`.
inline void changeBeforeAction(Scenario& s, Pass pass, std::function<void()> change,
                               std::string name = "b.txt") {
    using testsupport::Op;
    const Op action = pass == Pass::Delete ? Op::DeleteFile
                      : pass == Pass::Copy ? Op::CopyFile
                                           : Op::MoveFile;
    s.fs.beforeCall = [action, change = std::move(change), leaf = "\\" + name,
                       done = false](Op op, std::string_view path) mutable {
        // The pass reaches the file through its exact path, which ends as the listed one.
        if (op == action && path.ends_with(leaf) && !done) {
            done = true;
            change();
        }
    };
}

// Each pass variant, looking at each file as the pass comes to it, and where the backend can,
// once more looking at it while the pass acts on the file before (as on a share): the change
// then comes after that look.
template <class Body> void forEachPassVariantAndLook(Body body) {
    struct Ahead {
        const bool on = platform::lookAheadEverywhere(true);
        ~Ahead() { platform::lookAheadEverywhere(false); }
    };
    forEachPassVariant(body);
    const Ahead ahead;
    if (!ahead.on)
        return;
    SCOPED_TRACE("looking ahead");
    forEachPassVariant(body);
}

// The quoted item of the attempt line for b.txt, or the listed file `name`.
inline std::string attemptItem(std::string_view name = "b.txt") {
    return "\"d:\\quelle\\" + std::string(name) + "\";";
}

inline bool hasErrorLine(const std::string& log, const std::string& item) {
    for (std::size_t at = log.find(item); at != std::string::npos; at = log.find(item, at + 1)) {
        const std::size_t end = log.find("\r\n", at);
        if (std::string_view(log).substr(0, end).ends_with(" ->error delete"))
            return true;
    }
    return false;
}

} // namespace coretest
