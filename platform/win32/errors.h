#pragma once

// Win32 error numbers as the portable values the program compares against (platform.h).

#include <system_error>

namespace platform::win32 {

std::error_code fromWin32(unsigned long error);
// The calling thread's last error.
std::error_code lastError();

} // namespace platform::win32
