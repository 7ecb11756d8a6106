#include "platform/win32/drive_text.h"

#include "platform/win32/wide_text.h"

#include <windows.h>

#include <winnetwk.h>

namespace platform::win32 {

std::string machineDriveText(char letter, unsigned driveType, const LabelQuery& volumeLabel,
                             const LabelQuery& remoteName) {
    std::wstring label;
    if (driveType == DRIVE_FIXED || driveType == DRIVE_RAMDISK)
        label = volumeLabel();
    else if (driveType == DRIVE_REMOTE)
        label = remoteName();
    std::string text{letter, ':'};
    if (!label.empty())
        text += " [" + fromWide(label) + "]";
    return text;
}

std::wstring volumeLabel(const wchar_t* rootPath) {
    wchar_t label[MAX_PATH + 1] = {};
    if (!::GetVolumeInformationW(rootPath, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr,
                                 0))
        return {};
    return label;
}

std::wstring remoteName(const wchar_t* localName) {
    std::wstring name(MAX_PATH + 1, L'\0');
    for (;;) {
        DWORD size = static_cast<DWORD>(name.size());
        const DWORD status = ::WNetGetConnectionW(localName, name.data(), &size);
        if (status == ERROR_MORE_DATA && size > name.size()) {
            name.resize(size);
            continue;
        }
        // A remembered connection that is not made now (ERROR_CONNECTION_UNAVAIL) has no name.
        if (status != NO_ERROR)
            return {};
        name.resize(name.find(L'\0'));
        return name;
    }
}

} // namespace platform::win32
