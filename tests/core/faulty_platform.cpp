#include "faulty_platform.h"

namespace coretest {

namespace {

std::error_code injected() {
    return std::make_error_code(std::errc::io_error);
}

} // namespace

std::error_code FaultyPlatform::deleteFile(std::string_view path) {
    deletes.emplace_back(path);
    if (failingDeletes.contains(path))
        return injected();
    return m_inner.deleteFile(path);
}

std::error_code FaultyPlatform::copyFile(std::string_view source, std::string_view target) {
    copies.emplace_back(source);
    if (failingCopySources.contains(source))
        return injected();
    return m_inner.copyFile(source, target);
}

std::error_code FaultyPlatform::appendToFile(std::string_view path, std::string_view bytes) {
    if (failAppend)
        return injected();
    return m_inner.appendToFile(path, bytes);
}

} // namespace coretest
