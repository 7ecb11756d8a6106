#include "core/path_text.h"

#include "platform/platform.h"

#include <algorithm>

namespace core {

namespace {

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool isDriveText(std::string_view text) {
    return driveLetterOf(text) != 0 && (text.size() == 2 || text[2] == ' ');
}

std::string_view shareRootOf(std::string_view text) {
    const auto syntax = platform::parsePathText(text);
    if (!syntax || !syntax->network() || syntax->exact)
        return {};
    return text.substr(
        0, static_cast<std::size_t>(syntax->share.data() + syntax->share.size() - text.data()));
}

bool beginsWithDrive(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
    const char first = lowerAscii(text.empty() ? '\0' : text.front());
    return (first >= 'a' && first <= 'z') || !shareRootOf(text).empty();
}

bool onSameDrive(std::string_view a, std::string_view b) {
    const char letter = driveLetterOf(a);
    if (letter != 0)
        return letter == driveLetterOf(b);
    // Server and share names are found without regard to case.
    const std::string_view share = shareRootOf(a);
    return !share.empty() && std::ranges::equal(share, shareRootOf(b), {}, lowerAscii, lowerAscii);
}

std::string withTrailingBackslash(std::string folder) {
    if (folder.empty() || folder.back() != '\\')
        folder.push_back('\\');
    return folder;
}

std::string joinPath(std::string_view folder, std::string_view name) {
    std::string path = withTrailingBackslash(std::string(folder));
    path += name;
    return path;
}

std::string parentOf(std::string_view path) {
    const std::size_t root = shareRootOf(path).size();
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string_view::npos || slash + 1 == path.size() || path.size() <= root)
        return {};
    return std::string(path.substr(0, std::max<std::size_t>(slash, root ? root : 3)));
}

std::string exactPathText(std::string_view path) {
    std::string exact(platform::kExactPrefix);
    if (!shareRootOf(path).empty()) {
        exact += "UNC";
        path.remove_prefix(1);
    }
    exact += path;
    return exact;
}

} // namespace core
