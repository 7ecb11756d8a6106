#include "platform/linux/empty_registry.h"

namespace platform::linux_host {

std::error_code EmptyRegistry::openKey(std::uint32_t, std::string_view, std::uint32_t, Key& key) {
    key = 0;
    return std::make_error_code(std::errc::no_such_file_or_directory);
}

std::error_code EmptyRegistry::queryValue(Key, std::string_view, std::uint32_t& type, char*,
                                          std::uint32_t& size) {
    type = 0;
    size = 0;
    return std::make_error_code(std::errc::bad_file_descriptor);
}

void EmptyRegistry::closeKey(Key) {}

} // namespace platform::linux_host
