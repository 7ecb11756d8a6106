#include "platform/win32/drive_map.h"

#include "platform/win32/drive_text.h"
#include "platform/win32/wide_text.h"

#include <windows.h>

#include <winnetwk.h>

#include <algorithm>

namespace platform::win32 {

namespace {

constexpr std::wstring_view kPrefix = L"\\\\?\\";
// A network path "\\server\share" takes this prefix in place of its leading "\\".
constexpr std::wstring_view kUncPrefix = L"\\\\?\\UNC\\";

char lowerLetter(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A host path in one form: backslashes, no trailing one except after "X:".
std::wstring normalised(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    if (path.size() == 2 && path[1] == L':')
        path += L'\\';
    return path;
}

std::vector<std::wstring> split(std::wstring_view path) {
    std::vector<std::wstring> names;
    std::size_t pos = 0;
    while (pos <= path.size()) {
        const std::size_t end = std::min(path.find(L'\\', pos), path.size());
        if (end > pos)
            names.emplace_back(path.substr(pos, end - pos));
        pos = end + 1;
    }
    return names;
}

bool sameName(std::wstring_view a, std::wstring_view b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool isNetworkPath(std::wstring_view host) {
    return host.size() > 2 && host[0] == L'\\' && host[1] == L'\\' && host[2] != L'?' &&
           host[2] != L'.';
}

// The machine's drive letters mapped to a network share, each with the share's network path.
std::vector<std::pair<char, std::wstring>> networkDrives() {
    std::vector<std::pair<char, std::wstring>> drives;
    const DWORD mask = ::GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i)))
            continue;
        const wchar_t local[] = {static_cast<wchar_t>(L'A' + i), L':', 0};
        wchar_t remote[32768];
        DWORD length = 32768;
        if (::WNetGetConnectionW(local, remote, &length) == NO_ERROR)
            drives.emplace_back(static_cast<char>('a' + i), remote);
    }
    return drives;
}

} // namespace

DriveMap::DriveMap(std::vector<DriveMapping> drives, std::string workingFolder) {
    for (const DriveMapping& d : drives) {
        const char letter = lowerLetter(d.letter);
        if (!isLetter(letter) || std::any_of(m_mapped.begin(), m_mapped.end(),
                                             [&](const Entry& e) { return e.letter == letter; }))
            continue;
        m_mapped.push_back({letter, normalised(toWide(d.hostRoot)), d.label});
    }
    std::sort(m_mapped.begin(), m_mapped.end(),
              [](const Entry& a, const Entry& b) { return a.letter < b.letter; });
    std::wstring working;
    if (workingFolder.empty()) {
        wchar_t buffer[32768];
        const DWORD n = ::GetCurrentDirectoryW(32768, buffer);
        working = withoutPrefix(std::wstring_view(buffer, n));
    } else {
        working = toWide(workingFolder);
    }
    m_working = locate(normalised(std::move(working)));
}

std::vector<Drive> DriveMap::driveTexts() const {
    std::vector<Drive> result;
    if (!m_mapped.empty()) {
        for (const Entry& e : m_mapped)
            result.push_back({e.letter, std::string(1, e.letter) + ": [" +
                                            (e.label.empty() ? fromWide(e.root) : e.label) + "]"});
        return result;
    }
    // A removable drive without its medium is listed all the same; it is only not ready.
    const DWORD mask = ::GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i)))
            continue;
        const char letter = static_cast<char>('a' + i);
        const wchar_t rootPath[] = {static_cast<wchar_t>(L'A' + i), L':', L'\\', 0};
        const wchar_t localName[] = {rootPath[0], L':', 0};
        result.push_back(
            {letter, machineDriveText(
                         letter, ::GetDriveTypeW(rootPath),
                         [root = std::wstring(rootPath)] { return volumeLabel(root.c_str()); },
                         [&] { return remoteName(localName); })});
    }
    return result;
}

char DriveMap::currentDrive() const {
    if (m_working)
        return m_working->first;
    return m_mapped.empty() ? 'c' : m_mapped.front().letter;
}

std::wstring DriveMap::root(char letter) const {
    letter = lowerLetter(letter);
    if (!isLetter(letter))
        return {};
    if (m_mapped.empty())
        return std::wstring{static_cast<wchar_t>(L'A' + (letter - 'a')), L':', L'\\'};
    for (const Entry& e : m_mapped)
        if (e.letter == letter)
            return e.root;
    return {};
}

std::wstring DriveMap::root(const PathSyntax& syntax) const {
    if (syntax.network())
        return L"\\\\" + toWide(syntax.server) + L"\\" + toWide(syntax.share);
    return root(syntax.letter ? syntax.letter : currentDrive());
}

std::vector<std::wstring> DriveMap::currentNames(char letter) const {
    letter = lowerLetter(letter);
    if (m_working && m_working->first == letter)
        return m_working->second;
    if (m_mapped.empty()) {
        // The command shell keeps each drive's current folder in a hidden "=X:" variable.
        const wchar_t name[] = {L'=', static_cast<wchar_t>(L'A' + (letter - 'a')), L':', 0};
        wchar_t buffer[32768];
        const DWORD n = ::GetEnvironmentVariableW(name, buffer, 32768);
        if (n > 0 && n < 32768)
            if (auto where = locate(normalised(std::wstring(buffer, n)));
                where && where->first == letter)
                return where->second;
    }
    return {};
}

std::wstring DriveMap::currentFolder(char letter) const {
    std::wstring folder = root(letter);
    if (folder.empty())
        return {};
    for (const std::wstring& name : currentNames(letter)) {
        if (folder.back() != L'\\')
            folder += L'\\';
        folder += name;
    }
    return folder;
}

