// Carrying an entered wall-clock time from the base place to the remote place,
// and the difference between two places' offsets at the present moment. An
// absent zone (the list entry "UTC") stands for GMT.
#pragma once

#include "catalogue/TimeZone.h"
#include "timecalc/SystemTime.h"

// Turns a zone's wall-clock time into UTC. Daylight-saving time is judged on
// the entered fields, so a time in the repeated autumn hour counts as its
// first occurrence. Returns whether daylight-saving time was in force.
bool WallClockToUniversal(const CTimeZone& zone, SYSTEMTIME& time);

// Turns UTC into the zone's wall-clock time, judging daylight-saving time at
// the zone's own clock. Returns whether daylight-saving time is in force.
bool UniversalToWallClock(const CTimeZone& zone, SYSTEMTIME& time);

struct CarryOutcome {
    bool baseDaylight = false;    // the base zone's state at the entered time
    bool remoteDaylight = false;  // the remote zone's state at the carried time
};

// Moves the base place's wall-clock time `time` to the remote place's wall
// clock: through UTC, each zone judged at its own clock for that moment. Both
// zones the same record, or both absent: the time does not move.
CarryOutcome CarryToRemote(const CTimeZone* base, const CTimeZone* remote, SYSTEMTIME& time);

// CarryToRemote without the daylight-saving states.
void CarryTime(const CTimeZone* base, const CTimeZone* remote, SYSTEMTIME& time);

// The remote zone's offset minus the base zone's, in minutes, as one carry
// found them (`outcome`): the difference at the carried time, where
// OffsetDifference gives it at the present moment.
int CarriedOffsetDifference(const CTimeZone& base, const CTimeZone& remote,
                            const CarryOutcome& outcome);

// The zone's offset from GMT in minutes at the UTC moment `utc`, daylight
// saving included when in force at the zone's own clock.
int CurrentOffset(const CTimeZone& zone, const SYSTEMTIME& utc);

// The remote zone's current offset minus the base zone's, in minutes:
// positive when the remote place is ahead. It describes the moment `utc`, not
// the entered time.
int OffsetDifference(const CTimeZone& base, const SYSTEMTIME& utc, const CTimeZone& remote);
