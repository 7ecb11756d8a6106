#pragma once

#include "platform/types.h"

#include <ctime>

namespace platform::posix {

// A moment as local calendar date and time.
DateTime localDateTime(std::time_t moment);

} // namespace platform::posix
