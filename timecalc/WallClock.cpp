#include "timecalc/WallClock.h"

#include "platform/FrameworkError.h"
#include "timecalc/CalendarMath.h"

TimeValue CurrentLocalTime(const platform::Clock& clock) {
    const auto local = platform::ToLocalWallClock(clock.Now());
    if (!local) {
        throw platform::FrameworkError(platform::ErrorStatus::InvalidArgument);
    }
    return DaysFromCivil(local->year, local->month, local->day) * 86'400 + local->hour * 3600 +
           local->minute * 60 + local->second;
}

SYSTEMTIME CurrentUniversalTime(const platform::Clock& clock) {
    return UniversalCalendarTime(platform::SecondsSinceEpoch(clock.Now()));
}
