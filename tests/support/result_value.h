#pragma once

// A result's value for an assertion to compare. Where the result is an error, the test fails at
// the caller's line with that error and goes on with an empty value: reading the value that is
// not there would end the whole test program and hide every later result.

#include "platform/result.h"

#include <gtest/gtest.h>

#include <source_location>

namespace testsupport {

template <class T>
T valueOf(const platform::Result<T>& result,
          const std::source_location where = std::source_location::current()) {
    if (result)
        return *result;
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
        << "error instead of a value: " << result.error().message();
    return T{};
}

} // namespace testsupport
