#pragma once

// Another program acting on a listed file between the search and the pass: the hook that makes
// the change just before the pass reaches b.txt, and what the log then says about b.txt.

#include "fault_scenario.h"

#include <functional>
#include <string>
#include <string_view>

namespace coretest {

inline constexpr std::string_view kVictim = "d:\\quelle\\b.txt";

// Runs `change` once, just before the pass acts on b.txt.
inline void changeBeforeAction(Scenario& s, Pass pass, std::function<void()> change) {
    using testsupport::Op;
    const Op action = pass == Pass::Delete ? Op::DeleteFile
                      : pass == Pass::Copy ? Op::CopyFile
                                           : Op::MoveFile;
    s.fs.beforeCall = [action, change = std::move(change),
                       done = false](Op op, std::string_view path) mutable {
        // The pass reaches the file through its exact path, which ends as the listed one.
        if (op == action && path.ends_with("\\b.txt") && !done) {
            done = true;
            change();
        }
    };
}

// The quoted item of the attempt line for b.txt.
inline std::string attemptItem() {
    return "\"" + std::string(kVictim) + "\";";
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
