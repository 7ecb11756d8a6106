#include "platform/win32/open_below.h"

#include "platform/win32/errors.h"

#include <ntstatus.h>

#include <cstddef>
#include <vector>

namespace platform::win32 {

namespace {

// The native class of a disposition with flags, which the headers at hand do not name.
constexpr auto kDispositionInformationEx = static_cast<FILE_INFORMATION_CLASS>(64);

Result<UNICODE_STRING> counted(std::wstring_view name) {
    if (name.size() * sizeof(wchar_t) > 0xFFFE)
        return std::make_error_code(std::errc::filename_too_long);
    UNICODE_STRING text;
    text.Buffer = const_cast<PWSTR>(name.data());
    text.Length = text.MaximumLength = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    return text;
}

} // namespace

Result<Handle> openBelow(HANDLE folder, std::wstring_view name, ACCESS_MASK access, ULONG share,
                         ULONG options, ULONG disposition, ULONG attributes) {
    auto text = counted(name);
    if (!text)
        return text.error();
    OBJECT_ATTRIBUTES object;
    InitializeObjectAttributes(&object, &*text, OBJ_CASE_INSENSITIVE, folder, nullptr);
    IO_STATUS_BLOCK status{};
    HANDLE opened = nullptr;
    const NTSTATUS result =
        ::NtCreateFile(&opened, access | SYNCHRONIZE, &object, &status, nullptr, attributes, share,
                       disposition, options | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    if (!NT_SUCCESS(result))
        return fromNtStatus(result);
    return Handle(opened);
}

std::error_code renameBelow(HANDLE file, HANDLE folder, std::wstring_view name, bool replace) {
    const std::size_t nameBytes = name.size() * sizeof(wchar_t);
    std::vector<std::byte> buffer(sizeof(FILE_RENAME_INFORMATION) + nameBytes);
    auto* rename = reinterpret_cast<FILE_RENAME_INFORMATION*>(buffer.data());
    rename->ReplaceIfExists = replace;
    rename->RootDirectory = folder;
    rename->FileNameLength = static_cast<ULONG>(nameBytes);
    name.copy(rename->FileName, name.size());
    IO_STATUS_BLOCK status{};
    const NTSTATUS result = ::NtSetInformationFile(
        file, &status, buffer.data(), static_cast<ULONG>(buffer.size()), FileRenameInformation);
    return NT_SUCCESS(result) ? std::error_code() : fromNtStatus(result);
}

bool classicDeleteFollows(long status) {
    return status == STATUS_NOT_IMPLEMENTED || status == STATUS_INVALID_INFO_CLASS ||
           status == STATUS_INVALID_PARAMETER || status == STATUS_NOT_SUPPORTED;
}

std::error_code removeOpen(HANDLE file) {
    ULONG flags = FILE_DISPOSITION_FLAG_DELETE | FILE_DISPOSITION_FLAG_POSIX_SEMANTICS;
    IO_STATUS_BLOCK status{};
    const NTSTATUS result =
        ::NtSetInformationFile(file, &status, &flags, sizeof flags, kDispositionInformationEx);
    if (NT_SUCCESS(result))
        return {};
    if (!classicDeleteFollows(result))
        return fromNtStatus(result);
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!::SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition))
        return lastError();
    return {};
}

} // namespace platform::win32
