#include "timecalc/DaylightRules.h"

#include <algorithm>

#include "timecalc/CalendarMath.h"

int RuleDay(const TransitionRule& rule, const SYSTEMTIME& time) {
    if (rule.weekday == 0) {
        return rule.day;
    }
    int start = rule.day;
    if (start == 0) {
        if (rule.week == 0) {
            return 0;
        }
        start = 1;
    }
    const int monthLength = DaysInMonth(time.wMonth, time.wYear);
    if (time.wDay < 1 || time.wDay > monthLength) {
        return rule.week == 5 ? monthLength : start;
    }
    int weekday = std::min<int>(time.wDayOfWeek, 6);
    const int target = std::clamp<int>(rule.weekday, 1, 7);
    if (start != time.wDay) {
        weekday = (weekday - time.wDay + start + 35) % 7;  // day of week of day `start`
    }
    int delta = target - 1 - weekday;
    if (delta < 0) {
        delta += 7;
    }
    int day = start + delta;
    if (rule.week != 0) {
        day += 7 * (rule.week - 1);
        if (day > monthLength) {
            day -= 7;
        }
    }
    return day;
}

namespace {

// Compares the day, hour and minute of `time` with the transition of `rule`
// in `time`'s own month: negative before, zero at, positive after it.
int CompareWithTransition(const TransitionRule& rule, const SYSTEMTIME& time) {
    const int day = RuleDay(rule, time);
    if (time.wDay != day) {
        return time.wDay < day ? -1 : 1;
    }
    if (time.wHour != rule.hour) {
        return time.wHour < rule.hour ? -1 : 1;
    }
    if (time.wMinute != rule.minute) {
        return time.wMinute < rule.minute ? -1 : 1;
    }
    return 0;
}

// The start moment belongs to daylight-saving time, the end moment does not.
bool StartReached(const TransitionRule& start, const SYSTEMTIME& time) {
    return time.wMonth > start.month ||
           (time.wMonth == start.month && CompareWithTransition(start, time) >= 0);
}

// `time` is compared in the year `referenceYear`: a time that has already
// crossed into the next year is past every month of the reference year.
bool EndNotReached(const TransitionRule& end, const SYSTEMTIME& time, int referenceYear) {
    const int month = time.wMonth + 12 * (time.wYear - referenceYear);
    return month < end.month || (month == end.month && CompareWithTransition(end, time) < 0);
}

// The months strictly between start and end are wholly daylight-saving time
// (the months outside them when the start month lies after the end month);
// with both rules in one month only the start rule counts, from its moment to
// the month's end.
bool DaylightInForce(const CTimeZone& zone, const SYSTEMTIME& startClock,
                     const SYSTEMTIME& endClock) {
    if (zone.m_daylight.bias == 0) {
        return false;
    }
    const TransitionRule& start = zone.m_daylight;
    const TransitionRule& end = zone.m_standard;
    if (start.month == end.month) {
        return startClock.wMonth == start.month && StartReached(start, startClock);
    }
    const bool started = StartReached(start, startClock);
    // The end is judged in the start clock's year: a daylight clock that has
    // run into January belongs to the year that is ending.
    const bool notEnded = EndNotReached(end, endClock, startClock.wYear);
    return start.month < end.month ? started && notEnded : started || notEnded;
}

}  // namespace

bool IsDaylightTime(const CTimeZone& zone, const SYSTEMTIME& time) {
    return DaylightInForce(zone, time, time);
}

bool IsDaylightTimeAtStandardClock(const CTimeZone& zone, const SYSTEMTIME& standardClock) {
    SYSTEMTIME daylightClock = standardClock;
    SubtractMinutes(daylightClock, -int{zone.m_daylight.bias});
    return DaylightInForce(zone, standardClock, daylightClock);
}
