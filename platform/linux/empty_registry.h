#pragma once

#include "platform/registry.h"

namespace platform::linux_host {

// This host has no registry: every key is missing.
class EmptyRegistry final : public Registry {
public:
    std::error_code openKey(std::uint32_t root, std::string_view keyName, std::uint32_t access,
                            Key& key) override;
    std::error_code queryValue(Key key, std::string_view valueName, std::uint32_t& type,
                               char* buffer, std::uint32_t& size) override;
    void closeKey(Key key) override;
};

} // namespace platform::linux_host
