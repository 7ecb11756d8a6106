#include "platform/win32/listing.h"

#include "platform/win32/errors.h"
#include "platform/win32/file_operations.h"
#include "platform/win32/wide_text.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform::win32 {

namespace {

// The bits the program shows.
constexpr DWORD kShownBits = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                             FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                             FILE_ATTRIBUTE_DIRECTORY;

} // namespace

bool endsListing(unsigned long error, bool firstQuery) {
    return error == ERROR_NO_MORE_FILES || (firstQuery && error == ERROR_FILE_NOT_FOUND);
}

std::error_code listOpenFolder(HANDLE folder, bool driveRoot, ListDetail detail, Listing& out) {
    out.clear();
    BY_HANDLE_FILE_INFORMATION own{};
    if (!::GetFileInformationByHandle(folder, &own))
        return lastError();
    if (!(own.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::make_error_code(std::errc::not_a_directory);
    out.id = fileIdOf(folder, own);
    // The entries' ids are kept only where the folder's "." carries the folder's own file id, as
    // a lookup of each entry would give it; a file system may list made-up ones, and one whose
    // ids need 128 bits (ReFS) lists 64 bits of them that need not be unique. Such a listing
    // keeps no ids at all: its files are then checked by kind, and found by the guard by a
    // lookup, while its folders keep their whole ids.
    bool idsConfirmed = false;
    std::vector<LONGLONG> buffer(8192);
    for (bool first = true;; first = false) {
        // The first query starts from the folder's first entry again.
        if (!::GetFileInformationByHandleEx(
                folder, first ? FileIdBothDirectoryRestartInfo : FileIdBothDirectoryInfo,
                buffer.data(), static_cast<DWORD>(buffer.size() * sizeof(LONGLONG)))) {
            const DWORD error = ::GetLastError();
            if (endsListing(error, first))
                break;
            return fromWin32(error);
        }
        const auto* bytes = reinterpret_cast<const std::byte*>(buffer.data());
        for (DWORD offset = 0, next = 1; next != 0; offset += next) {
            const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(bytes + offset);
            next = entry->NextEntryOffset;
            const std::wstring_view name(entry->FileName, entry->FileNameLength / sizeof(wchar_t));
            const auto id = static_cast<std::uint64_t>(entry->FileId.QuadPart);
            if (name == L".")
                idsConfirmed = id != 0 && out.id.high == 0 && id == out.id.inode;
            if (driveRoot && (name == L"." || name == L".."))
                continue;
            const std::string text = fromWide(name);
            const DWORD attributes = entry->FileAttributes;
            // A junction or a link to a folder carries the folder bit, and counts as a folder.
            const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            const std::uint32_t bits = detail == ListDetail::Attributes
                                           ? attributes & kShownBits
                                           : (isFolder ? Directory : 0u);
            // A reparse point's entry carries its tag where the extended attributes' size stands
            // otherwise, as FindFirstFile hands it on in dwReserved0.
            out.add(text, text, isFolder, bits, id, isLinkEntry(attributes, entry->EaSize));
        }
    }
    if (!idsConfirmed)
        out.dropIds();
    return {};
}

} // namespace platform::win32
