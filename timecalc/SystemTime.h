// Calendar time with the layout of the platform's SYSTEMTIME record: the
// fields the rule evaluation and the minute arithmetic work on.
#pragma once

#include <cstdint>

struct SYSTEMTIME {
    std::uint16_t wYear = 0;
    std::uint16_t wMonth = 0;      // 1 = January
    std::uint16_t wDayOfWeek = 0;  // 0 = Sunday; always agrees with the date
    std::uint16_t wDay = 0;
    std::uint16_t wHour = 0;
    std::uint16_t wMinute = 0;
    std::uint16_t wSecond = 0;        // passes through untouched
    std::uint16_t wMilliseconds = 0;  // passes through untouched

    friend bool operator==(const SYSTEMTIME&, const SYSTEMTIME&) = default;
};
