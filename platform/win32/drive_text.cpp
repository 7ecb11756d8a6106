#include "platform/win32/drive_text.h"

#include "platform/win32/wide_text.h"

#include <windows.h>

#include <winnetwk.h>

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace platform::win32 {

namespace {

// Each drive's label query, which may outlive the list that started it.
struct LabelQueries {
    struct Drive {
        bool running = false;
        std::wstring last; // the last answer
    };
    std::mutex mutex;
    std::condition_variable answered;
    std::map<char, Drive> drives;
};

std::wstring labelSoon(char letter, LabelQuery query) {
    // Never destroyed: a query still running when the program ends must find it.
    static auto* const queries = new LabelQueries;
    std::unique_lock lock(queries->mutex);
    LabelQueries::Drive& drive = queries->drives[letter];
    if (!drive.running) {
        drive.running = true;
        std::thread([&drive, query = std::move(query)] {
            std::wstring label = query();
            const std::lock_guard done(queries->mutex);
            drive.last = std::move(label);
            drive.running = false;
            queries->answered.notify_all();
        }).detach();
    }
    queries->answered.wait_for(lock, kLabelWait, [&drive] { return !drive.running; });
    return drive.last;
}

} // namespace

std::string machineDriveText(char letter, unsigned driveType, LabelQuery volumeLabel,
                             const LabelQuery& remoteName) {
    std::wstring label;
    if (driveType == DRIVE_FIXED || driveType == DRIVE_RAMDISK)
        label = labelSoon(letter, std::move(volumeLabel));
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
