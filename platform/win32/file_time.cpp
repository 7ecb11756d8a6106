#include "platform/win32/file_time.h"

#include "platform/win32/errors.h"

namespace platform::win32 {

DateTime dateTimeOf(const SYSTEMTIME& t) {
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

bool storesLocalTime(std::wstring_view fileSystem) {
    for (std::wstring_view fat : {L"FAT", L"FAT32"})
        if (::CompareStringOrdinal(fileSystem.data(), static_cast<int>(fileSystem.size()),
                                   fat.data(), static_cast<int>(fat.size()), TRUE) == CSTR_EQUAL)
            return true;
    return false;
}

Result<DateTime> localWriteTime(const FILETIME& written, bool storedLocal) {
    SYSTEMTIME local{};
    if (storedLocal) {
        FILETIME stored{};
        if (!::FileTimeToLocalFileTime(&written, &stored) ||
            !::FileTimeToSystemTime(&stored, &local))
            return lastError();
    } else {
        SYSTEMTIME utc{};
        if (!::FileTimeToSystemTime(&written, &utc) ||
            !::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
            return lastError();
    }
    return dateTimeOf(local);
}

} // namespace platform::win32
