#pragma once

#include "platform/types.h"

#include <ctime>

namespace platform::linux_host {

// A moment as local calendar date and time.
DateTime localDateTime(std::time_t moment);

} // namespace platform::linux_host
