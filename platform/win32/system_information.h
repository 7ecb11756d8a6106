#pragma once

// The system information tool as Windows registers it.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform::win32 {

// A text value of a key below HKEY_LOCAL_MACHINE (an expandable one expanded); none where the
// key or the value is missing or holds no text.
using MachineText =
    std::function<std::optional<std::string>(std::string_view key, std::string_view value)>;

// The MSINFO "PATH" value as it stands, else "MSINFO32.EXE" in the "Shared Tools Location"
// folder where `isFile` finds it there; empty when neither names it.
std::string systemInformationTool(const MachineText& read,
                                  const std::function<bool(const std::string&)>& isFile);

// The registry's text value, read with the right to read only (which a standard user has), in
// the native view and else in the 32-bit one, where a 32-bit installer wrote.
std::optional<std::string> machineText(std::string_view key, std::string_view value);

} // namespace platform::win32
