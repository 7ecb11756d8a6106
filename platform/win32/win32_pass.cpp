#include "platform/win32/win32_pass.h"

#include "platform/win32/errors.h"
#include "platform/win32/file_operations.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

namespace platform::win32 {

namespace {

// Held folders can be listed and written in, but neither renamed nor removed.
constexpr DWORD kShareHeld = FILE_SHARE_READ | FILE_SHARE_WRITE;

std::wstring join(const std::wstring& folder, std::wstring_view name) {
    std::wstring path = folder;
    if (path.back() != L'\\')
        path += L'\\';
    path += name;
    return path;
}

// Opens the folder at `host` and holds it; with `itself`, a reparse point there is refused instead
// of followed. Its identity goes to `id`, and it must be `chosen` where that is known.
Result<Handle> holdFolder(const std::wstring& host, bool itself, const FileId& chosen, FileId& id) {
    Handle folder(::CreateFileW(
        host.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES, kShareHeld, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | (itself ? FILE_FLAG_OPEN_REPARSE_POINT : 0),
        nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!folder.valid() || !::GetFileInformationByHandle(folder.get(), &info))
        return lastError();
    if (itself && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return errc(std::errc::too_many_symbolic_link_levels);
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return errc(std::errc::not_a_directory);
    id = fileIdOf(folder.get(), info);
    if (chosen.known() && id != chosen)
        return errc(std::errc::identifier_removed);
    return folder;
}

} // namespace

Win32Pass::Win32Pass(const Win32Platform& platform, const PassFolders& folders)
    : m_platform(platform) {
    if (!folders.target.empty()) {
        auto host = platform.m_drives.hostPath(folders.target);
        auto held = host ? holdFolder(*host, false, folders.targetId, m_targetId)
                         : Result<Handle>(host.error());
        if (held) {
            m_target = std::move(held).value();
            m_targetHost = *host;
        } else {
            m_targetError = held.error();
        }
    }
    auto logHost = platform.m_drives.hostPath(folders.logFolder);
    FileId logId;
    auto logFolder = logHost ? holdFolder(*logHost, true, folders.logFolderId, logId)
                             : Result<Handle>(logHost.error());
    if (logFolder) {
        m_logFolder = std::move(logFolder).value();
        m_log = join(*logHost, toWide(folders.logName));
    } else {
        m_logError = logFolder.error();
    }
}

std::error_code Win32Pass::listTarget(Listing& out) {
    out.clear();
    if (m_targetHost.empty())
        return m_targetError;
    return m_platform.listFolder(HostFolder{fromWide(m_targetHost), {}}, ListDetail::Kind, out);
}

Result<FileId> Win32Pass::targetEntry(std::string_view name) {
    if (m_targetHost.empty())
        return m_targetError;
    return hostFileId(join(m_targetHost, toWide(name)));
}

Result<std::unique_ptr<ListedFile>> Win32Pass::reachListed(std::string_view path,
                                                           const ListedTrail& trail) {
    return m_platform.reachListed(path, trail, m_targetHost);
}

std::error_code Win32Pass::appendLog(std::string_view bytes) {
    if (m_log.empty())
        return m_logError;
    // A link or junction at the log's name is never written through.
    const DWORD attributes = ::GetFileAttributesW(m_log.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return errc(std::errc::too_many_symbolic_link_levels);
    return appendToHostFile(m_log, bytes);
}

} // namespace platform::win32
