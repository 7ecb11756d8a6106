#pragma once

// The operation log "Tilgomat.txt" in the documents folder: one Windows-1252 line per file
// that a bulk operation handles.

#include "platform/platform.h"

#include <string>
#include <system_error>

namespace core {

// The documents folder followed by "\Tilgomat.txt"; "\Tilgomat.txt" alone when there is no
// documents folder. Worked out anew on every call.
std::string logPath(platform::Platform& fs);

class OperationLog {
public:
    // Notes which folder the log goes into now, as the program finds it at its start: a pass
    // writes the log there only while that folder is still the same one.
    explicit OperationLog(platform::Platform& fs);

    // Filled by the caller before each write; both keep their values afterwards.
    std::string item;
    std::string note;

    // Appends: date and time ; "item" ; note CR LF, through the pass under way (see
    // attach), else through a pass of its own. A failure loses the line and is returned only so
    // that tests can see it; the bulk operations go on regardless.
    std::error_code writeLine();
    // The same line with " ->error delete" after the note.
    std::error_code writeErrorLine();

    // The folders a pass that writes this log holds: the log's folder (worked out anew) and
    // `target` with the identity it was chosen with.
    platform::PassFolders passFolders(std::string target = {},
                                      platform::FileId targetId = {}) const;
    // The lines go through `pass` until it is detached again (nullptr).
    void attach(platform::Pass* pass) { m_pass = pass; }

private:
    std::error_code write(std::string_view suffix);

    platform::Platform& m_fs;
    // The log's folder as found at the start, and its identity.
    std::string m_folder;
    platform::FileId m_folderId;
    platform::Pass* m_pass = nullptr;
};

} // namespace core
