// The current moment as the window needs it: the wall clock at the base place
// for the base time ("Now", today's date) and UTC for the offsets.
#pragma once

#include "catalogue/TimeZone.h"
#include "platform/Clock.h"
#include "timecalc/SystemTime.h"
#include "timecalc/TimeValue.h"

// The wall-clock time now at a place in `zone` (null, as for the entry "UTC":
// at UTC), seconds included: the clock's UTC moment carried to that place as
// every time is carried, so the computer's own zone plays no part. Throws
// platform::FrameworkError(InvalidArgument) for a moment outside the years the
// record holds.
TimeValue CurrentWallClockAt(const CTimeZone* zone, const platform::Clock& clock);

// The UTC calendar fields of the clock's moment. Throws
// platform::FrameworkError(InvalidArgument) for a moment outside the years the
// record holds.
SYSTEMTIME CurrentUniversalTime(const platform::Clock& clock);
