#pragma once

#include "platform/types.h"

#include <string>

namespace core {

// The German default text of a date and time, "dd.MM.yyyy HH:mm:ss"; a time of exactly
// 00:00:00 gives the date alone, as the regional default conversion does.
std::string dateText(const platform::DateTime& value);

} // namespace core
