#include "platform/win32/listed_file.h"

#include "platform/win32/copy_file.h"
#include "platform/win32/errors.h"
#include "platform/win32/file_operations.h"
#include "platform/win32/handle.h"
#include "platform/win32/wide_text.h"

#include <winternl.h>

#include <optional>
#include <utility>

namespace platform::win32 {

namespace {

// A held folder can be read and written in, but neither renamed nor removed.
constexpr ULONG kShareHeld = FILE_SHARE_READ | FILE_SHARE_WRITE;

std::error_code notAsListed() {
    return std::make_error_code(std::errc::identifier_removed);
}

bool isLink(const BY_HANDLE_FILE_INFORMATION& info) {
    return (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// The name inside an open folder, as CreateFileW would look it up there. `options`:
// FILE_DIRECTORY_FILE for a folder, FILE_OPEN_REPARSE_POINT for a link itself.
Result<Handle> openBelow(HANDLE folder, const std::wstring& name, ACCESS_MASK access, ULONG share,
                         ULONG options) {
    if (name.size() * sizeof(wchar_t) > 0xFFFE)
        return std::make_error_code(std::errc::filename_too_long);
    UNICODE_STRING text;
    text.Buffer = const_cast<PWSTR>(name.c_str());
    text.Length = text.MaximumLength = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &text, OBJ_CASE_INSENSITIVE, folder, nullptr);
    IO_STATUS_BLOCK status{};
    HANDLE opened = nullptr;
    const NTSTATUS result =
        ::NtCreateFile(&opened, access | SYNCHRONIZE, &attributes, &status, nullptr, 0, share,
                       FILE_OPEN, options | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    if (!NT_SUCCESS(result))
        return fromNtStatus(result);
    return Handle(opened);
}

Result<Handle> openHeldFolder(const std::wstring& host) {
    Handle folder(::CreateFileW(host.c_str(), FILE_TRAVERSE, kShareHeld, nullptr, OPEN_EXISTING,
                                FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!folder.valid())
        return lastError();
    return folder;
}

// A folder opened on the way down, compared with the folder the walk listed there (`listed`,
// none for a folder taken as it is). A name that now holds no folder, or nothing, no longer leads
// to the listed one. A folder listed without an id (FAT gives its root none) is compared by kind
// and volume only: nothing else tells it apart, and refusing it would refuse every file below.
Result<Handle> checked(Result<Handle> folder, const FileId* listed) {
    if (!folder)
        return listed && (folder.error() == std::errc::not_a_directory ||
                          folder.error() == std::errc::no_such_file_or_directory)
                   ? notAsListed()
                   : folder.error();
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(folder->get(), &info))
        return lastError();
    if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return listed ? notAsListed() : std::make_error_code(std::errc::not_a_directory);
    if (listed && fileIdOf(folder->get(), info) != *listed)
        return notAsListed();
    return folder;
}

// A listing's 64-bit id names a file only where the file's id has no upper half.
bool isListedId(const FileId& id, std::uint64_t listed) {
    return id.high == 0 && id.inode == listed;
}

bool sameVersion(const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
    return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow &&
           a.nFileSizeHigh == b.nFileSizeHigh && a.nFileSizeLow == b.nFileSizeLow &&
           ::CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0;
}

class Win32ListedFile final : public ListedFile {
public:
    Win32ListedFile(std::vector<Handle> folders, std::wstring name, const ListedTrail& trail,
                    std::wstring target)
        : m_folders(std::move(folders)), m_name(std::move(name)), m_checked(!trail.folders.empty()),
          m_id(trail.file), m_link(trail.link), m_target(std::move(target)) {}

    std::error_code check() override {
        auto file = openAsListed(0, kShareAll);
        return file ? std::error_code() : file.error();
    }

    std::error_code remove() override {
        if (m_held && m_heldForDelete) {
            // The very file the copy read, held since: refreshed for a read-only bit set
            // meanwhile, which takes no sharing.
            const Opened held = std::exchange(m_held, std::nullopt).value();
            BY_HANDLE_FILE_INFORMATION now{};
            if (!::GetFileInformationByHandle(held.handle.get(), &now))
                return lastError();
            return deleteOpenFile(held.handle.get(), now);
        }
        // A file held for its copy alone is let go, so that it can be opened for deleting.
        m_held.reset();
        auto file = openAsListed(DELETE, kShareAll);
        if (!file)
            return file.error();
        if (m_copied) {
            // What the copy read: the file itself, or the one a link leads to.
            BY_HANDLE_FILE_INFORMATION now = file->info;
            if (isLink(now)) {
                auto linked = open(0, kShareAll, 0);
                if (!linked)
                    return notAsListed();
                now = linked->info;
            }
            if (!sameVersion(now, *m_copied))
                return notAsListed();
        }
        return deleteOpenFile(file->handle.get(), file->info);
    }

    std::error_code copyTo(std::string_view name) override {
        m_copied.reset();
        m_held.reset();
        auto targetHost = inTarget(name);
        if (!targetHost)
            return targetHost.error();
        // Shared for reading only from before the copy until the file is let go: no one writes,
        // renames or deletes it, nor replaces it by its copy under another name, and a move's
        // delete acts on this very handle. Where the right to delete it is refused, or another
        // program's open keeps deleting out, it is held for the copy alone.
        bool forDelete = true;
        auto file = openAsListed(GENERIC_READ | DELETE, FILE_SHARE_READ);
        if (!file && (file.error() == std::errc::permission_denied ||
                      file.error() == std::errc::resource_unavailable_try_again)) {
            forDelete = false;
            file = openAsListed(GENERIC_READ, FILE_SHARE_READ);
        }
        if (!file)
            return file.error();
        // The copy reads what a reparse point leads to: that file is held too, sharing the
        // delete access of the entry's handle, which is the same file where the point is a
        // placeholder of the file itself.
        std::optional<Opened> linked;
        if (isLink(file->info)) {
            auto opened = open(GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, 0);
            if (!opened)
                return opened.error();
            linked = std::move(opened).value();
        }
        const Opened& read = linked ? *linked : *file;
        if (auto error = copyOpenFile(read.handle.get(), read.info, *targetHost))
            return error;
        m_copied = read.info;
        m_held = std::move(file).value();
        m_heldForDelete = forDelete;
        return {};
    }

    std::error_code moveTo(std::string_view name) override {
        auto file = openAsListed(DELETE, kShareAll);
        if (!file)
            return file.error();
        auto targetHost = inTarget(name);
        if (!targetHost)
            return targetHost.error();
        return moveOpenFile(file->handle.get(), file->info, *targetHost);
    }

private:
    struct Opened {
        Handle handle;
        BY_HANDLE_FILE_INFORMATION info;
    };

    // `name` in the pass's target folder.
    Result<std::wstring> inTarget(std::string_view name) const {
        if (m_target.empty())
            return std::make_error_code(std::errc::no_such_file_or_directory);
        std::wstring path = m_target;
        if (path.back() != L'\\')
            path += L'\\';
        return path + toWide(name);
    }

    // The name in the file's folder: with FILE_OPEN_REPARSE_POINT in `options` a link itself,
    // without it what a link leads to.
    Result<Opened> open(ACCESS_MASK access, ULONG share, ULONG options) const {
        auto handle = openBelow(m_folders.back().get(), m_name, access | FILE_READ_ATTRIBUTES,
                                share, options);
        if (!handle)
            return handle.error();
        Opened file{std::move(handle).value(), {}};
        if (!::GetFileInformationByHandle(file.handle.get(), &file.info))
            return lastError();
        return file;
    }

    // The entry at the name itself; identifier_removed where it is not the file the walk saw.
    Result<Opened> openAsListed(ACCESS_MASK access, ULONG share) const {
        auto file = open(access, share, FILE_OPEN_REPARSE_POINT);
        if (file && m_checked &&
            ((m_id != 0 && !isListedId(fileIdOf(file->handle.get(), file->info), m_id)) ||
             isLink(file->info) != m_link))
            return notAsListed();
        return file;
    }

    std::vector<Handle> m_folders; // the start folder first, the file's own folder last
    std::wstring m_name;
    bool m_checked;     // the file is compared with what the walk saw
    std::uint64_t m_id; // its file index as listed, 0 when the listing gave none
    bool m_link;
    std::wstring m_target;
    // What the last copy read, as it opened it, and the entry it held for that.
    std::optional<BY_HANDLE_FILE_INFORMATION> m_copied;
    std::optional<Opened> m_held;
    bool m_heldForDelete = false;
};

} // namespace

Result<std::unique_ptr<ListedFile>> reachListedFile(const std::wstring& start,
                                                    std::vector<std::wstring> names,
                                                    const ListedTrail& trail, std::wstring target) {
    const bool compared = !trail.folders.empty();
    if (names.empty() || (compared && names.size() != trail.folders.size()))
        return std::make_error_code(std::errc::invalid_argument);
    std::vector<Handle> folders;
    for (std::size_t i = 0; i < names.size(); ++i) {
        // A junction or a link on the way is followed; it passes only where it leads to the
        // listed folder.
        const FileId* listed = compared ? &trail.folders[i] : nullptr;
        auto folder = checked(i == 0 ? openHeldFolder(start)
                                     : openBelow(folders.back().get(), names[i - 1], FILE_TRAVERSE,
                                                 kShareHeld, FILE_DIRECTORY_FILE),
                              listed);
        if (!folder)
            return folder.error();
        folders.push_back(std::move(folder).value());
    }
    return std::unique_ptr<ListedFile>(std::make_unique<Win32ListedFile>(
        std::move(folders), std::move(names.back()), trail, std::move(target)));
}

} // namespace platform::win32
