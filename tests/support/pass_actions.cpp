#include "support/pass_actions.h"

#include <string>
#include <utility>

namespace testsupport {

namespace {

// "D:\x\y" -> "D:\x" and "y"; "D:\y" -> "D:\" and "y". A name that stands in the folder in
// another case is taken as it stands there, as Windows finds it (another spelling, such as a short
// name, is left to the action).
std::pair<std::string, std::string> split(platform::Platform& fs, std::string_view path) {
    const auto found = fs.canonicalPath(path);
    if (found && fs.toUpper(*found) == fs.toUpper(path))
        path = *found;
    const std::size_t cut = path.rfind('\\');
    std::string folder(path.substr(0, cut));
    if (folder.size() == 2 && folder[1] == ':')
        folder += '\\';
    return {folder, std::string(path.substr(cut + 1))};
}

template <class Action>
std::error_code intoFolderOf(platform::Platform& fs, std::string_view source,
                             std::string_view target, Action action) {
    auto [folder, name] = split(fs, target);
    platform::PassFolders folders;
    folders.targetId = fs.fileIdFollowing(folder).valueOr(platform::FileId{});
    folders.target = std::move(folder);
    auto pass = fs.beginPass(folders);
    auto file = pass->reachListed(source, {});
    if (!file)
        return file.error();
    return action(**file, name);
}

} // namespace

std::error_code copyFile(platform::Platform& fs, std::string_view source, std::string_view target) {
    return intoFolderOf(fs, source, target, [](platform::ListedFile& file, std::string_view name) {
        return file.copyTo(name);
    });
}

std::error_code moveFile(platform::Platform& fs, std::string_view source, std::string_view target) {
    return intoFolderOf(fs, source, target, [](platform::ListedFile& file, std::string_view name) {
        return file.moveTo(name);
    });
}

std::error_code appendToFile(platform::Platform& fs, std::string_view path,
                             std::string_view bytes) {
    auto [folder, name] = split(fs, path);
    platform::PassFolders folders;
    folders.logFolder = std::move(folder);
    folders.logName = std::move(name);
    return fs.beginPass(folders)->appendLog(bytes);
}

} // namespace testsupport
