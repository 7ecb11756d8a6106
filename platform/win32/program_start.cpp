#include "platform/win32/program_start.h"

#include "platform/win32/drive_map.h"
#include "platform/win32/errors.h"

#include <windows.h>

#include <shellapi.h>

namespace platform::win32 {

Result<std::wstring> startablePath(const std::wstring& host) {
    std::wstring program = DriveMap::withoutPrefix(host);
    if (program.size() < MAX_PATH)
        return program;
    std::wstring shortPath(host.size() + 1, L'\0');
    const DWORD length =
        ::GetShortPathNameW(host.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
    if (length == 0)
        return lastError();
    shortPath.resize(length < shortPath.size() ? length : 0);
    program = DriveMap::withoutPrefix(shortPath);
    // Where the file system keeps no short names, the path stays as long.
    if (program.empty() || program.size() >= MAX_PATH)
        return std::make_error_code(std::errc::filename_too_long);
    return program;
}

bool startsThroughShell(unsigned long error) {
    return error == kErrorElevationRequired;
}

std::error_code startHostProgram(const std::wstring& host) {
    const DWORD attributes = ::GetFileAttributesW(host.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return lastError();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return std::make_error_code(std::errc::is_a_directory);
    auto program = startablePath(host);
    if (!program)
        return program.error();
    // No shell: the file itself is started, its path quoted as the one argument it gets.
    std::wstring commandLine = L"\"" + *program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (::CreateProcessW(program->c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         nullptr, &startup, &process)) {
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        return {};
    }
    const DWORD error = ::GetLastError();
    if (!startsThroughShell(error))
        return fromWin32(error);
    SHELLEXECUTEINFOW shell{};
    shell.cbSize = sizeof shell;
    shell.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    shell.lpFile = program->c_str();
    shell.nShow = SW_SHOWNORMAL;
    if (!::ShellExecuteExW(&shell))
        return lastError();
    return {};
}

} // namespace platform::win32
