#include "core/registry_value.h"

#include <algorithm>
#include <array>

namespace core {

namespace {

using platform::Registry;

constexpr std::uint32_t kBufferSize = 1024;

// Read rights only: a standard user, and an administrator under UAC, may not open the machine's
// keys for writing. The native view first, then the 32-bit one, where a 32-bit installer wrote
// on a 64-bit Windows.
constexpr std::array<std::uint32_t, 2> kViews = {Registry::kKeyRead,
                                                 Registry::kKeyRead | Registry::kKeyWow64_32Key};

bool readValue(Registry& registry, std::uint32_t root, std::string_view keyName,
               std::string_view valueName, std::uint32_t access, std::uint32_t& type,
               std::array<char, kBufferSize>& buffer, std::uint32_t& size) {
    Registry::Key key = 0;
    if (registry.openKey(root, keyName, access, key))
        return false;
    buffer.fill('\0');
    size = kBufferSize;
    const bool read = !registry.queryValue(key, valueName, type, buffer.data(), size);
    registry.closeKey(key);
    return read;
}

} // namespace

bool GetKeyValue(platform::Registry& registry, std::uint32_t KeyRoot, std::string_view KeyName,
                 std::string_view SubKeyRef, std::string& KeyVal) {
    std::array<char, kBufferSize> buffer{};
    std::uint32_t size = 0;
    std::uint32_t type = 0;
    if (std::none_of(kViews.begin(), kViews.end(), [&](std::uint32_t access) {
            return readValue(registry, KeyRoot, KeyName, SubKeyRef, access, type, buffer, size);
        })) {
        KeyVal.clear();
        return false;
    }
    std::string_view data(buffer.data(), size < kBufferSize ? size : kBufferSize);
    if (!data.empty() && data.back() == '\0')
        data.remove_suffix(1);

    if (type == Registry::kRegSz) {
        KeyVal = data;
    } else if (type == Registry::kRegDword) {
        // The buffer is zero-filled, so a short value reads as its bytes padded with zeros.
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = (number << 8) | static_cast<std::uint8_t>(buffer[static_cast<std::size_t>(i)]);
        KeyVal = std::to_string(number);
    }
    return true;
}

std::optional<std::string> locateSysInfoTool(platform::Platform& fs) {
    platform::Registry& registry = fs.registry();
    std::string value;
    if (GetKeyValue(registry, platform::Registry::kHkeyLocalMachine,
                    "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", value))
        return value;
    if (GetKeyValue(registry, platform::Registry::kHkeyLocalMachine,
                    "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO", value)) {
        std::string tool = value + "\\MSINFO32.EXE";
        if (fs.fileLength(tool).ok())
            return tool;
        return std::nullopt;
    }
    std::string program = fs.systemInformationProgram();
    if (program.empty())
        return std::nullopt;
    return program;
}

} // namespace core
