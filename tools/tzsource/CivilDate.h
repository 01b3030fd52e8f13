// Proleptic Gregorian calendar arithmetic on day counts, so that the tools can
// move between UTC instants and wall-clock dates without the C library's zone.
#pragma once

#include <cstdint>

namespace tzsource {

struct CivilDate {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31

    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

struct CivilTime {
    CivilDate date;
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const CivilTime&, const CivilTime&) = default;
};

inline constexpr std::int64_t kSecondsPerDay = 86400;

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Days since 1970-01-01 (negative before it).
std::int64_t DaysFromCivil(const CivilDate& date);
CivilDate CivilFromDays(std::int64_t days);

// 0 = Sunday ... 6 = Saturday.
int WeekdayOf(const CivilDate& date);

// Seconds since 1970-01-01 00:00 for a wall-clock time read as UTC, and back.
std::int64_t SecondsFromCivil(const CivilTime& time);
CivilTime CivilFromSeconds(std::int64_t seconds);

// Floor division and the matching non-negative remainder.
constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}
constexpr std::int64_t FloorMod(std::int64_t a, std::int64_t b) {
    return a - FloorDiv(a, b) * b;
}

}  // namespace tzsource
