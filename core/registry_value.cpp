#include "core/registry_value.h"

#include "core/modFile.h"

#include <array>

namespace core {

namespace {

constexpr std::uint32_t kKeyAllAccess = 0x2003F;
constexpr std::uint32_t kBufferSize = 1024;

} // namespace

bool GetKeyValue(platform::Registry& registry, std::uint32_t KeyRoot, std::string_view KeyName,
                 std::string_view SubKeyRef, std::string& KeyVal) {
    platform::Registry::Key key = 0;
    if (registry.openKey(KeyRoot, KeyName, kKeyAllAccess, key)) {
        KeyVal.clear();
        return false;
    }
    std::array<char, kBufferSize> buffer{};
    std::uint32_t size = kBufferSize;
    std::uint32_t type = 0;
    if (registry.queryValue(key, SubKeyRef, type, buffer.data(), size)) {
        KeyVal.clear();
        registry.closeKey(key);
        return false;
    }
    std::string_view data(buffer.data(), size < kBufferSize ? size : kBufferSize);
    if (!data.empty() && data.back() == '\0')
        data.remove_suffix(1);

    if (type == platform::Registry::kRegSz) {
        KeyVal = data;
    } else if (type == platform::Registry::kRegDword) {
        // The buffer is zero-filled, so a short value reads as its bytes padded with zeros.
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = (number << 8) | static_cast<std::uint8_t>(buffer[static_cast<std::size_t>(i)]);
        KeyVal = std::to_string(number);
    }
    registry.closeKey(key);
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
        if (modFile::FileExists(fs, tool))
            return tool;
        return std::nullopt;
    }
    std::string program = fs.systemInformationProgram();
    if (program.empty())
        return std::nullopt;
    return program;
}

} // namespace core
