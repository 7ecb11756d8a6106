#pragma once

// The target folder of a copy or move, looked into once per pass. Windows finds "brief.doc" as
// an existing "BRIEF.DOC"; asking the file system for that on every file costs a listing of the
// folder each time where it cannot be watched for changes (a user's watches used up), which
// makes a copy of thousands of files into one folder quadratic. So the pass lists the folder
// once, keeps its names without regard to case and adds the names it writes itself; every
// action then reaches its target exactly. A file another program makes meanwhile under a name
// of another case is at worst a twin beside the copy: the copy's own checks look at the target
// as it is when they write.

#include "platform/platform.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace core {

class TargetFolder {
public:
    // The folder the pass holds; `fs` gives the case mapping.
    TargetFolder(platform::Platform& fs, platform::Pass& pass);

    // The name through which an action reaches `name` in the folder: the name as it stands
    // there (exactly, else in another case, the first in listing order), or the name itself
    // where there is none.
    std::string nameFor(std::string_view name) const;
    // Records that the pass has just written `name` through nameFor().
    void wrote(std::string_view name);

private:
    platform::Platform& m_fs;
    platform::Pass& m_pass;
    // Upper-cased name -> the names of that spelling, in listing order.
    std::unordered_map<std::string, std::vector<std::string>> m_names;
};

} // namespace core
