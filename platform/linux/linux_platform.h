#pragma once

#include "platform/linux/case_mapping.h"
#include "platform/linux/drive_table.h"
#include "platform/linux/environment.h"
#include "platform/linux/listed_file.h"
#include "platform/linux/path_resolver.h"
#include "platform/platform.h"

#include <sys/stat.h>
#include <sys/types.h>

#include <functional>
#include <optional>

namespace platform::linux_host {

// The Platform on a Linux host: program path text is mapped onto host folders through a
// drive table, and the Windows file rules are reproduced on top of the host's files.
class LinuxPlatform final : public Platform {
public:
    // With `mountInfo`, the drive table follows the mounts: whenever the drives are asked for,
    // the text it gives is compared with the last, and drives that came or went are taken in.
    // `documentsFolder`: a host folder that stands for the user's documents folder.
    LinuxPlatform(std::vector<DriveMapping> drives, std::string workingFolder,
                  std::function<std::string()> mountInfo = {}, std::string documentsFolder = {});

    std::vector<Drive> drives() override;
    char currentDrive() const override;
    std::string currentFolder(char driveLetter) const override;
    Result<HostFolder> resolveFolder(std::string_view path) override;
    Result<std::string> canonicalPath(std::string_view path) override;

    using Platform::listFolder;
    std::error_code listFolder(const HostFolder& folder, ListDetail detail,
                               Listing& out) const override;
    HostFolder childFolder(const HostFolder& parent, std::string_view hostName) const override;
    std::unique_ptr<FolderWalk> beginWalk() const override;

    Result<FileId> fileId(std::string_view path) override;
    Result<FileId> fileIdFollowing(std::string_view path) override;
    Result<std::uint32_t> getAttributes(std::string_view path) override;
    std::error_code setAttributes(std::string_view path, std::uint32_t attributes) override;
    std::error_code deleteFile(std::string_view path) override;
    std::unique_ptr<Pass> beginPass(const PassFolders& folders) override;
    std::error_code createFolder(std::string_view path) override;
    Result<std::uint64_t> fileLength(std::string_view path) override;
    Result<DateTime> fileDateTime(std::string_view path) override;
    Result<std::string> readFile(std::string_view path) override;

    std::string documentsFolder() override;
    DateTime now() const override;
    std::string toUpper(std::string_view text) const override;
    std::string toLower(std::string_view text) const override;
    std::error_code startProgram(std::string_view path) override;
    std::string systemInformationProgram() override;
    std::string executableName() const override;

private:
    friend class LinuxPass;

    // Host path of an existing entry, or of a new one whose folder exists (`last`); with
    // `entryStat`, also the entry's own stat when the lookup took one.
    Result<std::string> hostPath(std::string_view path, LastName last,
                                 std::optional<struct stat>* entryStat = nullptr);
    // The entry of a listed file (Pass::reachListed), its folders held in `reached`; with
    // `heldOnly` only where they are held already (ReachedFolders::reach).
    Result<HostEntry> listedEntry(std::string_view path, const ListedTrail& trail,
                                  ReachedFolders& reached, bool heldOnly = false);

    // Changed by drives() when the mounts change.
    DriveTable m_drives;
    std::function<std::string()> m_mountInfo;
    std::string m_mountText;
    std::string m_documentsFolder;
    CaseMapping m_caseMapping;
    FolderIndex m_folderIndex;
    UserDirsReader m_userDirs;
    mode_t m_umask;
};

} // namespace platform::linux_host
