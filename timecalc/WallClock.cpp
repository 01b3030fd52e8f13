#include "timecalc/WallClock.h"

#include "timecalc/CalendarMath.h"
#include "timecalc/TimeCarry.h"

TimeValue CurrentWallClockAt(const CTimeZone* zone, const platform::Clock& clock) {
    SYSTEMTIME now = CurrentUniversalTime(clock);
    CarryTime(nullptr, zone, now);
    // Not range-checked: a moment beyond the calendar is rejected, as any
    // entered time is, by the conversion that reads it.
    return SecondsFromFields(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

SYSTEMTIME CurrentUniversalTime(const platform::Clock& clock) {
    return UniversalCalendarTime(platform::SecondsSinceEpoch(clock.Now()));
}
