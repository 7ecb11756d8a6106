#pragma once

// The operation log "Tilgomat.txt" in the documents folder: one Windows-1252 line per file
// that a bulk operation handles.

#include "platform/platform.h"

#include <string>
#include <system_error>

namespace core {

// The documents folder followed by "\Tilgomat.txt"; "\Tilgomat.txt" alone when there is no
// documents folder. Worked out anew on every call.
std::string logPath(const platform::Platform& fs);

class OperationLog {
public:
    explicit OperationLog(platform::Platform& fs) : m_fs(fs) {}

    // Filled by the caller before each write; both keep their values afterwards.
    std::string sLogItem;
    std::string sLogNote;

    // Appends: date and time ; "sLogItem" ; sLogNote CR LF. A failure loses the line and is
    // returned only so that tests can see it; the bulk operations go on regardless.
    std::error_code WriteLogLine();
    // The same line with " ->error delete" after the note.
    std::error_code WriteLogErrorLine();

private:
    std::error_code writeLine(std::string_view suffix);

    platform::Platform& m_fs;
};

} // namespace core
