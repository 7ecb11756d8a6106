#include "platform/win32/copy_file.h"

#include "platform/result.h"
#include "platform/types.h"
#include "platform/win32/errors.h"
#include "platform/win32/file_operations.h"
#include "platform/win32/handle.h"

#include <cstdio>
#include <optional>
#include <random>
#include <string_view>
#include <vector>

namespace platform::win32 {

namespace {

std::wstring_view leafOf(std::wstring_view host) {
    return host.substr(host.rfind(L'\\') + 1);
}

// The open entry's own name as the file system spells it; a short (8.3) name it was reached by
// is not.
Result<std::wstring> ownName(HANDLE entry) {
    std::vector<wchar_t> found(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetFinalPathNameByHandleW(entry, found.data(), static_cast<DWORD>(found.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_NONE);
        if (length == 0)
            return lastError();
        if (length < found.size())
            return std::wstring(leafOf({found.data(), length}));
        found.resize(length + 1);
    }
}

// What stands at the target's name: its host path, spelled as its name is, and whether it is a
// link or a junction.
struct Taken {
    std::wstring path;
    bool link;
};

// What stands at the target's name, or none where the name is free; an error where the copy may
// not replace it. Only a name that is not there is free, never one whose lookup failed otherwise.
Result<std::optional<Taken>> targetTaken(const std::wstring& target, HANDLE source,
                                         const BY_HANDLE_FILE_INFORMATION& sourceInfo) {
    Handle entry(::CreateFileW(target.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                               OPEN_EXISTING, kEntryItself, nullptr));
    if (!entry.valid()) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND)
            return std::optional<Taken>();
        return fromWin32(error);
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(entry.get(), &info))
        return lastError();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return errc(std::errc::is_a_directory);
    auto name = ownName(entry.get());
    if (!name)
        return name.error();
    const std::wstring_view asked = leafOf(target);
    if (::CompareStringOrdinal(name->data(), static_cast<int>(name->size()), asked.data(),
                               static_cast<int>(asked.size()), TRUE) != CSTR_EQUAL)
        return errc(std::errc::file_exists);
    if (fileIdOf(entry.get(), info) == fileIdOf(source, sourceInfo))
        return errc(std::errc::device_or_resource_busy);
    // Windows' own copy opens an existing hidden or system file for replacing only with those
    // bits, and a read-only one not at all.
    if (info.dwFileAttributes &
        (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        return errc(std::errc::permission_denied);
    FILE_ATTRIBUTE_TAG_INFO tag{info.dwFileAttributes, 0};
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        !::GetFileInformationByHandleEx(entry.get(), FileAttributeTagInfo, &tag, sizeof tag))
        return lastError();
    return std::optional(Taken{target.substr(0, target.size() - asked.size()) + *name,
                               (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                                   IsReparseTagNameSurrogate(tag.ReparseTag)});
}

// The hidden temporary file beside the target that this copy created. Unless it took the
// target's place it is removed again: by its own handle, or, once ReplaceFileW needed that
// closed, only where its name still leads to it.
class Temporary {
public:
    explicit Temporary(const std::wstring& target)
        : m_folder(target.substr(0, target.rfind(L'\\'))) {}
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;
    ~Temporary() { discard(); }

    std::error_code create() {
        static std::mt19937_64 generator{std::random_device{}()};
        for (int attempt = 0; attempt < 100; ++attempt) {
            wchar_t name[40];
            std::swprintf(name, 40, L"\\.tilgomat-%016llx.tmp",
                          static_cast<unsigned long long>(generator()));
            m_path = m_folder + name;
            // A name that is taken belongs to someone else and is left alone.
            m_handle =
                Handle(::CreateFileW(m_path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0,
                                     nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr));
            if (m_handle.valid()) {
                BY_HANDLE_FILE_INFORMATION info{};
                if (!::GetFileInformationByHandle(m_handle.get(), &info))
                    return lastError();
                m_id = fileIdOf(m_handle.get(), info);
                return {};
            }
            if (const DWORD error = ::GetLastError();
                error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
                return fromWin32(error);
        }
        return errc(std::errc::file_exists);
    }

    HANDLE get() const { return m_handle.get(); }
    const std::wstring& path() const { return m_path; }
    const FileId& id() const { return m_id; }
    void close() { m_handle = Handle(INVALID_HANDLE_VALUE); }
    // It stands at the target's name now.
    void placed() { m_placed = true; }

private:
    void discard() {
        if (m_placed || m_path.empty())
            return;
        if (!m_handle.valid()) {
            Handle again(::CreateFileW(m_path.c_str(), DELETE | FILE_READ_ATTRIBUTES, kShareAll,
                                       nullptr, OPEN_EXISTING, kEntryItself, nullptr));
            BY_HANDLE_FILE_INFORMATION info{};
            if (!again.valid() || !::GetFileInformationByHandle(again.get(), &info) ||
                fileIdOf(again.get(), info) != m_id)
                return;
            m_handle = std::move(again);
        }
        // Removing it is tidying up after a failure already reported.
        FILE_DISPOSITION_INFO disposition{TRUE};
        ::SetFileInformationByHandle(m_handle.get(), FileDispositionInfo, &disposition,
                                     sizeof disposition);
    }

    std::wstring m_folder;
    std::wstring m_path;
    Handle m_handle{INVALID_HANDLE_VALUE};
    FileId m_id;
    bool m_placed = false;
};

std::error_code copyData(HANDLE in, HANDLE out) {
    if (!::SetFilePointerEx(in, LARGE_INTEGER{}, nullptr, FILE_BEGIN))
        return lastError();
    std::vector<char> buffer(std::size_t(1) << 20);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(in, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr))
            return lastError();
        if (read == 0)
            return {};
        for (DWORD done = 0; done < read;) {
            DWORD written = 0;
            if (!::WriteFile(out, buffer.data() + done, read - done, &written, nullptr))
                return lastError();
            done += written;
        }
    }
}

// The source's last-write time and attributes on the copy in its place, written through with
// its name before a move deletes the source, also where the file system keeps no journal.
std::error_code finish(HANDLE copy, const BY_HANDLE_FILE_INFORMATION& source) {
    if (!::SetFileTime(copy, nullptr, nullptr, &source.ftLastWriteTime))
        return lastError();
    if (auto error = setOpenAttributes(copy, source.dwFileAttributes))
        return error;
    if (!::FlushFileBuffers(copy))
        return lastError();
    return {};
}

} // namespace

std::error_code copyOpenFile(HANDLE source, const BY_HANDLE_FILE_INFORMATION& info,
                             const std::wstring& target) {
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return errc(std::errc::is_a_directory);
    auto taken = targetTaken(target, source, info);
    if (!taken)
        return taken.error();
    Temporary temporary(target);
    if (auto error = temporary.create())
        return error;
    if (auto error = copyData(source, temporary.get()))
        return error;
    // On the disk before it takes the name, so that after a power cut the name never stands
    // for data that was not written.
    if (!::FlushFileBuffers(temporary.get()))
        return lastError();
    // Onto a free name only: a file put there meanwhile is not replaced unchecked. A link at
    // the name is replaced itself, never what it leads to.
    if (!*taken || (*taken)->link) {
        if (auto error = renameOpenFile(temporary.get(), *taken ? (*taken)->path : target,
                                        taken->has_value()))
            return error;
        temporary.placed();
        return finish(temporary.get(), info);
    }
    // ReplaceFileW opens the replacement sharing it with no one.
    temporary.close();
    // By the name the target has, which it keeps.
    const std::wstring& existing = (*taken)->path;
    if (!::ReplaceFileW(existing.c_str(), temporary.path().c_str(), nullptr,
                        REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                        nullptr)) {
        const DWORD error = ::GetLastError();
        // The old target is gone from its name but the copy did not take it: it takes the
        // name as it would a free one.
        if (error != ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
            error != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
            return fromWin32(error);
        if (!::MoveFileExW(temporary.path().c_str(), existing.c_str(), MOVEFILE_WRITE_THROUGH))
            return lastError();
    }
    temporary.placed();
    // The copy keeps the temporary file's identity; ReplaceFileW gave it the old target's
    // attributes, which are set as the source's once more.
    Handle copy(::CreateFileW(existing.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, kShareAll,
                              nullptr, OPEN_EXISTING, kEntryItself, nullptr));
    BY_HANDLE_FILE_INFORMATION placed{};
    if (!copy.valid() || !::GetFileInformationByHandle(copy.get(), &placed))
        return lastError();
    if (fileIdOf(copy.get(), placed) != temporary.id())
        return errc(std::errc::identifier_removed);
    return finish(copy.get(), info);
}

std::error_code copyHostFile(const std::wstring& source, const std::wstring& target) {
    // Shared for reading only while the copy runs: no one writes, renames or deletes it.
    Handle in(::CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!in.valid() || !::GetFileInformationByHandle(in.get(), &info))
        return lastError();
    return copyOpenFile(in.get(), info, target);
}

} // namespace platform::win32