Result<std::wstring> DriveMap::hostPath(std::string_view text) const {
    auto syntax = parsePathText(text);
    if (!syntax)
        return syntax.error();
    const std::wstring base = root(*syntax);
    if (base.empty())
        return std::make_error_code(std::errc::no_such_file_or_directory);
    std::vector<std::wstring> names;
    if (!syntax->fromRoot)
        names = currentNames(syntax->letter ? syntax->letter : currentDrive());
    // Typed text finds what Windows finds for it: every name loses a trailing dot, and the name
    // standing last once "." and ".." are gone, where no separator follows the text, its trailing
    // dots and spaces. Exact text names the stored names as they are.
    const bool typed = !syntax->exact;
    if (typed) {
        for (std::string_view& name : syntax->names) {
            const bool relative = name == "." || name == "..";
            name = trimmedName(name, false);
            if (!relative && (name == "." || name == ".."))
                return std::make_error_code(std::errc::invalid_argument);
        }
    }
    appendNames(*syntax, names, [](std::string_view name) { return toWide(name); });
    if (typed && !names.empty() && !text.ends_with('\\') && !text.ends_with('/')) {
        names.back() = toWide(trimmedName(fromWide(names.back()), true));
        if (names.back().empty())
            return std::make_error_code(std::errc::invalid_argument);
    }
    std::wstring host = base;
    for (const std::wstring& name : names) {
        if (host.back() != L'\\')
            host += L'\\';
        host += name;
    }
    return withPrefix(host);
}

std::optional<std::pair<char, std::vector<std::wstring>>>
DriveMap::locate(std::wstring_view host) const {
    const std::wstring plain = withoutPrefix(host);
    const std::vector<std::wstring> names = split(plain);
    if (names.empty())
        return std::nullopt;
    if (m_mapped.empty() && isNetworkPath(plain))
        return locateBelow(networkDrives(), names);
    if (m_mapped.empty()) {
        const std::wstring& drive = names.front();
        if (drive.size() != 2 || drive[1] != L':' || drive[0] > 0x7F || !isLetter(char(drive[0])))
            return std::nullopt;
        return std::pair{lowerLetter(char(drive[0])),
                         std::vector<std::wstring>(names.begin() + 1, names.end())};
    }
    std::vector<std::pair<char, std::wstring>> roots;
    for (const Entry& e : m_mapped)
        roots.emplace_back(e.letter, e.root);
    return locateBelow(roots, names);
}

std::optional<std::pair<char, std::vector<std::wstring>>>
DriveMap::locateBelow(const std::vector<std::pair<char, std::wstring>>& roots,
                      const std::vector<std::wstring>& names) {
    const std::pair<char, std::wstring>* best = nullptr;
    std::size_t bestLength = 0;
    for (const auto& root : roots) {
        const std::vector<std::wstring> rootNames = split(root.second);
        if (rootNames.size() > names.size() || (best && rootNames.size() <= bestLength))
            continue;
        if (std::equal(rootNames.begin(), rootNames.end(), names.begin(), sameName)) {
            best = &root;
            bestLength = rootNames.size();
        }
    }
    if (!best)
        return std::nullopt;
    return std::pair{best->first, std::vector<std::wstring>(
                                      names.begin() + static_cast<long>(bestLength), names.end())};
}

std::optional<DriveMap::Place> DriveMap::place(std::wstring_view host) const {
    if (auto where = locate(host))
        return Place{{static_cast<char>(where->first - 'a' + 'A'), ':', '\\'},
                     root(where->first),
                     std::move(where->second)};
    const std::wstring plain = withoutPrefix(host);
    std::vector<std::wstring> names = split(plain);
    if (!isNetworkPath(plain) || names.size() < 2)
        return std::nullopt;
    std::wstring share = L"\\\\" + names[0] + L"\\" + names[1];
    names.erase(names.begin(), names.begin() + 2);
    return Place{fromWide(share), std::move(share), std::move(names)};
}

std::string DriveMap::pathText(std::wstring_view host) const {
    auto where = place(host);
    if (!where)
        return {};
    std::string text = where->rootText;
    for (const std::wstring& name : where->names) {
        if (text.back() != '\\')
            text += '\\';
        text += fromWide(name);
    }
    return text;
}

bool DriveMap::isDriveRoot(std::wstring_view host) const {
    // Asked for every folder listed: the host path is compared, not taken apart.
    const std::wstring plain = withoutPrefix(host);
    if (m_mapped.empty())
        return plain.size() == 3 && plain[1] == L':' && plain[2] == L'\\';
    return std::any_of(m_mapped.begin(), m_mapped.end(),
                       [&](const Entry& e) { return sameName(e.root, plain); });
}

std::wstring DriveMap::withPrefix(std::wstring_view host) {
    if (host.starts_with(kPrefix))
        return std::wstring(host);
    if (isNetworkPath(host))
        return std::wstring(kUncPrefix) + std::wstring(host.substr(2));
    return std::wstring(kPrefix) + std::wstring(host);
}

std::wstring DriveMap::withoutPrefix(std::wstring_view host) {
    if (host.size() >= kUncPrefix.size() && sameName(host.substr(0, kUncPrefix.size()), kUncPrefix))
        return L"\\\\" + std::wstring(host.substr(kUncPrefix.size()));
    return std::wstring(host.starts_with(kPrefix) ? host.substr(kPrefix.size()) : host);
}

} // namespace platform::win32
