#pragma once

// A registry with values set by the test, in the native and the 32-bit view, read as a standard
// user reads the machine's keys: opening one with any right to change it is refused. Counts the
// keys left open.

#include "platform/registry.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <utility>

namespace testsupport {

class FakeRegistry : public platform::Registry {
public:
    void setValue(const std::string& keyName, const std::string& valueName, std::uint32_t type,
                  std::string bytes, bool view32 = false) {
        m_keys[view32][keyName][valueName] = {type, std::move(bytes)};
    }

    std::error_code openKey(std::uint32_t root, std::string_view keyName, std::uint32_t access,
                            Key& key) override {
        // KEY_SET_VALUE, KEY_CREATE_SUB_KEY, KEY_CREATE_LINK, DELETE, WRITE_DAC, WRITE_OWNER
        if (access & 0xD0026u)
            return std::make_error_code(std::errc::permission_denied);
        auto& keys = m_keys[(access & kKeyWow64_32Key) != 0];
        auto found = keys.find(std::string(keyName));
        if (root != kHkeyLocalMachine || found == keys.end())
            return std::make_error_code(std::errc::no_such_file_or_directory);
        key = reinterpret_cast<Key>(&found->second);
        ++openKeys;
        return {};
    }

    std::error_code queryValue(Key key, std::string_view valueName, std::uint32_t& type,
                               char* buffer, std::uint32_t& size) override {
        auto& values = *reinterpret_cast<std::map<std::string, Value>*>(key);
        auto found = values.find(std::string(valueName));
        if (found == values.end())
            return std::make_error_code(std::errc::no_such_file_or_directory);
        if (found->second.bytes.size() > size)
            return std::make_error_code(std::errc::value_too_large);
        type = found->second.type;
        size = static_cast<std::uint32_t>(found->second.bytes.size());
        std::memcpy(buffer, found->second.bytes.data(), size);
        return {};
    }

    void closeKey(Key) override { --openKeys; }

    int openKeys = 0;

private:
    struct Value {
        std::uint32_t type = 0;
        std::string bytes;
    };
    std::map<std::string, std::map<std::string, Value>> m_keys[2]; // native, 32-bit view
};

} // namespace testsupport
