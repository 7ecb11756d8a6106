#pragma once

// The operating system's services as the program needs them. All paths are the program's
// path text (drive letter, colon, backslashes, UTF-8, or a network path "\\server\share\…"
// whose share root plays the part of the drive's); the backend maps them to the host.
// Every operation reports failure as a value. No system header may be included here.
//
// Path text that begins with kExactPrefix ("\\?\", as on Windows) is taken literally: a drive
// letter and a colon, or "UNC\server\share", and names separated by single backslashes, each name
// looked up exactly as written, with no case-insensitive search, no "." or ".." and no current
// folder. The passes act through such text, so that they reach the file the walk found and never a
// look-alike.
//
// Errors are std::error_code values of the generic category, so that the callers compare them
// with the portable std::errc values whatever the backend; a backend maps its own codes onto
// these, and says what no such value says with the program's own (platform/error.h). The ones a
// caller may tell apart:
//   no_such_file_or_directory  the path (or a folder on it) does not exist; for fileId() and a
//                              copy's target lookup this alone means "free"
//   permission_denied          refused by the rules: a read-only file, a hidden or read-only
//                              copy target, access denied by the system
//   file_exists                ListedFile::moveTo() onto a name that is taken
//   cross_device_link          ListedFile::moveTo() to another volume
//   device_or_resource_busy    ListedFile::copyTo() onto the source itself
//   resource_unavailable_try_again   the file is in use: another program holds it open in a way
//                              that keeps this action out, or has locked it
//   network_unreachable        a network path that does not answer (a share reconnecting, a
//                              server gone); it tells nothing about a name, never "free"
//   operation_not_permitted    a FIFO, socket or device where a file is wanted
//   is_a_directory, not_a_directory   the kind of entry is wrong
//   invalid_argument           path text the program cannot carry (NUL, forbidden characters,
//                              a network path on a backend that reaches no shares), a device
//                              name (CON, NUL, COM1, ...) for a new folder
//   operation_not_supported    the host lacks the feature (moveTo, stored attributes)
//   Error::NotListed           a listed file's path no longer leads to it, or a held folder of
//                              a pass is not the one chosen (platform/error.h)
//   filename_too_long, no_space_on_device, io_error   as the words say
// Any other value counts as a failure of no particular kind.

#include "platform/error.h"
#include "platform/result.h"
#include "platform/types.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace platform {

inline constexpr std::string_view kExactPrefix = "\\\\?\\";

// A file a walk listed, reached through the folders it was listed in (Pass::reachListed).
// Every action re-checks the file's own identity first and acts on this file or on none: a file
// put in its place since is refused with Error::NotListed, and so is one that stood in for it
// at the moment of the action (the action is checked after it, or made certain). It lives no
// longer than the pass that reached it, into whose target folder it is copied or moved.
class ListedFile {
public:
    virtual ~ListedFile() = default;
    // No error while the file is still at its name; Error::NotListed when another file
    // stands there, no_such_file_or_directory when none does.
    virtual std::error_code check() = 0;
    // Deletes the file: refuses read-only files and anything that is not a file. After copyTo(),
    // also refused unless the file is still the one that copy read, unchanged (identity, length,
    // last-write and change time).
    virtual std::error_code remove() = 0;
    // Copies the file to `name` in the pass's target folder, replacing a file there, with
    // Windows' rules: refuses a read-only, hidden or system target, the same file, a source that
    // is not a regular file. Carries attributes and last-write time. Writes a temporary file in
    // the target folder and renames it into place. A backend may hold the file from here until
    // remove() or its end, so that no other program writes, renames or deletes it between the
    // copy and the delete of a move.
    virtual std::error_code copyTo(std::string_view name) = 0;
    // Moves the file to `name` in the pass's target folder where the system can do it without
    // copying (a rename on one file system), only onto a name that is free, and only where the
    // result is exactly that of copyTo() followed by remove(). Either the file is moved or
    // nothing changes; on a failure other than Error::NotListed the caller copies and deletes,
    // which applies every rule itself. A taken name is refused with file_exists, a read-only file
    // with permission_denied, another file system with cross_device_link. Backends without such a
    // move refuse every one with operation_not_supported.
    virtual std::error_code moveTo(std::string_view name) = 0;
};

