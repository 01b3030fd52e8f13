// The current moment as the window needs it: the machine's local wall clock
// for the base time ("Now", today's date) and UTC for the offsets.
#pragma once

#include "platform/Clock.h"
#include "timecalc/SystemTime.h"
#include "timecalc/TimeValue.h"

// The machine's local wall-clock time now, seconds included. Throws
// platform::FrameworkError(InvalidArgument) when the machine cannot convert
// the clock's moment.
TimeValue CurrentLocalTime(const platform::Clock& clock);

// The UTC calendar fields of the clock's moment. Throws
// platform::FrameworkError(InvalidArgument) for a moment outside the years the
// record holds.
SYSTEMTIME CurrentUniversalTime(const platform::Clock& clock);
