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
    static constexpr std::uint32_t kRegExpandSz = 2;
    static constexpr std::uint32_t kRegDword = 4;

    virtual ~Registry() = default;
    virtual std::error_code openKey(std::uint32_t root, std::string_view keyName,
                                    std::uint32_t access, Key& key) = 0;
    // Reads a value into `buffer`; `size` is the buffer size on entry and the number of bytes
    // written on return. A value larger than the buffer fails.
    virtual std::error_code queryValue(Key key, std::string_view valueName, std::uint32_t& type,
                                       char* buffer, std::uint32_t& size) = 0;
    virtual void closeKey(Key key) = 0;
};

} // namespace platform
