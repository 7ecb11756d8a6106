#pragma once

// The drive list's text for one of the machine's drives, built from what answers without
// waiting: the list is read on the window's thread each time it opens. A local disk gives its
// volume label, a network drive the share it is connected to ("\\server\share", known to the
// machine itself); a removable, optical or unknown drive is not asked at all, since a volume
// query waits for a lost server, spins a sleeping medium up, or asks for a missing one. A local
// disk that does not answer at once (asleep) is asked on a thread of its own.

#include <chrono>
#include <functional>
#include <string>

namespace platform::win32 {

using LabelQuery = std::function<std::wstring()>;

// How long the list waits for a local disk's label before it shows the drive without it.
inline constexpr std::chrono::milliseconds kLabelWait{100};

// "c:", with the label in brackets when there is one ("c: [System]"). `driveType` is
// GetDriveTypeW's answer; only the query that fits it is made. A volume label that takes longer
// than kLabelWait is left to its thread, and the drive shows the label it answered last (none
// the first time); while that query runs, no other is made for the drive.
std::string machineDriveText(char letter, unsigned driveType, LabelQuery volumeLabel,
                             const LabelQuery& remoteName);

// The Win32 queries behind it; empty when there is no answer.
std::wstring volumeLabel(const wchar_t* rootPath);
std::wstring remoteName(const wchar_t* localName);

} // namespace platform::win32
