#include "platform/win32/system_information.h"

#include "platform/win32/wide_text.h"

#include <windows.h>

namespace platform::win32 {

std::string systemInformationTool(const MachineText& read,
                                  const std::function<bool(const std::string&)>& isFile) {
    if (auto path = read("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH"))
        return *path;
    if (auto folder = read("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO")) {
        std::string tool = *folder + "\\MSINFO32.EXE";
        if (isFile(tool))
            return tool;
    }
    return {};
}

std::optional<std::string> machineText(std::string_view key, std::string_view value) {
    const std::wstring keyName = toWide(key);
    const std::wstring valueName = toWide(value);
    for (const REGSAM view : {REGSAM{0}, REGSAM{KEY_WOW64_32KEY}}) {
        HKEY opened = nullptr;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, keyName.c_str(), 0, KEY_READ | view, &opened) !=
            ERROR_SUCCESS)
            continue;
        // An expandable text grows as it is expanded: the size asked for may not do.
        std::wstring text;
        DWORD bytes = 0;
        LSTATUS status = ERROR_MORE_DATA;
        while (status == ERROR_MORE_DATA) {
            text.resize(bytes / sizeof(wchar_t) + 1);
            bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
            status = ::RegGetValueW(opened, nullptr, valueName.c_str(), RRF_RT_REG_SZ, nullptr,
                                    text.data(), &bytes);
        }
        ::RegCloseKey(opened);
        if (status == ERROR_SUCCESS) {
            text.resize(bytes / sizeof(wchar_t));
            while (!text.empty() && text.back() == L'\0')
                text.pop_back();
            return fromWide(text);
        }
    }
    return std::nullopt;
}

} // namespace platform::win32
