#pragma once

// The program's own error values, for what no portable std::errc value says. They compare equal
// only to themselves, so that no host's code is ever taken for one of them.

#include <system_error>

namespace platform {

enum class Error {
    // A listed file's path no longer leads to it: another file or folder stands on its way, a
    // folder on it is gone, a move's source changed after its copy began, or a held folder of a
    // pass is not the one chosen.
    NotListed = 1,
};

const std::error_category& errorCategory();

inline std::error_code make_error_code(Error error) {
    return {static_cast<int>(error), errorCategory()};
}

} // namespace platform

template <> struct std::is_error_code_enum<platform::Error> : std::true_type {};
