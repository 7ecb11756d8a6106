#include "platform/posix/folder_index.h"

#include "platform/posix/host_access.h"
#include "platform/posix/listing.h"
#include "platform/posix/name_mapping.h"

namespace platform::posix {

namespace {

bool sameTime(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

bool FolderIndex::Stamp::operator==(const Stamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           sameTime(modified, other.modified) && sameTime(changed, other.changed);
}

FolderIndex::Stamp FolderIndex::stampOf(const struct stat& st) {
    return Stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

std::optional<FolderIndex::Stamp> FolderIndex::stampOf(const std::string& folder) {
    struct stat st {};
    if (statHost(folder, st, true) || !S_ISDIR(st.st_mode))
        return std::nullopt;
    return stampOf(st);
}

FolderIndex::Names* FolderIndex::current(const std::string& folder, const Stamp& stamp) {
    for (auto it = m_folders.begin(); it != m_folders.end(); ++it) {
        if (it->folder != folder)
            continue;
        if (!(it->stamp == stamp)) {
            m_folders.erase(it);
            return nullptr;
        }
        m_folders.splice(m_folders.begin(), m_folders, it);
        return &m_folders.front();
    }
    return nullptr;
}

Result<std::string> FolderIndex::find(const std::string& folder, bool driveRoot,
                                      std::string_view wanted, const CaseMapping& caseMapping,
                                      const std::optional<struct stat>& folderStat) {
    const std::optional<Stamp> stamp = folderStat ? stampOf(*folderStat) : stampOf(folder);
    Names* names = stamp ? current(folder, *stamp) : nullptr;
    if (!names) {
        Listing listing;
        if (auto error = listHostFolder(folder, driveRoot, ListDetail::Kind, listing))
            return error;
        Names fresh{folder, stamp.value_or(Stamp{}), {}};
        fresh.byUpper.reserve(listing.size());
        for (const auto& entry : listing.entries()) {
            std::string_view name = listing.name(entry);
            if (name == "." || name == "..")
                continue;
            // The first entry in listing order wins.
            fresh.byUpper.try_emplace(caseMapping.toUpper(name), listing.hostName(entry));
        }
        if (!stamp) {
            // A folder that could be listed but not stated is looked into without keeping it.
            auto found = fresh.byUpper.find(caseMapping.toUpper(wanted));
            if (found == fresh.byUpper.end())
                return std::make_error_code(std::errc::no_such_file_or_directory);
            return found->second;
        }
        m_folders.push_front(std::move(fresh));
        if (m_folders.size() > kFolders)
            m_folders.pop_back();
        names = &m_folders.front();
    }
    auto found = names->byUpper.find(caseMapping.toUpper(wanted));
    if (found == names->byUpper.end())
        return std::make_error_code(std::errc::no_such_file_or_directory);
    return found->second;
}

FolderIndex::Change FolderIndex::beginChange(const std::string& folder) {
    Change change{folder, false};
    for (const Names& names : m_folders) {
        if (names.folder == folder) {
            const std::optional<Stamp> stamp = stampOf(folder);
            change.current = stamp && *stamp == names.stamp;
            break;
        }
    }
    return change;
}

void FolderIndex::endChange(const Change& change, std::string_view addedHostName,
                            const CaseMapping& caseMapping) {
    for (auto it = m_folders.begin(); it != m_folders.end(); ++it) {
        if (it->folder != change.folder)
            continue;
        const std::optional<Stamp> stamp = change.current ? stampOf(change.folder) : std::nullopt;
        if (!stamp) {
            m_folders.erase(it);
            return;
        }
        it->stamp = *stamp;
        if (!addedHostName.empty())
            it->byUpper.try_emplace(caseMapping.toUpper(programName(addedHostName)), addedHostName);
        return;
    }
}

} // namespace platform::posix