// The folders a pass writes into, as they were chosen: the target folder of a copy or a move
// with the identity the target dialog showed, and the folder of the log with the identity it had
// when the program found it. An unknown identity compares with nothing.
struct PassFolders {
    std::string target; // path text; empty: the pass writes no files (a delete)
    FileId targetId;
    std::string logFolder; // path text
    FileId logFolderId;
    std::string logName; // the log's file name in its folder
};

// A delete, copy or move under way. It opens the target folder and the log's folder once, at its
// start, compares each with what was chosen, and holds them to its end, with the folders of the
// listed file reached last; every temporary file, rename, replacement, target check and log line
// is made relative to those held folders. A link (on Windows a reparse point) at the log's name or
// in place of the log's folder is never followed; the target folder is reached as the dialog
// reached it and then held as the very folder it showed. Everything it holds is let go when it
// ends.
class Pass {
public:
    virtual ~Pass() = default;
    // Why the pass holds no target folder: no_such_file_or_directory where none stands at its
    // path, Error::NotListed where another folder than the chosen one does, or the error that
    // opening it met. No error while it holds the chosen one, or none was asked for.
    virtual std::error_code targetError() const = 0;
    // Identity of the held target folder.
    virtual FileId targetId() const = 0;
    // The held target folder's entries with ListDetail::Kind.
    virtual std::error_code listTarget(Listing& out) = 0;
    // Identity of the entry `name` in the held target folder, a final link not followed;
    // no_such_file_or_directory when the name is free.
    virtual Result<FileId> targetEntry(std::string_view name) = 0;
    // The file at `path` (exact path text) as a walk listed it, reached through the folders of
    // `trail`: the start folder is found by the path and must be the listed one; below it each
    // name is opened in the folder opened before and must be the listed folder (a link there is
    // followed only where it leads to that very folder). The folders stay held for the next file
    // on the same way. Error::NotListed when a folder is not the listed one or is gone. With an
    // empty trail the file's folder is found by the path, unchecked.
    virtual Result<std::unique_ptr<ListedFile>> reachListed(std::string_view path,
                                                            const ListedTrail& trail) = 0;
    // The file the pass will reach next (as reachListed), told while it acts on the one before:
    // a backend on whose file system each look costs a round trip may look at it meanwhile.
    virtual void lookAhead(std::string_view path, const ListedTrail& trail) {
        (void)path;
        (void)trail;
    }
    // Appends `bytes` to the log in the held log folder: one open-append-close, the file made
    // where it is missing; a read-only log, a link at its name and anything but a file refused.
    virtual std::error_code appendLog(std::string_view bytes) = 0;
};

// The listings of one walk (Platform::beginWalk), as listFolder() makes them with
// ListDetail::Kind, except that "." and ".." may be reported at a drive root too. A backend may
// keep the folders it listed last open, so that a subfolder is opened by its name in its folder
// rather than by its whole path, which the system looks up name by name (on a share, a round
// trip each); it lets them go when the walk ends, so that nothing stays held after a search.
class FolderWalk {
public:
    virtual ~FolderWalk() = default;
    // Whether list() may be called from several threads at once, to list ahead of the walk.
    virtual bool listsAhead() const = 0;
    virtual std::error_code list(const HostFolder& folder, Listing& out) = 0;
};

// What looks up path text, the drives or the documents folder is not const: a backend may keep
// what it learnt (the names in the folders looked into, the drives as the mounts showed them
// last) for the next call. Used from one thread, but for a FolderWalk's listings.
class Platform {
public:
    virtual ~Platform() = default;

    // --- Drives and path text -------------------------------------------------------------

    // The drive table in drive-letter order.
    virtual std::vector<Drive> drives() = 0;
    // Letter (lower case) of the drive that holds the process's working folder.
    virtual char currentDrive() const = 0;
    // Current folder of a drive as path text, "C:\" for a drive root, otherwise without a
    // trailing backslash. Empty text for a letter that is not in the drive table.
    virtual std::string currentFolder(char driveLetter) const = 0;
    // Resolves path text to an existing folder: backslashes (doubled ones count once), "C:"
    // alone, a leading "\", relative text, case-insensitive component lookup. The result's
    // `text` is the folder's path text as found, spelled as the file system stores it.
    virtual Result<HostFolder> resolveFolder(std::string_view path) = 0;
    // The path text of an existing file or folder spelled as the file system stores it
    // ("C:\Users\Anna\Dokumente" for "c:\users\anna\dokumente"); drive root "C:\".
    virtual Result<std::string> canonicalPath(std::string_view path) = 0;

