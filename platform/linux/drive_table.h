#pragma once

// The drive letters and the host folders they stand for, and each drive's current folder.

#include "platform/types.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::linux_host {

// Splits a host path into its components; empty ones and "." are dropped.
std::vector<std::string> splitHostPath(std::string_view hostPath);

// Path text of a drive letter and host names below its root: "C:\" or "C:\home\anna".
std::string formatPathText(char letter, const std::vector<std::string>& hostComponents);

class DriveTable {
public:
    // `workingFolder` empty: the process's working folder.
    DriveTable(std::vector<DriveMapping> drives, std::string workingFolder);

    // In drive-letter order; host roots without a trailing "/" (except "/" itself).
    const std::vector<DriveMapping>& drives() const { return m_drives; }
    // Replaces the table (drives that came or went), keeping the current drive and its folder
    // while that drive stays.
    void setDrives(std::vector<DriveMapping> drives);
    const DriveMapping* find(char letter) const;
    std::vector<Drive> driveTexts() const;

    char currentDrive() const { return m_currentDrive; }
    // Host names of a drive's current folder below its root; empty for the root.
    std::vector<std::string> currentComponents(char letter) const;

    // The host folder of a drive root plus names below it.
    static std::string hostPath(const DriveMapping& drive, const std::vector<std::string>& names);

    // Path text of an existing host path inside one of the drives, empty outside all of them.
    std::string pathText(std::string_view hostPath) const;
    bool isDriveRoot(std::string_view hostPath) const;

private:
    struct Location {
        const DriveMapping* drive = nullptr;
        std::vector<std::string> components;
    };
    // The drive with the longest root that holds `hostPath`, compared component by component.
    std::optional<Location> locate(std::string_view hostPath, bool resolveLinks) const;

    std::vector<DriveMapping> m_drives;
    char m_currentDrive = 'c';
    std::vector<std::string> m_currentComponents;
};

} // namespace platform::linux_host
