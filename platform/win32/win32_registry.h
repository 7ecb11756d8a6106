#pragma once

// The registry through RegOpenKeyExW and RegQueryValueExW. Text values come back as UTF-8
// with their terminating zero, as the program reads them; a value that does not fit the
// caller's buffer in that form fails. Expandable texts are expanded by
// ExpandEnvironmentStringsW and reported as REG_SZ.

#include "platform/registry.h"

namespace platform::win32 {

class Win32Registry final : public Registry {
public:
    std::error_code openKey(std::uint32_t root, std::string_view keyName, std::uint32_t access,
                            Key& key) override;
    std::error_code queryValue(Key key, std::string_view valueName, std::uint32_t& type,
                               char* buffer, std::uint32_t& size) override;
    void closeKey(Key key) override;
};

} // namespace platform::win32
