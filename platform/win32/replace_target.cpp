#include "platform/win32/replace_target.h"

#include "platform/error.h"
#include "platform/win32/errors.h"
#include "platform/win32/file_operations.h"
#include "platform/win32/in_use_wait.h"
#include "platform/win32/open_below.h"

namespace platform::win32 {

namespace {

std::wstring join(std::wstring folder, std::wstring_view name) {
    if (folder.back() != L'\\')
        folder += L'\\';
    folder += name;
    return folder;
}

FILE_ID_DESCRIPTOR descriptorOf(const FileId& id) {
    FILE_ID_DESCRIPTOR descriptor{};
    descriptor.dwSize = sizeof descriptor;
    if (id.high == 0) {
        descriptor.Type = FileIdType;
        descriptor.FileId.QuadPart = static_cast<LONGLONG>(id.inode);
        return descriptor;
    }
    descriptor.Type = ExtendedFileIdType;
    // The 128-bit id is stored with its low byte first, as fileIdOf() reads it.
    for (int i = 0; i < 8; ++i) {
        descriptor.ExtendedFileId.Identifier[i] = static_cast<BYTE>(id.inode >> (8 * i));
        descriptor.ExtendedFileId.Identifier[8 + i] = static_cast<BYTE>(id.high >> (8 * i));
    }
    return descriptor;
}

// The old target that ReplaceFileW renamed away under a name of its own choosing: found by its id
// and removed by its name, where that name lies in the held folder and still leads to it. A file
// system that opens no file by its id (FAT) leaves it there, reported.
std::error_code removeRenamedAway(HANDLE folder, const FileId& old) {
    FILE_ID_DESCRIPTOR descriptor = descriptorOf(old);
    Handle renamed(::OpenFileById(folder, &descriptor, FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                                  FILE_FLAG_OPEN_REPARSE_POINT));
    if (!renamed.valid())
        return lastError();
    auto where = finalPathOf(renamed.get(), FILE_NAME_NORMALIZED | VOLUME_NAME_NONE);
    auto here = finalPathOf(folder, FILE_NAME_NORMALIZED | VOLUME_NAME_NONE);
    if (!where || !here)
        return where ? here.error() : where.error();
    const std::size_t cut = where->rfind(L'\\');
    if (cut == std::wstring::npos || join(*here, L"") != where->substr(0, cut + 1))
        return make_error_code(Error::NotListed);
    auto entry = openBelow(folder, std::wstring_view(*where).substr(cut + 1),
                           DELETE | FILE_READ_ATTRIBUTES, kShareAll, FILE_OPEN_REPARSE_POINT);
    if (!entry)
        return entry.error();
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(entry->get(), &info))
        return lastError();
    if (fileIdOf(entry->get(), info) != old)
        return make_error_code(Error::NotListed);
    return removeOpen(entry->get());
}

} // namespace

AfterReplace afterReplace(unsigned long error) {
    switch (error) {
    case ERROR_SUCCESS:
        return AfterReplace::Placed;
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
        return AfterReplace::TakeName;
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
        return AfterReplace::TakeNameRemoveOld;
    default:
        return AfterReplace::Failed;
    }
}

std::error_code replaceTarget(Temporary& temporary, HANDLE folder, const std::wstring& existing,
                              const FileId& existingId, std::error_code& oldLeft) {
    // ReplaceFileW takes paths: those of the held folder as its handle names it now, which have
    // no link on their way. The folder is held without delete sharing, so that it can be neither
    // renamed nor removed, and no folder above it can be renamed while a file below is open: the
    // paths reach the held folder and nothing else.
    auto here = finalPathOf(folder, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (!here)
        return here.error();
    const std::wstring replaced = join(*here, existing);
    const std::wstring replacement = join(*here, temporary.name());
    // ReplaceFileW opens the replacement sharing it with no one.
    temporary.close();
    DWORD error = ERROR_SUCCESS;
    InUseWait wait;
    do {
        error = ::ReplaceFileW(replaced.c_str(), replacement.c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS,
                               nullptr, nullptr)
                    ? ERROR_SUCCESS
                    : ::GetLastError();
    } while (error == ERROR_SHARING_VIOLATION && wait.again());
    const AfterReplace after = afterReplace(error);
    if (after == AfterReplace::Failed)
        return fromWin32(error);
    if (after != AfterReplace::Placed) {
        // The old target is gone from its name but the copy did not take it: it takes the name
        // as it would a free one, and is kept where it cannot, as the only new copy there is.
        std::error_code failed = temporary.reopen();
        if (!failed)
            failed = renameBelow(temporary.get(), folder, existing, false);
        temporary.close();
        if (failed) {
            temporary.settled();
            return failed;
        }
    }
    temporary.settled();
    if (after == AfterReplace::TakeNameRemoveOld)
        oldLeft = removeRenamedAway(folder, existingId);
    return {};
}

} // namespace platform::win32
