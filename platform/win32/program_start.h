#pragma once

// A program file started by CreateProcessW, without a shell and without waiting. CreateProcessW
// takes no program path of MAX_PATH characters or more: such a path is given in its short (8.3)
// form, where the file system keeps short names. A program that asks to run with an
// administrator's rights is refused by CreateProcessW and started through the Windows shell
// instead, which asks the user for them (UAC).

#include "platform/result.h"

#include <string>
#include <system_error>

namespace platform::win32 {

// The path CreateProcessW is given for the program at the host path `host` ("\\?\…").
Result<std::wstring> startablePath(const std::wstring& host);
// Whether a program that CreateProcessW refused with `error` is started through the shell.
bool startsThroughShell(unsigned long error);
std::error_code startHostProgram(const std::wstring& host);

} // namespace platform::win32
