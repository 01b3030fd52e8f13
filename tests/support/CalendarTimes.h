// Calendar times for tests, with the day of week filled in from the date.
#pragma once

#include <chrono>
#include <cstdint>

#include "timecalc/CalendarMath.h"
#include "timecalc/SystemTime.h"

inline SYSTEMTIME At(int year, int month, int day, int hour = 0, int minute = 0) {
    SYSTEMTIME time;
    time.wYear = static_cast<std::uint16_t>(year);
    time.wMonth = static_cast<std::uint16_t>(month);
    const auto weekday =
        std::chrono::weekday(DayOf(year, static_cast<unsigned>(month), static_cast<unsigned>(day)));
    time.wDayOfWeek = static_cast<std::uint16_t>(weekday.c_encoding());
    time.wDay = static_cast<std::uint16_t>(day);
    time.wHour = static_cast<std::uint16_t>(hour);
    time.wMinute = static_cast<std::uint16_t>(minute);
    return time;
}
