#include "platform/posix/listing.h"

#include "platform/posix/attributes.h"
#include "platform/posix/host_access.h"
#include "platform/posix/name_mapping.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>

namespace platform::posix {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

bool isDotEntry(std::string_view name) {
    return name == "." || name == "..";
}

// Whether an entry is a folder, looking at the entry itself only where the listing's type
// cannot tell (a link counts as a folder when it leads to one).
bool isFolderByKind(int dirFd, const dirent& e) {
    switch (e.d_type) {
    case DT_DIR:
        return true;
    case DT_LNK:
    case DT_UNKNOWN: {
        struct stat st {};
        return ::fstatat(dirFd, e.d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
    }
    default:
        return false;
    }
}

// Folder bit and attributes of an entry from its stat (links followed; a dangling link itself).
bool describe(int dirFd, const std::string& folderPath, const dirent& e,
              std::uint32_t& attributes) {
    struct stat st {};
    if (::fstatat(dirFd, e.d_name, &st, 0) != 0 &&
        ::fstatat(dirFd, e.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
        bool folder = e.d_type == DT_DIR;
        attributes = folder ? std::uint32_t{Directory} : 0u;
        return folder;
    }
    std::string_view name = isDotEntry(e.d_name) ? std::string_view() : e.d_name;
    attributes = attributesFrom(st, name, readStoredBits(shortPathAt(dirFd, folderPath, e.d_name)));
    return S_ISDIR(st.st_mode);
}

} // namespace

std::error_code listHostFolder(const std::string& path, bool driveRoot, ListDetail detail,
                               Listing& out) {
    out.clear();
    auto opened = openFolder(path);
    if (!opened)
        return opened.error();
    UniqueFd fd = std::move(opened).value();
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return lastError();
    std::unique_ptr<DIR, DirCloser> dir(::fdopendir(fd.get()));
    if (!dir)
        return lastError();
    fd.release();
    int dirFd = ::dirfd(dir.get());

    std::string mapped;
    while (true) {
        errno = 0;
        const dirent* e = ::readdir(dir.get());
        if (!e) {
            if (errno != 0) {
                std::error_code error = lastError();
                out.clear();
                return error;
            }
            break;
        }
        std::string_view name = e->d_name;
        if (driveRoot && isDotEntry(name))
            continue;
        bool folder = false;
        std::uint32_t attributes = 0;
        if (detail == ListDetail::Attributes) {
            folder = describe(dirFd, path, *e, attributes);
        } else {
            folder = isFolderByKind(dirFd, *e);
            attributes = folder ? std::uint32_t{Directory} : 0u;
        }
        if (hostNameIsProgramText(name)) {
            out.add(name, name, folder, attributes);
        } else {
            mapped.clear();
            appendProgramName(name, mapped);
            out.add(mapped, name, folder, attributes);
        }
    }
    out.id = FolderId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    return {};
}

} // namespace platform::posix
