#pragma once

// Program path text -> host path. "\" and "/" separate (a doubled one counts once); "C:" alone
// is that drive's current folder, "C:rel" relative to it, a leading "\" the current drive's
// root, text without a drive relative to the current drive's current folder. "." and ".." are
// applied to the text first, as Windows does. Each remaining name is looked up exactly and, when
// missing, by a case-insensitive scan of its folder (first match in listing order), which the
// folder index answers without listing the folder again while the folder is unchanged.

#include "platform/linux/case_mapping.h"
#include "platform/linux/drive_table.h"
#include "platform/linux/folder_index.h"
#include "platform/result.h"

#include <sys/stat.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::linux_host {

struct ResolvedPath {
    const DriveMapping* drive = nullptr;
    std::vector<std::string> names; // host names below the drive root
    bool exists = true;             // false: the last name was not found and is taken as given
    // The entry's own stat (a final link not followed) when the lookup took one on the way.
    std::optional<struct stat> entryStat;

    std::string hostPath() const { return DriveTable::hostPath(*drive, names); }
    std::string pathText() const { return formatPathText(drive->letter, names); }
};

enum class LastName {
    MustExist,
    MayBeMissing, // for creating: the parent must exist, the last name need not
};

Result<ResolvedPath> resolvePath(const DriveTable& drives, const CaseMapping& caseMapping,
                                 FolderIndex& index, std::string_view text, LastName last);

} // namespace platform::linux_host
