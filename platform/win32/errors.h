#pragma once

// Win32 error numbers as the portable values the program compares against (platform.h).

#include <system_error>

namespace platform::win32 {

// ERROR_ELEVATION_REQUIRED, which the MinGW headers do not name: CreateProcess refuses a program
// that asks to run with an administrator's rights.
constexpr unsigned long kErrorElevationRequired = 740;

std::error_code fromWin32(unsigned long error);
// The calling thread's last error.
std::error_code lastError();
// An NTSTATUS result of the native calls, by the Win32 error the system gives for it.
std::error_code fromNtStatus(long status);

} // namespace platform::win32
