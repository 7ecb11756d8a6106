#include "core/date_text.h"

#include <cstdio>

namespace core {

std::string dateText(const platform::DateTime& value) {
    char buffer[48];
    int length = 0;
    if (value.hour == 0 && value.minute == 0 && value.second == 0) {
        length = std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d", value.day, value.month,
                               value.year);
    } else {
        length = std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d %02d:%02d:%02d", value.day,
                               value.month, value.year, value.hour, value.minute, value.second);
    }
    return std::string(buffer, static_cast<std::size_t>(length));
}

} // namespace core
