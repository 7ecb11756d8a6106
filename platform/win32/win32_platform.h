#pragma once

#include "platform/platform.h"
#include "platform/win32/drive_map.h"

#include <string>

namespace platform::win32 {

// The Platform on the wide-character Win32 API: program path text (UTF-8) is mapped onto wide
// host paths; Windows itself keeps the file rules, and the program's own stricter ones (a copy
// never replaces a hidden target and never leaves a half-written one) are added here.
class Win32Platform final : public Platform {
public:
    // `documentsFolder`: a host folder that stands for the user's documents folder.
    Win32Platform(std::vector<DriveMapping> drives, std::string workingFolder,
                  std::string documentsFolder);

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
    friend class Win32Pass;

    // The way to the file of a listed entry (Pass::reachListed): the host path of the walk's
    // start folder and the names below it down to the file's own; with an empty trail, the
    // file's own folder and its name.
    struct ListedWay {
        std::wstring start;
        std::vector<std::wstring> names;
    };
    Result<ListedWay> listedWay(std::string_view path, const ListedTrail& trail) const;

    struct Spelling {
        std::string text;  // the path text
        std::wstring host; // the wide host path, "\\?\" prefixed
    };
    // A host path's text and host path with each name spelled as the file system stores it.
    Result<Spelling> storedSpelling(const std::wstring& host) const;

    DriveMap m_drives;
    std::wstring m_documentsFolder;
};

} // namespace platform::win32
