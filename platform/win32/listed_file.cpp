#include "platform/win32/listed_file.h"

#include "platform/error.h"
#include "platform/win32/copy_file.h"
#include "platform/win32/errors.h"
#include "platform/win32/file_operations.h"
#include "platform/win32/open_below.h"
#include "platform/win32/wide_text.h"

#include <optional>
#include <utility>

namespace platform::win32 {

namespace {

std::error_code notAsListed() {
    return make_error_code(platform::Error::NotListed);
}

bool isReparsePoint(const BY_HANDLE_FILE_INFORMATION& info) {
    return (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
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
    Win32ListedFile(std::shared_ptr<const Handle> folder, std::wstring name,
                    const ListedTrail& trail, HANDLE target)
        : m_folder(std::move(folder)), m_name(std::move(name)), m_checked(!trail.folders.empty()),
          m_id(trail.file), m_link(trail.link), m_target(target) {}

    std::error_code check() override {
        auto file = openAsListed(0, kShareAll);
        return file ? std::error_code() : file.error();
    }

    std::error_code remove() override {
        // A move keeps its source where its copy could not carry all of it.
        if (m_copied && m_streamsLeft)
            return std::make_error_code(std::errc::operation_not_supported);
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
            // What the copy read: the file itself, or the one a reparse point leads to.
            BY_HANDLE_FILE_INFORMATION now = file->info;
            if (isReparsePoint(now)) {
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
        if (!m_target)
            return std::make_error_code(std::errc::no_such_file_or_directory);
        // Shared for reading only from before the copy until the file is let go: no one writes,
        // renames or deletes it, nor replaces it by its copy under another name. The right to
        // delete it is asked for only where a delete follows, a move's, which then acts on this
        // very handle: a read-only share refuses it. Where it is refused, or another program's
        // open keeps deleting out, the file is held for the copy alone.
        bool forDelete = m_deleteFollows;
        auto file = openAsListed(GENERIC_READ | (forDelete ? DELETE : 0), FILE_SHARE_READ);
        if (forDelete && !file &&
            (file.error() == std::errc::permission_denied ||
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
        if (isReparsePoint(file->info)) {
            auto opened = open(GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, 0);
            if (!opened)
                return opened.error();
            linked = std::move(opened).value();
        }
        const Opened& read = linked ? *linked : *file;
        CopyOutcome outcome;
        if (auto error =
                copyOpenFile(read.handle.get(), read.info, m_target, toWide(name), outcome))
            return error;
        m_copied = read.info;
        m_streamsLeft = outcome.streamsLeft;
        m_held = std::move(file).value();
        m_heldForDelete = forDelete;
        return {};
    }

    std::error_code moveTo(std::string_view name) override {
        // Whatever the move's answer, a copy and a delete follow where it did not move the file.
        m_deleteFollows = true;
        auto file = openAsListed(DELETE, kShareAll);
        if (!file)
            return file.error();
        if (!m_target)
            return std::make_error_code(std::errc::no_such_file_or_directory);
        return moveOpenFile(file->handle.get(), file->info, m_target, toWide(name));
    }

private:
    struct Opened {
        Handle handle;
        BY_HANDLE_FILE_INFORMATION info;
    };

    // The name in the file's folder: with FILE_OPEN_REPARSE_POINT in `options` a link itself,
    // without it what a link leads to.
    Result<Opened> open(ACCESS_MASK access, ULONG share, ULONG options) const {
        auto handle =
            openBelow(m_folder->get(), m_name, access | FILE_READ_ATTRIBUTES, share, options);
        if (!handle)
            return handle.error();
        Opened file{std::move(handle).value(), {}};
        if (!::GetFileInformationByHandle(file.handle.get(), &file.info))
            return lastError();
        return file;
    }

    // The entry at the name itself; Error::NotListed where it is not the file the walk saw.
    // Only a link counts as another kind: a file that became a cloud placeholder since the
    // listing is still the listed file.
    Result<Opened> openAsListed(ACCESS_MASK access, ULONG share) const {
        auto file = open(access, share, FILE_OPEN_REPARSE_POINT);
        if (!file || !m_checked)
            return file;
        if (m_id != 0 && !isListedId(fileIdOf(file->handle.get(), file->info), m_id))
            return notAsListed();
        auto tag = reparseTagOf(file->handle.get(), file->info.dwFileAttributes);
        if (!tag)
            return tag.error();
        if (isLinkEntry(file->info.dwFileAttributes, *tag) != m_link)
            return notAsListed();
        return file;
    }

    std::shared_ptr<const Handle> m_folder; // the file's own folder, held by the pass
    std::wstring m_name;
    bool m_checked;     // the file is compared with what the walk saw
    std::uint64_t m_id; // its file index as listed, 0 when the listing gave none
    bool m_link;
    HANDLE m_target;
    bool m_deleteFollows = false;
    // What the last copy read, as it opened it, and the entry it held for that.
    std::optional<BY_HANDLE_FILE_INFORMATION> m_copied;
    bool m_streamsLeft = false;
    std::optional<Opened> m_held;
    bool m_heldForDelete = false;
};

} // namespace

std::unique_ptr<ListedFile> listedFile(std::shared_ptr<const Handle> folder, std::wstring name,
                                       const ListedTrail& trail, HANDLE target) {
    return std::make_unique<Win32ListedFile>(std::move(folder), std::move(name), trail, target);
}

} // namespace platform::win32
