#include "platform/linux/mount_table.h"

#include "platform/linux/hex_digit.h"

#include <dirent.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>

namespace platform::linux_host {

namespace {

bool isOctal(char c) {
    return c >= '0' && c <= '7';
}

// mountinfo writes space, tab, newline and backslash in names as "\ooo".
std::string decodeOctalEscapes(std::string_view field) {
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) &&
            isOctal(field[i + 2]) && isOctal(field[i + 3])) {
            out.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                            (field[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(field[i]);
        }
    }
    return out;
}

// udev writes unsafe characters of labels in link names as "\xHH".
std::string decodeHexEscapes(std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
            hexDigit(name[i + 2]) >= 0 && hexDigit(name[i + 3]) >= 0) {
            out.push_back(static_cast<char>(hexDigit(name[i + 2]) * 16 + hexDigit(name[i + 3])));
            i += 3;
        } else {
            out.push_back(name[i]);
        }
    }
    return out;
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        std::size_t end = line.find(' ', pos);
        if (end == std::string_view::npos)
            end = line.size();
        if (end > pos)
            fields.push_back(line.substr(pos, end - pos));
        pos = end + 1;
    }
    return fields;
}

bool isBelow(std::string_view folder, std::string_view base) {
    return folder.size() > base.size() + 1 && folder.substr(0, base.size()) == base &&
           folder[base.size()] == '/';
}

bool isVolumeFolder(std::string_view folder) {
    return isBelow(folder, "/media") || isBelow(folder, "/run/media") || isBelow(folder, "/mnt");
}

std::string realPath(const std::string& path) {
    std::unique_ptr<char, decltype(&free)> real(realpath(path.c_str(), nullptr), &free);
    return real ? std::string(real.get()) : std::string();
}

} // namespace

std::vector<MountPoint> parseMountInfo(std::string_view text) {
    std::vector<MountPoint> mounts;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::vector<std::string_view> fields = splitFields(text.substr(pos, end - pos));
        pos = end + 1;
        // id parent major:minor root mount-point options [optional fields] - type source super
        if (fields.size() < 9)
            continue;
        auto separator = std::find(fields.begin() + 6, fields.end(), "-");
        if (fields.end() - separator < 3)
            continue;
        MountPoint mount;
        mount.folder = decodeOctalEscapes(fields[4]);
        mount.type = decodeOctalEscapes(separator[1]);
        mount.source = decodeOctalEscapes(separator[2]);
        mounts.push_back(std::move(mount));
    }
    return mounts;
}

std::vector<DriveMapping> drivesFromMounts(const std::vector<MountPoint>& mounts,
                                           std::string (*labelOf)(const std::string& source),
                                           const std::vector<DriveMapping>& previous) {
    // Each volume folder once, in mount order.
    std::vector<const MountPoint*> volumes;
    for (const auto& mount : mounts) {
        if (!isVolumeFolder(mount.folder) || mount.type == "autofs")
            continue;
        if (std::none_of(volumes.begin(), volumes.end(),
                         [&](const MountPoint* v) { return v->folder == mount.folder; }))
            volumes.push_back(&mount);
    }
    std::vector<DriveMapping> drives{DriveMapping{'c', "/", {}}};
    const auto taken = [&drives](char letter) {
        return std::any_of(drives.begin(), drives.end(),
                           [letter](const DriveMapping& d) { return d.letter == letter; });
    };
    const auto add = [&](char letter, const MountPoint& mount) {
        drives.push_back(DriveMapping{letter, mount.folder, labelOf ? labelOf(mount.source) : ""});
    };
    // A volume still mounted keeps its letter, as Windows keeps it while a stick stays in.
    std::vector<const MountPoint*> fresh;
    for (const MountPoint* volume : volumes) {
        const auto before =
            std::find_if(previous.begin(), previous.end(), [&](const DriveMapping& d) {
                return d.hostRoot == volume->folder && d.letter != 'c';
            });
        if (before != previous.end() && !taken(before->letter))
            add(before->letter, *volume);
        else
            fresh.push_back(volume);
    }
    char next = 'd';
    for (const MountPoint* volume : fresh) {
        while (next <= 'z' && taken(next))
            ++next;
        if (next > 'z')
            break;
        add(next, *volume);
    }
    std::sort(drives.begin(), drives.end(),
              [](const DriveMapping& a, const DriveMapping& b) { return a.letter < b.letter; });
    return drives;
}

std::string volumeLabel(const std::string& source) {
    if (source.empty() || source.front() != '/')
        return {};
    std::string device = realPath(source);
    const std::string folder = "/dev/disk/by-label";
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), &closedir);
    if (device.empty() || !dir)
        return {};
    while (const dirent* e = readdir(dir.get())) {
        std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        if (realPath(folder + "/" + name) == device)
            return decodeHexEscapes(name);
    }
    return {};
}

std::string readMountInfo() {
    std::ifstream in("/proc/self/mountinfo", std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<DriveMapping> hostDrives() {
    return drivesFromMounts(parseMountInfo(readMountInfo()), &volumeLabel);
}

} // namespace platform::linux_host
