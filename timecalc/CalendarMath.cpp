#include "timecalc/CalendarMath.h"

namespace {

// The Gregorian calendar repeats every 400 years, 146,097 days, which is a
// whole number of weeks: a date is shifted by whole cycles into the years
// that chrono's calendar types hold, and back.
using Cycles =
    std::chrono::duration<std::int64_t,
                          std::ratio_multiply<std::ratio<400>, std::chrono::years::period>>;

struct ShiftedYear {
    std::chrono::year inFirstCycle;  // 0 to 399: the same month lengths and weekdays
    Cycles shift;
};

ShiftedYear IntoFirstCycle(std::int64_t calendarYear) {
    using std::chrono::years;
    const Cycles shift = std::chrono::floor<Cycles>(years(calendarYear));
    return {std::chrono::year(static_cast<int>(calendarYear - shift / years(1))), shift};
}

}  // namespace

int DaysInMonth(int month, int year) {
    if (month < 1 || month > 12) {
        return 31;
    }
    const std::chrono::year_month_day_last last(IntoFirstCycle(year).inFirstCycle /
                                                std::chrono::month(month) / std::chrono::last);
    return static_cast<int>(unsigned(last.day()));
}

std::chrono::sys_days DayOf(std::int64_t year, unsigned month, unsigned day) {
    using namespace std::chrono;
    const ShiftedYear shifted = IntoFirstCycle(year);
    return sys_days(shifted.inFirstCycle / std::chrono::month(month) / std::chrono::day(day)) +
           shifted.shift;
}

CivilDate DateOf(std::chrono::sys_days day) {
    using namespace std::chrono;
    const Cycles shift = floor<Cycles>(day.time_since_epoch());
    const year_month_day date(day - shift);
    return CivilDate{int(date.year()) + shift / years(1), date.month(), date.day(), weekday(day)};
}

std::int64_t SecondsFromFields(std::int64_t year, unsigned month, unsigned day, int hour,
                               int minute, int second) {
    using namespace std::chrono;
    const sys_seconds moment =
        DayOf(year, month, day) + hours(hour) + minutes(minute) + seconds(second);
    return moment.time_since_epoch().count();
}

namespace {

// The record holds the years 0 to 65535; a day step never goes past either
// end, so the year cannot wrap around.
constexpr std::uint16_t kLastYear = 65535;

bool IsLastDay(const SYSTEMTIME& time) {
    return time.wYear == kLastYear && time.wMonth == 12 && time.wDay >= 31;
}

bool IsFirstDay(const SYSTEMTIME& time) {
    return time.wYear == 0 && time.wMonth == 1 && time.wDay <= 1;
}

// Returns false, changing nothing, on the last day the record holds.
bool NextDay(SYSTEMTIME& time) {
    if (IsLastDay(time)) {
        return false;
    }
    time.wDayOfWeek = static_cast<std::uint16_t>(time.wDayOfWeek >= 6 ? 0 : time.wDayOfWeek + 1);
    ++time.wDay;
    if (time.wDay > DaysInMonth(time.wMonth, time.wYear)) {
        time.wDay = 1;
        ++time.wMonth;
        if (time.wMonth > 12) {
            time.wMonth = 1;
            ++time.wYear;
        }
    }
    return true;
}

// Returns false, changing nothing, on the first day the record holds.
bool PreviousDay(SYSTEMTIME& time) {
    if (IsFirstDay(time)) {
        return false;
    }
    time.wDayOfWeek = static_cast<std::uint16_t>(time.wDayOfWeek == 0 ? 6 : time.wDayOfWeek - 1);
    --time.wDay;
    if (time.wDay == 0) {
        if (time.wMonth == 1) {
            time.wMonth = 12;
            time.wDay = 31;
            --time.wYear;
        } else {
            --time.wMonth;
            time.wDay = static_cast<std::uint16_t>(DaysInMonth(time.wMonth, time.wYear));
        }
    }
    return true;
}

}  // namespace

void SubtractMinutes(SYSTEMTIME& time, int minutes) {
    if (minutes == 0) {
        return;
    }
    int hour = time.wHour;
    int minute = time.wMinute;
    if (minutes < 0) {
        const int forward = -minutes;
        hour += forward / 60;
        minute += forward % 60;
        if (minute > 59) {
            minute -= 60;
            ++hour;
        }
        // Past the last day the hour runs on beyond 23: still the right
        // moment, which a later step back can bring into range again and
        // which the range checks reject otherwise.
        if (hour > 23 && NextDay(time)) {
            hour -= 24;
        }
    } else {
        minute -= minutes % 60;
        hour -= minutes / 60;
        if (minute < 0) {
            minute += 60;
            --hour;
        }
        // Before the first day the date stays: a year-0 time, which the
        // range checks reject anyway, rather than one of year 65535.
        if (hour < 0) {
            hour += 24;
            PreviousDay(time);
        }
    }
    // An hour still outside 0-23 (an offset of a day or more) wraps here and
    // is rejected by the range checks of the time-value conversion.
    time.wHour = static_cast<std::uint16_t>(hour);
    time.wMinute = static_cast<std::uint16_t>(minute);
}
