// Whether a zone's daylight-saving time is in force, from its two yearly
// rules evaluated on wall-clock fields.
#pragma once

#include "catalogue/TimeZone.h"
#include "catalogue/TransitionRule.h"
#include "timecalc/SystemTime.h"

// The day of `time`'s month on which `rule`'s transition falls, counted from
// `time`'s own day and day of week (0 for a weekday rule whose day and week
// are both 0).
int RuleDay(const TransitionRule& rule, const SYSTEMTIME& time);

// Daylight-saving time in force at the wall-clock time `time`, both rules
// compared with the same fields. Used for a time entered at a place: in the
// repeated hour of the autumn change it answers for the first occurrence.
bool IsDaylightTime(const CTimeZone& zone, const SYSTEMTIME& time);

// Daylight-saving time in force at a moment given as the zone's standard wall
// clock (UTC plus the standard offset). The start rule is compared with the
// standard clock and the end rule with the daylight clock, since each
// transition is stated in the local time in force before it; so every moment
// gets its exact answer.
bool IsDaylightTimeAtStandardClock(const CTimeZone& zone, const SYSTEMTIME& standardClock);
