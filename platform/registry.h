#pragma once

#include <cstdint>
#include <string_view>
#include <system_error>

namespace platform {

// Registry access shaped like the Win32 calls the program makes. On hosts without a registry
// every lookup fails.
class Registry {
public:
    using Key = std::uintptr_t;

    static constexpr std::uint32_t kHkeyLocalMachine = 0x80000002u;
    static constexpr std::uint32_t kRegSz = 1;
    static constexpr std::uint32_t kRegDword = 4;
    // Access rights: reading only (KEY_READ), and the 32-bit view of a 64-bit Windows
    // (KEY_WOW64_32KEY), where 32-bit installers write.
    static constexpr std::uint32_t kKeyRead = 0x20019;
    static constexpr std::uint32_t kKeyWow64_32Key = 0x0200;

    virtual ~Registry() = default;
    virtual std::error_code openKey(std::uint32_t root, std::string_view keyName,
                                    std::uint32_t access, Key& key) = 0;
    // Reads a value into `buffer`; `size` is the buffer size on entry and the number of bytes
    // written on return. A value larger than the buffer fails. An expandable text comes back
    // with its environment variables replaced, as kRegSz (as RegGetValueW gives it).
    virtual std::error_code queryValue(Key key, std::string_view valueName, std::uint32_t& type,
                                       char* buffer, std::uint32_t& size) = 0;
    virtual void closeKey(Key key) = 0;
};

} // namespace platform
