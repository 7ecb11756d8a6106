#include "platform/path_syntax.h"

#include "platform/platform.h"

#include <algorithm>
#include <string>

namespace platform {

namespace {

// What follows kExactPrefix in the exact text of a network path, before its server.
constexpr std::string_view kExactNetwork = "UNC\\";

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isDeviceName(std::string_view name) {
    // The device is the part before the first dot, trailing spaces aside.
    name = name.substr(0, name.find('.'));
    while (name.ends_with(' '))
        name.remove_suffix(1);
    std::string base;
    for (char c : name)
        base += upper(c);
    for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (base == device)
            return true;
    if (!base.starts_with("COM") && !base.starts_with("LPT"))
        return false;
    // A port numbered 0 to 9, or with a superscript one, two or three (UTF-8).
    const std::string_view number = std::string_view(base).substr(3);
    return (number.size() == 1 && number[0] >= '0' && number[0] <= '9') || number == "\xC2\xB9" ||
           number == "\xC2\xB2" || number == "\xC2\xB3";
}

} // namespace

char driveLetterOf(std::string_view text) {
    if (text.size() < 2 || text[1] != ':')
        return 0;
    const char c = static_cast<char>(text[0] | 0x20);
    return c >= 'a' && c <= 'z' ? c : 0;
}

bool isForbiddenInName(char c) {
    return static_cast<unsigned char>(c) < 32 ||
           std::string_view("<>:\"|?*").find(c) != std::string_view::npos;
}

Result<PathSyntax> parsePathText(std::string_view text) {
    const auto invalid = std::make_error_code(std::errc::invalid_argument);
    if (text.find('\0') != std::string_view::npos)
        return invalid;
    PathSyntax syntax;
    syntax.exact = text.starts_with(kExactPrefix);
    if (syntax.exact)
        text.remove_prefix(kExactPrefix.size());
    const bool exact = syntax.exact;
    auto separates = [exact](char c) { return c == '\\' || (!exact && c == '/'); };
    bool network = false;
    if (exact && text.starts_with(kExactNetwork)) {
        text.remove_prefix(kExactNetwork.size());
        network = true;
    } else if (const char letter = driveLetterOf(text)) {
        syntax.letter = letter;
        text.remove_prefix(2);
    } else if (!exact && text.size() >= 2 && separates(text[0]) && separates(text[1])) {
        text.remove_prefix(2);
        network = true;
    }
    if (network) {
        // The server and the share are the first two names; the names after them start at the
        // share's root.
        for (std::string_view* part : {&syntax.server, &syntax.share}) {
            std::size_t end = 0;
            while (end < text.size() && !separates(text[end]))
                ++end;
            *part = text.substr(0, end);
            text.remove_prefix(end);
            if (part->empty() || *part == "." || *part == ".." ||
                part->find('/') != std::string_view::npos ||
                std::any_of(part->begin(), part->end(), isForbiddenInName))
                return invalid;
            if (part == &syntax.server && !text.empty())
                text.remove_prefix(1);
        }
    }
    syntax.fromRoot = network || (!text.empty() && separates(text.front()));
    if (exact && ((!syntax.letter && !network) || !syntax.fromRoot))
        return invalid;
    if (!text.empty() && separates(text.front()) && syntax.fromRoot)
        text.remove_prefix(1);
    // A doubled or trailing backslash would leave an empty name.
    if (exact && text.ends_with('\\'))
        return invalid;
    while (!text.empty()) {
        std::size_t end = 0;
        while (end < text.size() && !separates(text[end]))
            ++end;
        const std::string_view name = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (exact && (name.empty() || name == "." || name == ".." ||
                      name.find('/') != std::string_view::npos))
            return invalid;
        if (name.empty() || name == ".")
            continue;
        if (std::any_of(name.begin(), name.end(), isForbiddenInName))
            return invalid;
        syntax.names.push_back(name);
    }
    return syntax;
}

std::string_view trimmedName(std::string_view name, bool last) {
    if (name == "." || name == "..")
        return name;
    if (!last)
        return name.ends_with('.') ? name.substr(0, name.size() - 1) : name;
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.remove_suffix(1);
    return name;
}

std::error_code checkNewFolderName(std::string_view text) {
    auto syntax = parsePathText(text);
    if (!syntax)
        return syntax.error();
    if (!syntax->names.empty() && isDeviceName(syntax->names.back()))
        return std::make_error_code(std::errc::invalid_argument);
    return {};
}

} // namespace platform
