#pragma once

// An existing target replaced by the copy's temporary file with ReplaceFileW, which keeps the
// target's permissions, owner, creation time, short name and the named streams the copy lacks.

#include "platform/types.h"
#include "platform/win32/temporary_file.h"

#include <windows.h>

#include <string>
#include <system_error>

namespace platform::win32 {

// What an answer of ReplaceFileW (called without a backup name) leaves to do.
enum class AfterReplace {
    Placed,   // the copy stands at the target's name
    Failed,   // nothing has changed
    TakeName, // the old target is gone, the copy still stands under its own name
    // The old target stands under a name of ReplaceFileW's own, the copy under its own.
    TakeNameRemoveOld,
};
AfterReplace afterReplace(unsigned long error);

// Replaces `existing` (the target's own name, the file of id `existingId`) in the open folder
// `folder` by the temporary file, which is closed for it. Where the target is gone but the copy
// could not take its name, the copy is kept under its own. `oldLeft`: why the old target, renamed
// away by ReplaceFileW, stays behind under another name, while the copy stands at its name.
std::error_code replaceTarget(Temporary& temporary, HANDLE folder, const std::wstring& existing,
                              const FileId& existingId, std::error_code& oldLeft);

} // namespace platform::win32
