// A UTC moment in seconds since the epoch, written as its calendar fields.
#pragma once

#include <chrono>
#include <cstdint>

inline std::int64_t Utc(int year, unsigned month, unsigned day, int hour, int minute = 0) {
    using namespace std::chrono;
    const sys_seconds moment =
        sys_days(std::chrono::year(year) / month / day) + hours(hour) + minutes(minute);
    return moment.time_since_epoch().count();
}
