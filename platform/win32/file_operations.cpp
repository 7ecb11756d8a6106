#include "platform/win32/file_operations.h"

#include "platform/result.h"
#include "platform/win32/errors.h"
#include "platform/win32/handle.h"

#include <cstddef>
#include <vector>

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
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition))
        return lastError();
    return {};
}

std::error_code moveHostFile(const std::wstring& source, const std::wstring& target) {
    auto entry = openEntry(source, DELETE | FILE_READ_ATTRIBUTES, kEntryItself);
    if (!entry)
        return entry.error();
    return moveOpenFile(entry->handle.get(), entry->info, target);
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

std::error_code renameOpenFile(HANDLE file, const std::wstring& target, bool replace) {
    const std::size_t nameBytes = target.size() * sizeof(wchar_t);
    std::vector<std::byte> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = replace;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    target.copy(rename->FileName, target.size());
    if (!::SetFileInformationByHandle(file, FileRenameInfo, rename,
                                      static_cast<DWORD>(buffer.size())))
        return lastError();
    return {};
}

std::error_code moveOpenFile(HANDLE file, const BY_HANDLE_FILE_INFORMATION& info,
                             const std::wstring& target) {
    FILE_ATTRIBUTE_TAG_INFO tag{info.dwFileAttributes, 0};
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        !::GetFileInformationByHandleEx(file, FileAttributeTagInfo, &tag, sizeof tag))
        return lastError();
    if (auto refused = renameRefusal(info.dwFileAttributes, tag.ReparseTag, info.nNumberOfLinks))
        return refused;
    // Only onto a free name: the same file under another case counts as taken.
    if (::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES)
        return errc(std::errc::file_exists);
    return renameOpenFile(file, target, false);
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
    // back and the next line never runs on from a piece of this one. Shared for writing, so that
    // a second instance's lines are not refused.
    Handle h(::CreateFileW(host.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid())
        return lastError();
    // The writers take turns by a lock on one byte far past any end, which keeps no reader out:
    // each finds the end after the other's line, and cuts back nothing but its own.
    OVERLAPPED turn{};
    turn.OffsetHigh = 0x40000000;
    if (!::LockFileEx(h.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &turn))
        return lastError();
    const std::error_code error = appendOpen(h.get(), bytes);
    if (!::UnlockFileEx(h.get(), 0, 1, 0, &turn) && !error)
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
