#pragma once

// A file's last-write time as the local calendar time Explorer shows for it. NTFS stores UTC,
// which is shown with the daylight saving of its own date. FAT stores the local time of the
// moment of writing; Windows turns it into UTC with the bias of now, so only the bias of now
// gives the stored value back: converted by the file's date instead, a file of the other season
// would show an hour off. exFAT stores the local time together with its offset from UTC, so that
// its times name one moment, as NTFS's do, and are shown as those are.

#include "platform/result.h"
#include "platform/types.h"

#include <windows.h>

#include <string_view>

namespace platform::win32 {

DateTime dateTimeOf(const SYSTEMTIME& t);
// Whether a file system, named as GetVolumeInformation names it ("FAT" for FAT12 and FAT16),
// stores local time without its offset from UTC.
bool storesLocalTime(std::wstring_view fileSystem);
Result<DateTime> localWriteTime(const FILETIME& written, bool storedLocal);

} // namespace platform::win32
