#pragma once

// Registry reading of the about box and the search for the system information tool.

#include "platform/platform.h"
#include "platform/registry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace core {

// Reads the value `SubKeyRef` of the key `KeyName` below `KeyRoot` into `KeyVal`: text for
// kRegSz (an expandable text arrives as one, expanded), the decimal number for kRegDword; other
// types leave `KeyVal` as it was and still count as found. The key is opened for reading, in the
// native view and else in the 32-bit view. A key that cannot be opened or a value that cannot
// be read (also one larger than 1024 bytes) in either view empties `KeyVal` and gives false.
bool GetKeyValue(platform::Registry& registry, std::uint32_t KeyRoot, std::string_view KeyName,
                 std::string_view SubKeyRef, std::string& KeyVal);

// The system information tool: the MSINFO "PATH" value as it stands, else the "Shared Tools
// Location" folder + "\MSINFO32.EXE" when that file exists. Hosts without that registry get the
// platform's own system information program. Nothing found: no value.
std::optional<std::string> locateSysInfoTool(platform::Platform& fs);

} // namespace core
