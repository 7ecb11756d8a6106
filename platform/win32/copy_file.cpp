#include "platform/win32/copy_file.h"

#include "platform/error.h"
#include "platform/result.h"
#include "platform/types.h"
#include "platform/win32/errors.h"
#include "platform/win32/file_operations.h"
#include "platform/win32/handle.h"
#include "platform/win32/in_use_wait.h"
#include "platform/win32/named_streams.h"
#include "platform/win32/open_below.h"
#include "platform/win32/replace_target.h"
#include "platform/win32/temporary_file.h"

#include <optional>
#include <string>

namespace platform::win32 {

namespace {

// What stands at the target's name: its own name, as the file system spells it, its id, and
// whether it is a link or a junction.
struct Taken {
    std::wstring name;
    FileId id;
    bool link;
};

// The open entry's own name as the file system spells it; a short (8.3) name it was reached by
// is not.
Result<std::wstring> ownName(HANDLE entry) {
    auto path = finalPathOf(entry, FILE_NAME_NORMALIZED | VOLUME_NAME_NONE);
    if (!path)
        return path.error();
    return path->substr(path->rfind(L'\\') + 1);
}

// Whether the copy may delete the target to replace it, asked before anything is written: a
// folder may let its users add files but not remove them.
std::error_code mayDelete(HANDLE folder, std::wstring_view name) {
    Result<Handle> entry = errc(std::errc::resource_unavailable_try_again);
    InUseWait wait;
    do {
        entry = openBelow(folder, name, DELETE | FILE_READ_ATTRIBUTES, kShareAll,
                          FILE_OPEN_REPARSE_POINT);
    } while (!entry && inUse(entry.error()) && wait.again());
    return entry.error();
}

// What stands at the target's name, or none where the name is free; an error where the copy may
// not replace it. Only a name that is not there is free, never one whose lookup failed otherwise.
Result<std::optional<Taken>> targetTaken(HANDLE folder, std::wstring_view name, HANDLE source,
                                         const BY_HANDLE_FILE_INFORMATION& sourceInfo) {
    auto entry = openBelow(folder, name, FILE_READ_ATTRIBUTES, kShareAll, FILE_OPEN_REPARSE_POINT);
    if (!entry) {
        if (entry.error() == std::errc::no_such_file_or_directory)
            return std::optional<Taken>();
        return entry.error();
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(entry->get(), &info))
        return lastError();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return errc(std::errc::is_a_directory);
    auto own = ownName(entry->get());
    if (!own)
        return own.error();
    if (::CompareStringOrdinal(own->data(), static_cast<int>(own->size()), name.data(),
                               static_cast<int>(name.size()), TRUE) != CSTR_EQUAL)
        return errc(std::errc::file_exists);
    const FileId id = fileIdOf(entry->get(), info);
    if (id == fileIdOf(source, sourceInfo))
        return errc(std::errc::device_or_resource_busy);
    // Windows' own copy opens an existing hidden or system file for replacing only with those
    // bits, and a read-only one not at all.
    if (info.dwFileAttributes &
        (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        return errc(std::errc::permission_denied);
    auto tag = reparseTagOf(entry->get(), info.dwFileAttributes);
    if (!tag)
        return tag.error();
    if (auto error = mayDelete(folder, *own))
        return error;
    return std::optional(Taken{*own, id, isLinkEntry(info.dwFileAttributes, *tag)});
}

// The data, the named streams and the last-write time of the source in the temporary file, on
// the disk before it takes the target's name, so that after a power cut the name never stands
// for data that was not written. The time goes before the name: where the file system cannot
// store it (FAT keeps the years 1980 to 2107) the copy fails with the old target whole.
std::error_code write(const Temporary& temporary, HANDLE source,
                      const BY_HANDLE_FILE_INFORMATION& info, CopyOutcome& outcome,
                      WriteTimeSetter setTime) {
    auto streams = namedStreamsOf(source);
    if (!streams)
        return streams.error();
    if (auto error = copyData(source, temporary.get()))
        return error;
    bool carried = true;
    if (auto error = copyNamedStreams(source, temporary.get(), *streams, carried))
        return error;
    outcome.streamsLeft = !carried;
    if (auto error = setTime(temporary.get(), info.ftLastWriteTime))
        return error;
    if (!::FlushFileBuffers(temporary.get()))
        return lastError();
    return {};
}

// The source's last-write time and attributes on the copy in its place, written through with
// its name before a move deletes the source, also where the file system keeps no journal.
std::error_code finish(HANDLE copy, const BY_HANDLE_FILE_INFORMATION& source,
                       WriteTimeSetter setTime) {
    if (auto error = setTime(copy, source.ftLastWriteTime))
        return error;
    if (auto error = setOpenAttributes(copy, source.dwFileAttributes))
        return error;
    if (!::FlushFileBuffers(copy))
        return lastError();
    return {};
}

// The copy at the target's name after ReplaceFileW, which gave it the old target's attributes:
// it keeps the temporary file's identity, which its name, no longer than the temporary one, kept
// on FAT too.
std::error_code finishReplaced(HANDLE folder, const std::wstring& name, const FileId& id,
                               const BY_HANDLE_FILE_INFORMATION& source, WriteTimeSetter setTime) {
    Result<Handle> copy = errc(std::errc::resource_unavailable_try_again);
    InUseWait wait;
    do {
        copy = openBelow(folder, name, GENERIC_WRITE | FILE_READ_ATTRIBUTES, kShareAll,
                         FILE_NON_DIRECTORY_FILE | FILE_OPEN_REPARSE_POINT);
    } while (!copy && inUse(copy.error()) && wait.again());
    if (!copy)
        return copy.error();
    BY_HANDLE_FILE_INFORMATION placed{};
    if (!::GetFileInformationByHandle(copy->get(), &placed))
        return lastError();
    if (fileIdOf(copy->get(), placed) != id)
        return make_error_code(Error::NotListed);
    return finish(copy->get(), source, setTime);
}

std::error_code place(Temporary& temporary, HANDLE folder, std::wstring_view name,
                      const std::optional<Taken>& taken, const BY_HANDLE_FILE_INFORMATION& info,
                      WriteTimeSetter setTime) {
    // Onto a free name only: a file put there meanwhile is not replaced unchecked. A link at
    // the name is replaced itself, never what it leads to.
    if (!taken || taken->link) {
        if (auto error =
                renameBelow(temporary.get(), folder, taken ? taken->name : name, taken.has_value()))
            return error;
        temporary.settled();
        return finish(temporary.get(), info, setTime);
    }
    std::error_code oldLeft;
    if (auto error = replaceTarget(temporary, folder, taken->name, taken->id, oldLeft))
        return error;
    if (auto error = finishReplaced(folder, taken->name, temporary.id(), info, setTime))
        return error;
    return oldLeft;
}

} // namespace

std::error_code setWriteTime(HANDLE file, const FILETIME& written) {
    if (!::SetFileTime(file, nullptr, nullptr, &written))
        return lastError();
    return {};
}

std::error_code copyOpenFile(HANDLE source, const BY_HANDLE_FILE_INFORMATION& info, HANDLE folder,
                             std::wstring_view name, CopyOutcome& outcome,
                             WriteTimeSetter setTime) {
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return errc(std::errc::is_a_directory);
    auto taken = targetTaken(folder, name, source, info);
    if (!taken)
        return taken.error();
    Temporary temporary(folder);
    std::error_code error =
        temporary.create(name.size(), (info.dwFileAttributes & FILE_ATTRIBUTE_ENCRYPTED) != 0);
    if (!error)
        error = write(temporary, source, info, outcome, setTime);
    if (!error)
        error = place(temporary, folder, name, *taken, info, setTime);
    if (auto left = temporary.discard())
        return left;
    return error;
}

} // namespace platform::win32
