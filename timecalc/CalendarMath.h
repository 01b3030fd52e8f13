// The civil calendar on std::chrono's types, for every year the calendar
// record holds (0 to 65535, beyond chrono's own -32767 to 32767), and the
// minute carry that moves a calendar time across day, month and year ends.
#pragma once

#include <chrono>
#include <cstdint>

#include "timecalc/SystemTime.h"

// Days of `month` in `year`, 28 to 31; any month value outside 1-12 has 31.
int DaysInMonth(int month, int year);

// The day of a date of the proleptic Gregorian calendar, `month` 1-12; a day
// beyond its month's end counts on into the next month.
std::chrono::sys_days DayOf(std::int64_t year, unsigned month, unsigned day);

struct CivilDate {
    std::int64_t year;
    std::chrono::month month;
    std::chrono::day day;
    std::chrono::weekday weekday;
};
CivilDate DateOf(std::chrono::sys_days day);

// Seconds since 1970-01-01 00:00:00 of a date and a time of day.
std::int64_t SecondsFromFields(std::int64_t year, unsigned month, unsigned day, int hour,
                               int minute, int second = 0);

// Moves `time` back by `minutes`, or forward by the magnitude of a negative
// count, carrying at most one day; the day of week moves with the date.
// Callers pass zone offsets, whose magnitudes stay below one day; a larger one
// leaves the hour out of range for the range checks downstream to reject.
// The year never wraps: past 31 December 65535 the hour runs on beyond 23, and
// before 1 January of year 0 the date stays, both rejected by those checks.
void SubtractMinutes(SYSTEMTIME& time, int minutes);
