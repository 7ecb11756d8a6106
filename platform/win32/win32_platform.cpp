#include "platform/win32/win32_platform.h"

#include "platform/path_syntax.h"
#include "platform/utf8.h"
#include "platform/win32/errors.h"
#include "platform/win32/file_operations.h"
#include "platform/win32/file_time.h"
#include "platform/win32/handle.h"
#include "platform/win32/listing.h"
#include "platform/win32/open_below.h"
#include "platform/win32/program_start.h"
#include "platform/win32/system_information.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_pass.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <cstddef>
#include <vector>

namespace platform {

namespace win32 {

namespace {

// The bits the program shows; setting them is left to setHostAttributes.
constexpr DWORD kShownBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                             FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                             FILE_ATTRIBUTE_DIRECTORY;

std::wstring join(const std::wstring& folder, std::wstring_view name) {
    std::wstring path = folder;
    if (path.back() != L'\\')
        path += L'\\';
    path += name;
    return path;
}

// Upper- or lower-cases the runs of valid UTF-8; other bytes stay as they are.
std::string mapCase(std::string_view text, DWORD how) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = i;
        char32_t cp = 0;
        while (end < text.size()) {
            const std::size_t n = utf8SequenceAt(text, end, cp);
            if (n == 0 && static_cast<unsigned char>(text[end]) >= 0x80)
                break;
            end += n == 0 ? 1 : n;
        }
        if (end > i) {
            std::wstring wide = toWide(text.substr(i, end - i));
            std::wstring mapped(wide.size(), L'\0');
            // A fixed locale with the linguistic casing, so that the mapping depends on nothing
            // the user set: "ı" is upper-cased to "I", as the full Unicode rules have it.
            const int n = ::LCMapStringEx(L"en-US", how | LCMAP_LINGUISTIC_CASING, wide.data(),
                                          static_cast<int>(wide.size()), mapped.data(),
                                          static_cast<int>(mapped.size()), nullptr, nullptr, 0);
            out += fromWide(n > 0 ? std::wstring_view(mapped.data(), static_cast<std::size_t>(n))
                                  : std::wstring_view(wide));
        }
        if (end < text.size())
            out += text[end++];
        i = end;
    }
    return out;
}

// Listing reads nothing that changes: any thread may list. Each folder is opened by its path.
class Win32FolderWalk final : public FolderWalk {
public:
    explicit Win32FolderWalk(const Win32Platform& platform) : m_platform(platform) {}
    bool listsAhead() const override { return true; }
    std::error_code list(const HostFolder& folder, Listing& out) override {
        return m_platform.listFolder(folder, ListDetail::Kind, out);
    }

private:
    const Win32Platform& m_platform;
};

} // namespace

Win32Platform::Win32Platform(std::vector<DriveMapping> drives, std::string workingFolder,
                             std::string documentsFolder)
    : m_drives(std::move(drives), std::move(workingFolder)),
      m_documentsFolder(toWide(documentsFolder)) {}

std::vector<Drive> Win32Platform::drives() {
    return m_drives.driveTexts();
}

char Win32Platform::currentDrive() const {
    return m_drives.currentDrive();
}

std::string Win32Platform::currentFolder(char driveLetter) const {
    const std::wstring folder = m_drives.currentFolder(driveLetter);
    return folder.empty() ? std::string() : m_drives.pathText(folder);
}

