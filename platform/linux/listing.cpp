#include "platform/linux/listing.h"

#include "platform/linux/attributes.h"
#include "platform/linux/host_access.h"
#include "platform/linux/name_mapping.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <cstddef>
#include <cstring>

namespace platform::linux_host {

namespace {

bool isDotEntry(std::string_view name) {
    return name == "." || name == "..";
}

// The listing's type of an entry, looked up only where the file system gives none ("." and
// ".." are folders whatever it gives: a look at them would cost a share a round trip each).
unsigned char typeOf(int dirFd, const char* name, unsigned char type) {
    if (type != DT_UNKNOWN)
        return type;
    if (isDotEntry(name))
        return DT_DIR;
    struct stat st {};
    if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
        return DT_UNKNOWN;
    return S_ISLNK(st.st_mode) ? DT_LNK : S_ISDIR(st.st_mode) ? DT_DIR : DT_REG;
}

// Whether an entry is a folder, looking at the entry itself only where the listing's type
// cannot tell (a link counts as a folder when it leads to one).
bool isFolderByKind(int dirFd, const char* name, unsigned char type) {
    switch (type) {
    case DT_DIR:
        return true;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat st {};
        return ::fstatat(dirFd, name, &st, 0) == 0 && S_ISDIR(st.st_mode);
    }
    default:
        return false;
    }
}

// Folder bit and attributes of an entry from its stat (links followed; a dangling link itself).
bool describe(int dirFd, const std::string& folderPath, const char* name, unsigned char type,
              std::uint32_t& attributes) {
    struct stat st {};
    if (::fstatat(dirFd, name, &st, 0) != 0 &&
        ::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
        bool folder = type == DT_DIR;
        attributes = folder ? std::uint32_t{Directory} : 0u;
        return folder;
    }
    std::string_view ownName = isDotEntry(name) ? std::string_view() : name;
    attributes = attributesFrom(st, ownName, readStoredBits(shortPathAt(dirFd, folderPath, name)));
    return S_ISDIR(st.st_mode);
}

// The identity of an open folder, and its change time. The identity never changes, so a network
// file system may answer from what it knows of the folder already instead of asking the server
// again: on a share that keeps nothing between requests, that is one round trip less per folder.
// A change time so taken may be old there; it is compared only on local file systems, which
// always know it (birth_times.h).
std::error_code identityOf(int folderFd, FileId& id, std::int64_t& changed) {
    struct statx sx {};
    if (::statx(folderFd, "", AT_EMPTY_PATH | AT_STATX_DONT_SYNC, STATX_INO | STATX_CTIME, &sx) ==
        0) {
        id = FileId{static_cast<std::uint64_t>(makedev(sx.stx_dev_major, sx.stx_dev_minor)),
                    static_cast<std::uint64_t>(sx.stx_ino)};
        changed = (sx.stx_mask & STATX_CTIME)
                      ? nanoseconds({static_cast<time_t>(sx.stx_ctime.tv_sec),
                                     static_cast<long>(sx.stx_ctime.tv_nsec)})
                      : 0;
        return {};
    }
    // Where the system has no statx (or a sandbox refuses it), as before it.
    struct stat st {};
    if (::fstat(folderFd, &st) != 0)
        return lastError();
    id = FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    changed = nanoseconds(st.st_ctim);
    return {};
}

// The entries come straight from getdents64 into one buffer that every listing reuses: a
// folder costs its open, one look at its identity, the reads and the close, and no
// allocation per entry.
constexpr std::size_t kBufferSize = 64 * 1024;

char* listingBuffer() {
    alignas(struct dirent64) static thread_local char buffer[kBufferSize];
    return buffer;
}

} // namespace

std::error_code listHostFolder(const std::string& path, bool driveRoot, ListDetail detail,
                               Listing& out) {
    out.clear();
    auto opened = openFolder(path);
    if (!opened)
        return opened.error();
    return listOpenFolder(opened->get(), path, driveRoot, detail, out);
}

std::error_code listOpenFolder(int folderFd, const std::string& path, bool driveRoot,
                               ListDetail detail, Listing& out) {
    out.clear();
    FileId folderId;
    std::int64_t changed = 0;
    if (std::error_code error = identityOf(folderFd, folderId, changed))
        return error;

    char* const buffer = listingBuffer();
    std::string mapped;
    // The listing's inode numbers are kept only where its "." agrees with the folder's own
    // stat: some file systems (FUSE without its own inode numbers) list made-up ones.
    bool idsConfirmed = false;
    while (true) {
        const ssize_t filled = ::getdents64(folderFd, buffer, kBufferSize);
        if (filled < 0) {
            std::error_code error = lastError();
            out.clear();
            return error;
        }
        if (filled == 0)
            break;
        for (ssize_t offset = 0; offset < filled;) {
            const auto* e = reinterpret_cast<const struct dirent64*>(buffer + offset);
            offset += e->d_reclen;
            std::string_view name = e->d_name;
            if (name == ".")
                idsConfirmed = e->d_ino == folderId.inode;
            if (driveRoot && isDotEntry(name))
                continue;
            const unsigned char type = typeOf(folderFd, e->d_name, e->d_type);
            bool folder = false;
            std::uint32_t attributes = 0;
            if (detail == ListDetail::Attributes) {
                folder = describe(folderFd, path, e->d_name, type, attributes);
            } else {
                folder = isFolderByKind(folderFd, e->d_name, type);
                attributes = folder ? std::uint32_t{Directory} : 0u;
            }
            const bool link = type == DT_LNK;
            if (hostNameIsProgramText(name)) {
                out.add(name, name, folder, attributes, e->d_ino, link);
            } else {
                mapped.clear();
                appendProgramName(name, mapped);
                out.add(mapped, name, folder, attributes, e->d_ino, link);
            }
        }
    }
    if (!idsConfirmed)
        out.dropIds();
    out.id = folderId;
    out.changed = changed;
    return {};
}

} // namespace platform::linux_host
