#include "platform/linux/linux_platform.h"

#include "platform/linux/attributes.h"
#include "platform/linux/backend.h"
#include "platform/linux/environment.h"
#include "platform/linux/file_operations.h"
#include "platform/linux/folder_walk.h"
#include "platform/linux/host_access.h"
#include "platform/linux/linux_pass.h"
#include "platform/linux/listed_file.h"
#include "platform/linux/listing.h"
#include "platform/linux/local_time.h"
#include "platform/linux/mount_table.h"
#include "platform/linux/name_mapping.h"
#include "platform/path_syntax.h"

#include <sys/stat.h>

#include <ctime>

namespace platform {

namespace linux_host {

LinuxPlatform::LinuxPlatform(std::vector<DriveMapping> drives, std::string workingFolder,
                             std::function<std::string()> mountInfo, std::string documentsFolder)
    : m_drives(std::move(drives), std::move(workingFolder)), m_mountInfo(std::move(mountInfo)),
      m_mountText(m_mountInfo ? m_mountInfo() : std::string()),
      m_documentsFolder(std::move(documentsFolder)), m_umask(currentUmask()) {}

std::vector<Drive> LinuxPlatform::drives() {
    if (m_mountInfo) {
        std::string text = m_mountInfo();
        if (text != m_mountText) {
            m_drives.setDrives(
                drivesFromMounts(parseMountInfo(text), &volumeLabel, m_drives.drives()));
            m_mountText = std::move(text);
        }
    }
    return m_drives.driveTexts();
}

char LinuxPlatform::currentDrive() const {
    return m_drives.currentDrive();
}

std::string LinuxPlatform::currentFolder(char driveLetter) const {
    if (!m_drives.find(driveLetter))
        return {};
    return formatPathText(driveLetter, m_drives.currentComponents(driveLetter));
}

Result<HostFolder> LinuxPlatform::resolveFolder(std::string_view path) {
    auto resolved = resolvePath(m_drives, m_caseMapping, m_folderIndex, path, LastName::MustExist);
    if (!resolved)
        return resolved.error();
    std::string host = resolved->hostPath();
    struct stat st {};
    if (auto error = statHost(host, st, true))
        return error;
    if (!S_ISDIR(st.st_mode))
        return std::make_error_code(std::errc::not_a_directory);
    return HostFolder{std::move(host), resolved->pathText()};
}

Result<std::string> LinuxPlatform::canonicalPath(std::string_view path) {
    auto resolved = resolvePath(m_drives, m_caseMapping, m_folderIndex, path, LastName::MustExist);
    if (!resolved)
        return resolved.error();
    struct stat st {};
    if (!resolved->entryStat) {
        if (auto error = statHost(resolved->hostPath(), st, false))
            return error;
    }
    return resolved->pathText();
}

std::error_code LinuxPlatform::listFolder(const HostFolder& folder, ListDetail detail,
                                          Listing& out) const {
    return listHostFolder(folder.path, m_drives.isDriveRoot(folder.path), detail, out);
}

std::unique_ptr<FolderWalk> LinuxPlatform::beginWalk() const {
    return std::make_unique<LinuxFolderWalk>();
}

HostFolder LinuxPlatform::childFolder(const HostFolder& parent, std::string_view hostName) const {
    return HostFolder{joinHost(parent.path, hostName), {}};
}

Result<FileId> LinuxPlatform::fileId(std::string_view path) {
    std::optional<struct stat> known;
    auto host = hostPath(path, LastName::MustExist, &known);
    if (!host)
        return host.error();
    struct stat st {};
    if (known)
        st = *known;
    else if (auto error = statHost(*host, st, false))
        return error;
    return FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

Result<FileId> LinuxPlatform::fileIdFollowing(std::string_view path) {
    auto host = hostPath(path, LastName::MustExist);
    if (!host)
        return host.error();
    struct stat st {};
    if (auto error = statHost(*host, st, true))
        return error;
    return FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

Result<HostEntry> LinuxPlatform::listedEntry(std::string_view path, const ListedTrail& trail,
                                             ReachedFolders& reached, bool heldOnly) {
    if (trail.folders.empty()) {
        auto host = hostPath(path, LastName::MustExist);
        if (!host)
            return host.error();
        auto entry = openEntry(*host);
        if (entry)
            entry->pinned = true;
        return entry;
    }
    // The trail's folders are the last names of the path but one: the start folder is what the
    // names before them lead to.
    auto syntax = parsePathText(path);
    if (!syntax)
        return syntax.error();
    const DriveMapping* drive = m_drives.find(syntax->letter);
    if (!syntax->exact || !drive || syntax->names.size() < trail.folders.size())
        return std::make_error_code(std::errc::invalid_argument);
    std::vector<std::string> names;
    for (std::string_view name : syntax->names)
        names.push_back(hostName(name));
    const auto below = names.end() - static_cast<std::ptrdiff_t>(trail.folders.size());
    const std::string start =
        DriveTable::hostPath(*drive, std::vector<std::string>(names.begin(), below));
    return reached.reach(start, std::vector<std::string>(below, names.end()), trail, heldOnly);
}

Result<std::uint32_t> LinuxPlatform::getAttributes(std::string_view path) {
    auto host = hostPath(path, LastName::MustExist);
    if (!host)
        return host.error();
    auto entry = openEntry(*host);
    if (!entry)
        return entry.error();
    return readAttributes(*entry);
}

std::error_code LinuxPlatform::setAttributes(std::string_view path, std::uint32_t attributes) {
    auto host = hostPath(path, LastName::MustExist);
    if (!host)
        return host.error();
    auto entry = openEntry(*host);
    if (!entry)
        return entry.error();
    return writeAttributes(*entry, attributes, m_umask);
}

std::error_code LinuxPlatform::deleteFile(std::string_view path) {
    std::optional<struct stat> known;
    auto host = hostPath(path, LastName::MustExist, &known);
    if (!host)
        return host.error();
    return deleteHostFile(*host, known ? &*known : nullptr);
}

std::unique_ptr<Pass> LinuxPlatform::beginPass(const PassFolders& folders) {
    return std::make_unique<LinuxPass>(*this, folders);
}

std::error_code LinuxPlatform::createFolder(std::string_view path) {
    if (auto error = checkNewFolderName(path))
        return error;
    auto host = hostPath(path, LastName::MayBeMissing);
    if (!host)
        return host.error();
    return createHostFolder(*host);
}

Result<std::uint64_t> LinuxPlatform::fileLength(std::string_view path) {
    auto host = hostPath(path, LastName::MustExist);
    if (!host)
        return host.error();
    return hostFileLength(*host);
}

Result<DateTime> LinuxPlatform::fileDateTime(std::string_view path) {
    auto host = hostPath(path, LastName::MustExist);
    if (!host)
        return host.error();
    return hostFileDateTime(*host);
}

Result<std::string> LinuxPlatform::readFile(std::string_view path) {
    auto host = hostPath(path, LastName::MustExist);
    if (!host)
        return host.error();
    return readHostFile(*host);
}

std::string LinuxPlatform::documentsFolder() {
    if (!m_documentsFolder.empty()) {
        struct stat st {};
        if (statHost(m_documentsFolder, st, true) || !S_ISDIR(st.st_mode))
            return {};
        return m_drives.pathText(m_documentsFolder);
    }
    std::string host = documentsHostFolder(m_userDirs);
    return host.empty() ? std::string() : m_drives.pathText(host);
}

DateTime LinuxPlatform::now() const {
    return localDateTime(std::time(nullptr));
}

std::string LinuxPlatform::toUpper(std::string_view text) const {
    return m_caseMapping.toUpper(text);
}

std::string LinuxPlatform::toLower(std::string_view text) const {
    return m_caseMapping.toLower(text);
}

std::error_code LinuxPlatform::startProgram(std::string_view path) {
    if (path.empty())
        return std::make_error_code(std::errc::invalid_argument);
    auto host = hostPath(path, LastName::MustExist);
    if (!host)
        return host.error();
    return spawnDetached(*host);
}

std::string LinuxPlatform::systemInformationProgram() {
    const std::string host = desktopSystemInformationProgram();
    return host.empty() ? std::string() : m_drives.pathText(host);
}

std::string LinuxPlatform::executableName() const {
    return programName(executableBaseName());
}

Result<std::string> LinuxPlatform::hostPath(std::string_view path, LastName last,
                                            std::optional<struct stat>* entryStat) {
    auto resolved = resolvePath(m_drives, m_caseMapping, m_folderIndex, path, last);
    if (!resolved)
        return resolved.error();
    if (entryStat)
        *entryStat = resolved->entryStat;
    return resolved->hostPath();
}

} // namespace linux_host

std::unique_ptr<Platform> createPlatformOver(std::vector<DriveMapping> drives,
                                             std::string workingFolder,
                                             std::string documentsFolder) {
    return std::make_unique<linux_host::LinuxPlatform>(std::move(drives), std::move(workingFolder),
                                                       std::function<std::string()>(),
                                                       std::move(documentsFolder));
}

std::unique_ptr<Platform> createHostPlatform() {
    return std::make_unique<linux_host::LinuxPlatform>(linux_host::hostDrives(), std::string(),
                                                       &linux_host::readMountInfo);
}

std::unique_ptr<Platform>
linux_host::createFollowingMounts(std::vector<DriveMapping> drives, std::string workingFolder,
                                  std::function<std::string()> mountInfo) {
    return std::make_unique<LinuxPlatform>(std::move(drives), std::move(workingFolder),
                                           std::move(mountInfo));
}

} // namespace platform