Result<HostFolder> Win32Platform::resolveFolder(std::string_view path) {
    auto host = m_drives.hostPath(path);
    if (!host)
        return host.error();
    const DWORD attributes = ::GetFileAttributesW(host->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const std::error_code error = lastError();
        // A file where a folder should be on the way: the kind is wrong, not the name.
        for (std::wstring above = *host; error == std::errc::no_such_file_or_directory;) {
            const std::size_t cut = above.rfind(L'\\');
            if (cut == std::wstring::npos || cut < 7)
                break;
            above.resize(cut);
            const DWORD kind = ::GetFileAttributesW(above.c_str());
            if (kind != INVALID_FILE_ATTRIBUTES)
                return kind & FILE_ATTRIBUTE_DIRECTORY
                           ? error
                           : std::make_error_code(std::errc::not_a_directory);
        }
        return error;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::make_error_code(std::errc::not_a_directory);
    // The host path is spelled as the file system stores it, like the text.
    auto stored = storedSpelling(*host);
    if (!stored)
        return stored.error();
    return HostFolder{fromWide(DriveMap::withoutPrefix(stored->host)), std::move(stored->text)};
}

Result<std::string> Win32Platform::canonicalPath(std::string_view path) {
    auto host = m_drives.hostPath(path);
    if (!host)
        return host.error();
    auto stored = storedSpelling(*host);
    if (!stored)
        return stored.error();
    return std::move(stored->text);
}

Result<Win32Platform::Spelling> Win32Platform::storedSpelling(const std::wstring& host) const {
    auto where = m_drives.place(host);
    if (!where)
        return std::make_error_code(std::errc::no_such_file_or_directory);
    Spelling stored{where->rootText, DriveMap::withPrefix(where->root)};
    // Finding the names below a root finds the root too; a root alone (a share's) is asked.
    if (where->names.empty() &&
        ::GetFileAttributesW(stored.host.c_str()) == INVALID_FILE_ATTRIBUTES)
        return lastError();
    for (const std::wstring& name : where->names) {
        WIN32_FIND_DATAW data{};
        const HANDLE find = ::FindFirstFileExW(join(stored.host, name).c_str(), FindExInfoBasic,
                                               &data, FindExSearchNameMatch, nullptr, 0);
        if (find == INVALID_HANDLE_VALUE)
            return lastError();
        ::FindClose(find);
        if (stored.text.back() != '\\')
            stored.text += '\\';
        stored.text += fromWide(data.cFileName);
        stored.host = join(stored.host, data.cFileName);
    }
    return stored;
}

std::error_code Win32Platform::listFolder(const HostFolder& folder, ListDetail detail,
                                          Listing& out) const {
    out.clear();
    const std::wstring host = DriveMap::withPrefix(toWide(folder.path));
    // One handle for the folder's identity and its entries; a junction leads to its folder.
    const Handle h(::CreateFileW(host.c_str(), kListedFolderAccess, kShareAll, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!h.valid())
        return lastError();
    return listOpenFolder(h.get(), m_drives.isDriveRoot(host), detail, out);
}

std::unique_ptr<FolderWalk> Win32Platform::beginWalk() const {
    return std::make_unique<Win32FolderWalk>(*this);
}

HostFolder Win32Platform::childFolder(const HostFolder& parent, std::string_view hostName) const {
    // A drive root ("C:\\") ends in its backslash already.
    std::string path = parent.path;
    if (path.empty() || path.back() != '\\')
        path += '\\';
    path += hostName;
    return HostFolder{std::move(path), {}};
}

Result<FileId> Win32Platform::fileId(std::string_view path) {
    auto host = m_drives.hostPath(path);
    if (!host)
        return host.error();
    return hostFileId(*host);
}

Result<FileId> Win32Platform::fileIdFollowing(std::string_view path) {
    auto host = m_drives.hostPath(path);
    if (!host)
        return host.error();
    return hostFileIdFollowing(*host);
}

Result<Win32Platform::ListedWay> Win32Platform::listedWay(std::string_view path,
                                                          const ListedTrail& trail) const {
    ListedWay way;
    std::wstring& start = way.start;
    std::vector<std::wstring>& names = way.names;
    if (trail.folders.empty()) {
        // The file's own folder, found by the path.
        auto host = m_drives.hostPath(path);
        if (!host)
            return host.error();
        const std::size_t cut = host->rfind(L'\\');
        start = host->substr(0, cut);
        if (start.back() == L':')
            start += L'\\';
        names.push_back(host->substr(cut + 1));
    } else {
        // The trail's folders are the last names of the path but one: the start folder is what
        // the names before them lead to.
        auto syntax = parsePathText(path);
        if (!syntax)
            return syntax.error();
        if (!syntax->exact || syntax->names.size() < trail.folders.size())
            return std::make_error_code(std::errc::invalid_argument);
        start = m_drives.root(*syntax);
        if (start.empty())
            return std::make_error_code(std::errc::no_such_file_or_directory);
        const std::size_t below = syntax->names.size() - trail.folders.size();
        for (std::size_t i = 0; i < syntax->names.size(); ++i) {
            if (i < below)
                start = join(start, toWide(syntax->names[i]));
            else
                names.push_back(toWide(syntax->names[i]));
        }
        start = DriveMap::withPrefix(start);
    }
    if (names.empty() || (!trail.folders.empty() && names.size() != trail.folders.size()))
        return std::make_error_code(std::errc::invalid_argument);
    return way;
}

Result<std::uint32_t> Win32Platform::getAttributes(std::string_view path) {
    auto host = m_drives.hostPath(path);
    if (!host)
        return host.error();
    const DWORD attributes = ::GetFileAttributesW(host->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return lastError();
    return static_cast<std::uint32_t>(attributes & kShownBits);
}

std::error_code Win32Platform::setAttributes(std::string_view path, std::uint32_t attributes) {
    auto host = m_drives.hostPath(path);
    if (!host)
        return host.error();
    return setHostAttributes(*host, attributes);
}

std::error_code Win32Platform::deleteFile(std::string_view path) {
    auto host = m_drives.hostPath(path);
    if (!host)
        return host.error();
    return deleteHostFile(*host);
}

std::unique_ptr<Pass> Win32Platform::beginPass(const PassFolders& folders) {
    return std::make_unique<Win32Pass>(*this, folders);
}

std::error_code Win32Platform::createFolder(std::string_view path) {
    if (auto error = checkNewFolderName(path))
        return error;
    auto host = m_drives.hostPath(path);
    if (!host)
        return host.error();
    if (!::CreateDirectoryW(host->c_str(), nullptr))
        return lastError();
    return {};
}

Result<std::uint64_t> Win32Platform::fileLength(std::string_view path) {
    auto host = m_drives.hostPath(path);
    if (!host)
        return host.error();
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(host->c_str(), GetFileExInfoStandard, &data))
        return lastError();
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return std::make_error_code(std::errc::is_a_directory);
    return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

Result<DateTime> Win32Platform::fileDateTime(std::string_view path) {
    auto host = m_drives.hostPath(path);
    if (!host)
        return host.error();
    // The entry itself, a link as the link; opened for its attributes, whoever holds it.
    const Handle h(
        ::CreateFileW(host->c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!h.valid() || !::GetFileInformationByHandle(h.get(), &info))
        return lastError();
    wchar_t fileSystem[MAX_PATH + 1] = {};
    const bool storedLocal = ::GetVolumeInformationByHandleW(h.get(), nullptr, 0, nullptr, nullptr,
                                                             nullptr, fileSystem, MAX_PATH + 1) &&
                             storesLocalTime(fileSystem);
    return localWriteTime(info.ftLastWriteTime, storedLocal);
}

Result<std::string> Win32Platform::readFile(std::string_view path) {
    auto host = m_drives.hostPath(path);
    if (!host)
        return host.error();
    return readHostFile(*host);
}

std::string Win32Platform::documentsFolder() {
    std::wstring folder = m_documentsFolder;
    if (folder.empty()) {
        PWSTR known = nullptr;
        if (SUCCEEDED(::SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &known)))
            folder = known;
        ::CoTaskMemFree(known);
    }
    const DWORD attributes = ::GetFileAttributesW(DriveMap::withPrefix(folder).c_str());
    if (folder.empty() || attributes == INVALID_FILE_ATTRIBUTES ||
        !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return m_drives.pathText(folder);
}

DateTime Win32Platform::now() const {
    SYSTEMTIME t{};
    ::GetLocalTime(&t);
    return dateTimeOf(t);
}

std::string Win32Platform::toUpper(std::string_view text) const {
    return mapCase(text, LCMAP_UPPERCASE);
}

std::string Win32Platform::toLower(std::string_view text) const {
    return mapCase(text, LCMAP_LOWERCASE);
}

std::error_code Win32Platform::startProgram(std::string_view path) {
    if (path.empty())
        return std::make_error_code(std::errc::invalid_argument);
    auto host = m_drives.hostPath(path);
    if (!host)
        return host.error();
    return startHostProgram(*host);
}

std::string Win32Platform::systemInformationProgram() {
    return systemInformationTool(&machineText,
                                 [this](const std::string& path) { return fileLength(path).ok(); });
}

std::string Win32Platform::executableName() const {
    wchar_t buffer[32768];
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer, 32768);
    std::wstring_view path(buffer, n);
    path = path.substr(path.find_last_of(L"\\/") + 1);
    if (const std::size_t dot = path.rfind(L'.'); dot != std::wstring_view::npos && dot > 0)
        path = path.substr(0, dot);
    return fromWide(path);
}

} // namespace win32

std::unique_ptr<Platform> createHostPlatform() {
    // Once for the whole program: a drive without its medium answers with an error instead of
    // the system's "no disk" box, whichever call reaches it.
    ::SetErrorMode(::GetErrorMode() | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    return std::make_unique<win32::Win32Platform>(std::vector<DriveMapping>(), std::string(),
                                                  std::string());
}

// The Win32 passes look at each file as they come to it.
bool lookAheadEverywhere(bool) {
    return false;
}

std::unique_ptr<Platform> createPlatformOver(std::vector<DriveMapping> drives,
                                             std::string workingFolder,
                                             std::string documentsFolder) {
    return std::make_unique<win32::Win32Platform>(std::move(drives), std::move(workingFolder),
                                                  std::move(documentsFolder));
}

} // namespace platform