    // --- Folder listing --------------------------------------------------------------------

    // Lists a folder by its host reference; fills `out` (cleared first) in listing order.
    virtual std::error_code listFolder(const HostFolder& folder, ListDetail detail,
                                       Listing& out) const = 0;
    // The host reference of a child folder named by its host bytes (from a Listing).
    virtual HostFolder childFolder(const HostFolder& parent, std::string_view hostName) const = 0;
    // The listings of one walk, which the walk owns.
    virtual std::unique_ptr<FolderWalk> beginWalk() const = 0;
    // Lists a folder given as path text (resolve + list).
    std::error_code listFolder(std::string_view path, ListDetail detail, Listing& out) {
        auto folder = resolveFolder(path);
        if (!folder)
            return folder.error();
        return listFolder(*folder, detail, out);
    }

    // --- Files -----------------------------------------------------------------------------

    // Identity of the entry the path names (a final link is not followed).
    virtual Result<FileId> fileId(std::string_view path) = 0;
    // Identity of what the path leads to (a final link is followed).
    virtual Result<FileId> fileIdFollowing(std::string_view path) = 0;
    // Attribute bits (ReadOnly, Hidden, System, Directory, Archive); 32 bits, never truncated.
    virtual Result<std::uint32_t> getAttributes(std::string_view path) = 0;
    // Sets ReadOnly, Hidden, System and Archive as given; other bits are ignored. A file is
    // changed through a link only where the link's owner owns it too: no one's link makes the
    // program change another's file; such a change is refused with permission_denied.
    virtual std::error_code setAttributes(std::string_view path, std::uint32_t attributes) = 0;
    // Plain delete: refuses read-only files and anything that is not a file.
    virtual std::error_code deleteFile(std::string_view path) = 0;
    // Starts a delete, copy or move that writes into `folders`.
    virtual std::unique_ptr<Pass> beginPass(const PassFolders& folders) = 0;
    // Makes a folder; refuses a name Windows keeps for a device (checkNewFolderName).
    virtual std::error_code createFolder(std::string_view path) = 0;
    virtual Result<std::uint64_t> fileLength(std::string_view path) = 0;
    // Last-write date and time of a file, local time.
    virtual Result<DateTime> fileDateTime(std::string_view path) = 0;
    virtual Result<std::string> readFile(std::string_view path) = 0;

    // --- Environment -----------------------------------------------------------------------

    // The user's documents folder as path text, empty when there is none.
    virtual std::string documentsFolder() = 0;
    virtual DateTime now() const = 0;
    // Unicode-aware case mapping of UTF-8 text; bytes that are not valid UTF-8 stay as they are.
    virtual std::string toUpper(std::string_view text) const = 0;
    virtual std::string toLower(std::string_view text) const = 0;
    // Starts the program file at `path` (path text) without a shell and without waiting.
    virtual std::error_code startProgram(std::string_view path) = 0;
    // Path text of a program of the host that shows system information, found where the host
    // keeps its programs or where the host registers it; empty when there is none.
    virtual std::string systemInformationProgram() = 0;
    // File name of the running executable without folder and extension ("Tilgomat").
    virtual std::string executableName() const = 0;
};

// The backend for the machine the program runs on.
std::unique_ptr<Platform> createHostPlatform();

// The same backend with drives of the caller's own, each letter standing for a host folder (tests
// and benchmarks; the program itself takes no configuration). `workingFolder` is the host folder
// that counts as the process's working folder, deciding the current drive and that drive's
// current folder; empty: the real working folder. `documentsFolder` is the host folder that
// counts as the user's documents folder (none while it does not exist); empty: the user's own.
std::unique_ptr<Platform> createPlatformOver(std::vector<DriveMapping> drives,
                                             std::string workingFolder = {},
                                             std::string documentsFolder = {});

// For tests: whether the passes of a backend that looks ahead where a file system answers by
// round trips (Pass::lookAhead) do so on every file system, a local one too. Returns whether
// this backend looks ahead at all.
bool lookAheadEverywhere(bool on);

} // namespace platform
