#include "platform/linux/local_time.h"

namespace platform::linux_host {

DateTime localDateTime(std::time_t moment) {
    std::tm local{};
    if (!localtime_r(&moment, &local))
        return {};
    DateTime dt;
    dt.year = local.tm_year + 1900;
    dt.month = local.tm_mon + 1;
    dt.day = local.tm_mday;
    dt.hour = local.tm_hour;
    dt.minute = local.tm_min;
    dt.second = local.tm_sec;
    return dt;
}

} // namespace platform::linux_host
