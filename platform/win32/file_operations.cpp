#include "platform/win32/file_operations.h"

#include "platform/win32/errors.h"
#include "platform/win32/handle.h"

#include <cstddef>
#include <cstdio>
#include <random>
#include <vector>

namespace platform::win32 {

namespace {

// The entry itself: a link is not followed, a folder is opened too.
constexpr DWORD kEntryItself = FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT;

std::error_code errc(std::errc code) {
    return std::make_error_code(code);
}

std::wstring folderOf(const std::wstring& host) {
    return host.substr(0, host.rfind(L'\\'));
}

// Cuts the file back to `start` where it still ends where the handle's writes ended.
std::error_code takeBack(HANDLE h, LARGE_INTEGER start) {
    LARGE_INTEGER end{}, size{};
    if (!::SetFilePointerEx(h, LARGE_INTEGER{}, &end, FILE_CURRENT) || !::GetFileSizeEx(h, &size))
        return lastError();
    if (size.QuadPart != end.QuadPart || end.QuadPart == start.QuadPart)
        return {};
    if (!::SetFilePointerEx(h, start, nullptr, FILE_BEGIN) || !::SetEndOfFile(h))
        return lastError();
    return {};
}

// A temporary name beside the target; O_EXCL's part is COPY_FILE_FAIL_IF_EXISTS.
std::wstring temporaryName(const std::wstring& target) {
    static std::mt19937_64 generator{std::random_device{}()};
    wchar_t name[40];
    std::swprintf(name, 40, L"\\.tilgomat-%016llx.tmp",
                  static_cast<unsigned long long>(generator()));
    return folderOf(target) + name;
}

void removeTemporary(const std::wstring& temporary) {
    ::SetFileAttributesW(temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(temporary.c_str());
}

// An open entry and what its handle tells of it.
struct OpenEntry {
    Handle handle;
    BY_HANDLE_FILE_INFORMATION info;
};

Result<OpenEntry> openEntry(const std::wstring& host, DWORD access, DWORD flags) {
    OpenEntry entry{Handle(::CreateFileW(host.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                                         flags, nullptr)),
                    {}};
    if (!entry.handle.valid() || !::GetFileInformationByHandle(entry.handle.get(), &entry.info))
        return lastError();
    return entry;
}

Result<FileId> identity(const std::wstring& host, DWORD flags) {
    auto entry = openEntry(host, 0, flags);
    if (!entry)
        return entry.error();
    return fileIdOf(entry->handle.get(), entry->info);
}

} // namespace

FileId fileIdOf(HANDLE file, const BY_HANDLE_FILE_INFORMATION& info) {
    FILE_ID_INFO wide{};
    if (::GetFileInformationByHandleEx(file, FileIdInfo, &wide, sizeof wide))
        return fileIdOf(wide);
    return FileId{info.dwVolumeSerialNumber,
                  (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow, 0};
}

FileId fileIdOf(const FILE_ID_INFO& info) {
    // The 128-bit id is stored with its low byte first.
    FileId id{info.VolumeSerialNumber, 0, 0};
    for (int i = 7; i >= 0; --i) {
        id.inode = (id.inode << 8) | info.FileId.Identifier[i];
        id.high = (id.high << 8) | info.FileId.Identifier[8 + i];
    }
    return id;
}

Result<FileId> hostFileId(const std::wstring& host) {
    return identity(host, kEntryItself);
}

Result<FileId> hostFileIdFollowing(const std::wstring& host) {
    return identity(host, FILE_FLAG_BACKUP_SEMANTICS);
}

std::error_code setHostAttributes(const std::wstring& host, unsigned long attributes) {
    constexpr DWORD stored = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                             FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    const DWORD old = ::GetFileAttributesW(host.c_str());
    if (old == INVALID_FILE_ATTRIBUTES)
        return lastError();
    const auto set = [&](DWORD bits) {
        return ::SetFileAttributesW(host.c_str(), bits ? bits : FILE_ATTRIBUTE_NORMAL) != 0;
    };
    // Read-only goes last and comes back first: Wine keeps hidden, system and archive in a
    // record on the host that a user without privileges may write only while the file is
    // writable. On Windows the order changes nothing.
    const DWORD kept = old & ~(stored | FILE_ATTRIBUTE_DIRECTORY);
    const DWORD wanted = kept | (attributes & stored);
    if ((old & FILE_ATTRIBUTE_READONLY) &&
        !set(old & ~(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return lastError();
    if (!set(wanted & ~FILE_ATTRIBUTE_READONLY))
        return lastError();
    if ((wanted & FILE_ATTRIBUTE_READONLY) && !set(wanted))
        return lastError();
    return {};
}

std::error_code deleteHostFile(const std::wstring& host) {
    auto entry = openEntry(host, DELETE | FILE_READ_ATTRIBUTES, kEntryItself);
    if (!entry)
        return entry.error();
    return deleteOpenFile(entry->handle.get(), entry->info);
}

std::error_code deleteOpenFile(HANDLE file, const BY_HANDLE_FILE_INFORMATION& info) {
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return errc(std::errc::is_a_directory);
    if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
        return errc(std::errc::permission_denied);
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition))
        return lastError();
    return {};
}

std::error_code copyHostFile(const std::wstring& source, const std::wstring& target) {
    const DWORD sourceAttributes = ::GetFileAttributesW(source.c_str());
    if (sourceAttributes == INVALID_FILE_ATTRIBUTES)
        return lastError();
    if (sourceAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return errc(std::errc::is_a_directory);
    const DWORD targetAttributes = ::GetFileAttributesW(target.c_str());
    if (targetAttributes != INVALID_FILE_ATTRIBUTES) {
        if (targetAttributes & FILE_ATTRIBUTE_DIRECTORY)
            return errc(std::errc::is_a_directory);
        if (targetAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN))
            return errc(std::errc::permission_denied);
        auto a = hostFileId(source);
        auto b = hostFileId(target);
        if (a && b && *a == *b)
            return errc(std::errc::device_or_resource_busy);
    } else if (const DWORD error = ::GetLastError(); error != ERROR_FILE_NOT_FOUND) {
        return fromWin32(error);
    }
    // CopyFileEx carries the attributes and the last-write time along.
    std::wstring temporary;
    for (int attempt = 0;; ++attempt) {
        temporary = temporaryName(target);
        if (::CopyFileExW(source.c_str(), temporary.c_str(), nullptr, nullptr, nullptr,
                          COPY_FILE_FAIL_IF_EXISTS))
            break;
        const DWORD error = ::GetLastError();
        removeTemporary(temporary);
        if ((error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) || attempt == 100)
            return fromWin32(error);
    }
    // The source's attributes once more, in the order that holds under Wine too.
    if (auto error = setHostAttributes(temporary, sourceAttributes)) {
        removeTemporary(temporary);
        return error;
    }
    if (!::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const std::error_code error = lastError();
        removeTemporary(temporary);
        return error;
    }
    return {};
}

std::error_code moveHostFile(const std::wstring& source, const std::wstring& target) {
    auto entry = openEntry(source, DELETE | FILE_READ_ATTRIBUTES, kEntryItself);
    if (!entry)
        return entry.error();
    return moveOpenFile(entry->handle.get(), entry->info, target);
}

std::error_code moveOpenFile(HANDLE file, const BY_HANDLE_FILE_INFORMATION& info,
                             const std::wstring& target) {
    const DWORD attributes = info.dwFileAttributes;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return errc(std::errc::is_a_directory);
    // A copy and a delete would leave a read-only source where it is.
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return errc(std::errc::permission_denied);
    // A link, or a file with a second name, would end otherwise after a copy and a delete.
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) || info.nNumberOfLinks > 1)
        return errc(std::errc::operation_not_supported);
    // Only onto a free name: the same file under another case counts as taken.
    if (::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES)
        return errc(std::errc::file_exists);
    const std::size_t nameBytes = target.size() * sizeof(wchar_t);
    std::vector<std::byte> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = FALSE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    target.copy(rename->FileName, target.size());
    if (!::SetFileInformationByHandle(file, FileRenameInfo, rename,
                                      static_cast<DWORD>(buffer.size())))
        return lastError();
    return {};
}

std::error_code appendToHostFile(const std::wstring& host, std::string_view bytes) {
    // Refused by the program's rules, also where the system would let its user through (Wine
    // run by root).
    if (const DWORD attributes = ::GetFileAttributesW(host.c_str());
        attributes != INVALID_FILE_ATTRIBUTES) {
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return errc(std::errc::is_a_directory);
        if (attributes & FILE_ATTRIBUTE_READONLY)
            return errc(std::errc::permission_denied);
    }
    // Opened to write anywhere, not to append only, so that a write failing part-way can be cut
    // back and the next line never runs on from a piece of this one; no one else writes while it
    // is open.
    Handle h(::CreateFileW(host.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid())
        return lastError();
    LARGE_INTEGER start{};
    if (!::SetFilePointerEx(h.get(), LARGE_INTEGER{}, &start, FILE_END))
        return lastError();
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!::WriteFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                         nullptr)) {
            const std::error_code error = lastError();
            const std::error_code cut = takeBack(h.get(), start);
            return cut ? cut : error;
        }
        bytes.remove_prefix(written);
    }
    return {};
}

Result<std::string> readHostFile(const std::wstring& host) {
    if (const DWORD attributes = ::GetFileAttributesW(host.c_str());
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return errc(std::errc::is_a_directory);
    Handle h(::CreateFileW(host.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid())
        return lastError();
    std::string bytes;
    char buffer[65536];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(h.get(), buffer, sizeof buffer, &read, nullptr))
            return lastError();
        if (read == 0)
            return bytes;
        bytes.append(buffer, read);
    }
}

} // namespace platform::win32
