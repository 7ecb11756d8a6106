#include "platform/win32/win32_pass.h"

#include "platform/error.h"
#include "platform/win32/errors.h"
#include "platform/win32/file_operations.h"
#include "platform/win32/listed_file.h"
#include "platform/win32/listing.h"
#include "platform/win32/open_below.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

namespace platform::win32 {

namespace {

// Opens the folder at `host` to hold it; with `itself`, a reparse point there is refused instead
// of followed. Its identity goes to `id`, and it must be `chosen` where that is known.
Result<Handle> holdFolder(const std::wstring& host, bool itself, const FileId& chosen, FileId& id) {
    Handle folder(::CreateFileW(
        host.c_str(), kListedFolderAccess, kShareHeld, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | (itself ? FILE_FLAG_OPEN_REPARSE_POINT : 0), nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!folder.valid() || !::GetFileInformationByHandle(folder.get(), &info))
        return lastError();
    if (itself && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return errc(std::errc::too_many_symbolic_link_levels);
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return errc(std::errc::not_a_directory);
    id = fileIdOf(folder.get(), info);
    if (chosen.known() && id != chosen)
        return make_error_code(Error::NotListed);
    return folder;
}

} // namespace

Win32Pass::Win32Pass(const Win32Platform& platform, const PassFolders& folders)
    : m_platform(platform), m_logName(toWide(folders.logName)) {
    if (!folders.target.empty()) {
        auto host = platform.m_drives.hostPath(folders.target);
        auto held = host ? holdFolder(*host, false, folders.targetId, m_targetId)
                         : Result<Handle>(host.error());
        if (held) {
            m_target = std::move(held).value();
            m_targetIsRoot = platform.m_drives.isDriveRoot(*host);
        } else {
            m_targetError = held.error();
        }
    }
    auto logHost = platform.m_drives.hostPath(folders.logFolder);
    FileId logId;
    auto logFolder = logHost ? holdFolder(*logHost, true, folders.logFolderId, logId)
                             : Result<Handle>(logHost.error());
    if (logFolder)
        m_logFolder = std::move(logFolder).value();
    else
        m_logError = logFolder.error();
}

std::error_code Win32Pass::listTarget(Listing& out) {
    out.clear();
    if (!m_target.valid())
        return m_targetError;
    return listOpenFolder(m_target.get(), m_targetIsRoot, ListDetail::Kind, out);
}

Result<FileId> Win32Pass::targetEntry(std::string_view name) {
    if (!m_target.valid())
        return m_targetError;
    auto entry = openBelow(m_target.get(), toWide(name), FILE_READ_ATTRIBUTES, kShareAll,
                           FILE_OPEN_REPARSE_POINT);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!entry)
        return entry.error();
    if (!::GetFileInformationByHandle(entry->get(), &info))
        return lastError();
    return fileIdOf(entry->get(), info);
}

Result<std::unique_ptr<ListedFile>> Win32Pass::reachListed(std::string_view path,
                                                           const ListedTrail& trail) {
    auto way = m_platform.listedWay(path, trail);
    if (!way)
        return way.error();
    Result<std::shared_ptr<const Handle>> folder = errc(std::errc::invalid_argument);
    if (trail.folders.empty()) {
        // The file's own folder, found by the path and taken as it stands.
        auto opened = openHeldFolder(way->start);
        folder = opened ? Result<std::shared_ptr<const Handle>>(
                              std::make_shared<const Handle>(std::move(opened).value()))
                        : opened.error();
    } else {
        folder = m_reached.reach(way->start, way->names, trail);
    }
    if (!folder)
        return folder.error();
    return listedFile(std::move(folder).value(), std::move(way->names.back()), trail,
                      m_target.valid() ? m_target.get() : nullptr);
}

std::error_code Win32Pass::appendLog(std::string_view bytes) {
    if (!m_logFolder.valid())
        return m_logError;
    // Opened inside the held folder as the entry at its name: a link or a junction there is
    // never written through. Opened to write anywhere, not to append only, so that a write
    // failing part-way can be cut back and the next line never runs on from a piece of this one.
    // Shared for writing, so that a second instance's lines are not refused.
    auto log = openBelow(m_logFolder.get(), m_logName, GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE,
                         FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT, FILE_OPEN_IF,
                         FILE_ATTRIBUTE_NORMAL);
    if (!log)
        return log.error();
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(log->get(), &info))
        return lastError();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return errc(std::errc::too_many_symbolic_link_levels);
    // Refused by the program's rules, also where the system lets its user through (Wine run by
    // root).
    if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
        return errc(std::errc::permission_denied);
    return appendToOpenFile(log->get(), bytes);
}

} // namespace platform::win32
