#include "platform/win32/file_operations.h"

#include "platform/result.h"
#include "platform/win32/errors.h"
#include "platform/win32/handle.h"
#include "platform/win32/open_below.h"

namespace platform::win32 {

namespace {

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

std::error_code appendOpen(HANDLE h, std::string_view bytes) {
    LARGE_INTEGER start{};
    if (!::SetFilePointerEx(h, LARGE_INTEGER{}, &start, FILE_END))
        return lastError();
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
            const std::error_code error = lastError();
            const std::error_code cut = takeBack(h, start);
            return cut ? cut : error;
        }
        bytes.remove_prefix(written);
    }
    return {};
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

Result<std::wstring> finalPathOf(HANDLE file, DWORD flags) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()), flags);
        if (length == 0)
            return lastError();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length + 1);
    }
}

Result<FileId> hostFileId(const std::wstring& host) {
    return identity(host, kEntryItself);
}

Result<FileId> hostFileIdFollowing(const std::wstring& host) {
    return identity(host, FILE_FLAG_BACKUP_SEMANTICS);
}

std::error_code setOpenAttributes(HANDLE file, unsigned long attributes) {
    constexpr DWORD stored = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                             FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
    FILE_BASIC_INFO basic{};
    if (!::GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof basic))
        return lastError();
    const DWORD old = basic.FileAttributes;
    const auto set = [&](DWORD bits) {
        // Zero times stay as they are; zero attributes would too, so "none" is NORMAL.
        FILE_BASIC_INFO change{};
        change.FileAttributes = bits ? bits : FILE_ATTRIBUTE_NORMAL;
        return ::SetFileInformationByHandle(file, FileBasicInfo, &change, sizeof change) != 0;
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

std::error_code setHostAttributes(const std::wstring& host, unsigned long attributes) {
    auto entry = openEntry(host, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES, kEntryItself);
    if (!entry)
        return entry.error();
    return setOpenAttributes(entry->handle.get(), attributes);
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
    return removeOpen(file);
}

Result<unsigned long> reparseTagOf(HANDLE file, unsigned long attributes) {
    FILE_ATTRIBUTE_TAG_INFO tag{attributes, 0};
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        !::GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof tag))
        return lastError();
    return tag.ReparseTag;
}

bool isLinkEntry(unsigned long attributes, unsigned long reparseTag) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           (reparseTag == 0 || IsReparseTagNameSurrogate(reparseTag));
}

std::error_code renameRefusal(unsigned long attributes, unsigned long reparseTag,
                              unsigned long links) {
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return errc(std::errc::is_a_directory);
    // A copy and a delete would leave a read-only source where it is.
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return errc(std::errc::permission_denied);
    // A link or a junction, or a file with a second name, would end otherwise after a copy and
    // a delete. Other reparse points (cloud placeholders, deduplicated files) are the file
    // itself and keep their history only when renamed.
    if (((attributes & FILE_ATTRIBUTE_REPARSE_POINT) && IsReparseTagNameSurrogate(reparseTag)) ||
        links > 1)
        return errc(std::errc::operation_not_supported);
    return {};
}

std::error_code moveOpenFile(HANDLE file, const BY_HANDLE_FILE_INFORMATION& info, HANDLE folder,
                             std::wstring_view name) {
    auto tag = reparseTagOf(file, info.dwFileAttributes);
    if (!tag)
        return tag.error();
    if (auto refused = renameRefusal(info.dwFileAttributes, *tag, info.nNumberOfLinks))
        return refused;
    // Only onto a free name: the same file under another case counts as taken.
    auto taken = openBelow(folder, name, FILE_READ_ATTRIBUTES, kShareAll, FILE_OPEN_REPARSE_POINT);
    if (taken)
        return errc(std::errc::file_exists);
    if (taken.error() != std::errc::no_such_file_or_directory)
        return taken.error();
    return renameBelow(file, folder, name, false);
}

std::error_code appendToOpenFile(HANDLE file, std::string_view bytes) {
    // The writers take turns by a lock on one byte far past any end, which keeps no reader out:
    // each finds the end after the other's line, and cuts back nothing but its own.
    OVERLAPPED turn{};
    turn.OffsetHigh = 0x40000000;
    if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &turn))
        return lastError();
    const std::error_code error = appendOpen(file, bytes);
    if (!::UnlockFileEx(file, 0, 1, 0, &turn) && !error)
        return lastError();
    return error;
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
