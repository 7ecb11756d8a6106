#include "platform/linux/drive_table.h"

#include "platform/linux/name_mapping.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

namespace platform::linux_host {

namespace {

char lowerLetter(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string joinComponents(const std::vector<std::string>& components) {
    std::string path;
    for (const auto& c : components) {
        path.push_back('/');
        path.append(c);
    }
    return path.empty() ? "/" : path;
}

std::string realHostPath(std::string_view path) {
    std::unique_ptr<char, decltype(&free)> real(realpath(std::string(path).c_str(), nullptr),
                                                &free);
    return real ? std::string(real.get()) : std::string();
}

std::string workingFolderOfProcess() {
    std::unique_ptr<char, decltype(&free)> cwd(getcwd(nullptr, 0), &free);
    return cwd ? std::string(cwd.get()) : std::string("/");
}

// Number of leading components of `path` equal to `root`, or -1 when `root` is not a prefix.
int prefixLength(const std::vector<std::string>& root, const std::vector<std::string>& path) {
    if (root.size() > path.size() || !std::equal(root.begin(), root.end(), path.begin()))
        return -1;
    return static_cast<int>(root.size());
}

} // namespace

std::vector<std::string> splitHostPath(std::string_view hostPath) {
    std::vector<std::string> components;
    std::size_t pos = 0;
    while (pos <= hostPath.size()) {
        std::size_t slash = hostPath.find('/', pos);
        if (slash == std::string_view::npos)
            slash = hostPath.size();
        std::string_view part = hostPath.substr(pos, slash - pos);
        if (!part.empty() && part != ".")
            components.emplace_back(part);
        pos = slash + 1;
    }
    return components;
}

std::string formatPathText(char letter, const std::vector<std::string>& hostComponents) {
    std::string text;
    text.push_back(static_cast<char>(lowerLetter(letter) - 'a' + 'A'));
    text.append(":\\");
    for (std::size_t i = 0; i < hostComponents.size(); ++i) {
        if (i > 0)
            text.push_back('\\');
        appendProgramName(hostComponents[i], text);
    }
    return text;
}

DriveTable::DriveTable(std::vector<DriveMapping> drives, std::string workingFolder) {
    setDrives(std::move(drives));
    if (!m_drives.empty())
        m_currentDrive = m_drives.front().letter;

    if (workingFolder.empty())
        workingFolder = workingFolderOfProcess();
    if (auto location = locate(workingFolder, false)) {
        m_currentDrive = location->drive->letter;
        m_currentComponents = std::move(location->components);
    }
}

void DriveTable::setDrives(std::vector<DriveMapping> drives) {
    m_drives.clear();
    for (auto& d : drives) {
        d.letter = lowerLetter(d.letter);
        if (d.letter < 'a' || d.letter > 'z' || find(d.letter))
            continue;
        d.hostRoot = joinComponents(splitHostPath(d.hostRoot));
        m_drives.push_back(std::move(d));
    }
    std::sort(m_drives.begin(), m_drives.end(),
              [](const DriveMapping& a, const DriveMapping& b) { return a.letter < b.letter; });
    // The drive of the working folder went away: the first drive's root is current now.
    if (!find(m_currentDrive) && !m_drives.empty()) {
        m_currentDrive = m_drives.front().letter;
        m_currentComponents.clear();
    }
}

const DriveMapping* DriveTable::find(char letter) const {
    letter = lowerLetter(letter);
    for (const auto& d : m_drives)
        if (d.letter == letter)
            return &d;
    return nullptr;
}

std::vector<Drive> DriveTable::driveTexts() const {
    std::vector<Drive> result;
    for (const auto& d : m_drives) {
        Drive drive;
        drive.letter = d.letter;
        drive.text =
            std::string(1, d.letter) + ": [" + (d.label.empty() ? d.hostRoot : d.label) + "]";
        result.push_back(std::move(drive));
    }
    return result;
}

std::vector<std::string> DriveTable::currentComponents(char letter) const {
    if (lowerLetter(letter) == m_currentDrive)
        return m_currentComponents;
    return {};
}

std::string DriveTable::hostPath(const DriveMapping& drive, const std::vector<std::string>& names) {
    std::string path = drive.hostRoot;
    for (const auto& name : names) {
        if (path.back() != '/')
            path.push_back('/');
        path.append(name);
    }
    return path;
}

std::string DriveTable::pathText(std::string_view hostPath) const {
    auto location = locate(hostPath, false);
    if (!location)
        location = locate(hostPath, true);
    if (!location)
        return {};
    return formatPathText(location->drive->letter, location->components);
}

bool DriveTable::isDriveRoot(std::string_view hostPath) const {
    // The walk asks for every folder, with paths already in normal form: those are compared
    // as they are.
    const bool normal =
        !hostPath.empty() && hostPath.front() == '/' &&
        hostPath.find("//") == std::string_view::npos &&
        hostPath.find("/./") == std::string_view::npos &&
        (hostPath.size() == 1 || (!hostPath.ends_with('/') && !hostPath.ends_with("/.")));
    if (normal)
        return std::any_of(m_drives.begin(), m_drives.end(),
                           [&](const DriveMapping& d) { return d.hostRoot == hostPath; });
    std::string normalized = joinComponents(splitHostPath(hostPath));
    return std::any_of(m_drives.begin(), m_drives.end(),
                       [&](const DriveMapping& d) { return d.hostRoot == normalized; });
}

std::optional<DriveTable::Location> DriveTable::locate(std::string_view hostPath,
                                                       bool resolveLinks) const {
    std::string path(hostPath);
    if (resolveLinks) {
        path = realHostPath(path);
        if (path.empty())
            return std::nullopt;
    }
    std::vector<std::string> components = splitHostPath(path);
    // ".." after a link leads elsewhere than its text says; only the real path can tell.
    if (!resolveLinks && std::find(components.begin(), components.end(), "..") != components.end())
        return std::nullopt;
    const DriveMapping* best = nullptr;
    int bestLength = -1;
    for (const auto& d : m_drives) {
        std::string root = resolveLinks ? realHostPath(d.hostRoot) : d.hostRoot;
        if (root.empty())
            continue;
        int length = prefixLength(splitHostPath(root), components);
        if (length > bestLength) {
            best = &d;
            bestLength = length;
        }
    }
    if (!best)
        return std::nullopt;
    components.erase(components.begin(), components.begin() + bestLength);
    return Location{best, std::move(components)};
}

} // namespace platform::linux_host
