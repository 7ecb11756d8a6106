#include "core/path_text.h"

#include <algorithm>

namespace core {

char driveLetterOf(std::string_view text) {
    if (text.size() < 2 || text[1] != ':')
        return 0;
    const char c = text[0];
    if (c >= 'A' && c <= 'Z')
        return static_cast<char>(c - 'A' + 'a');
    if (c >= 'a' && c <= 'z')
        return c;
    return 0;
}

bool isDriveText(std::string_view text) {
    return driveLetterOf(text) != 0 && (text.size() == 2 || text[2] == ' ');
}

bool onSameDrive(std::string_view a, std::string_view b) {
    const char letter = driveLetterOf(a);
    return letter != 0 && letter == driveLetterOf(b);
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
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string_view::npos || slash + 1 == path.size())
        return {};
    return std::string(path.substr(0, std::max<std::size_t>(slash, 3)));
}

} // namespace core
