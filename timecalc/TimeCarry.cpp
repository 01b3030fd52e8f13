#include "timecalc/TimeCarry.h"

#include "timecalc/CalendarMath.h"
#include "timecalc/DaylightRules.h"

namespace {

int OffsetInForce(const CTimeZone& zone, bool daylight) {
    return zone.m_standard.bias + (daylight ? zone.m_daylight.bias : 0);
}

}  // namespace

bool WallClockToUniversal(const CTimeZone& zone, SYSTEMTIME& time) {
    const bool daylight = IsDaylightTime(zone, time);
    SubtractMinutes(time, zone.m_standard.bias);
    if (daylight) {
        SubtractMinutes(time, zone.m_daylight.bias);
    }
    return daylight;
}

bool UniversalToWallClock(const CTimeZone& zone, SYSTEMTIME& time) {
    SubtractMinutes(time, -int{zone.m_standard.bias});
    const bool daylight = IsDaylightTimeAtStandardClock(zone, time);
    if (daylight) {
        SubtractMinutes(time, -int{zone.m_daylight.bias});
    }
    return daylight;
}

CarryOutcome CarryToRemote(const CTimeZone* base, const CTimeZone* remote, SYSTEMTIME& time) {
    CarryOutcome outcome;
    if (base == remote) {
        // One clock on both sides: nothing moves, and both states are the
        // state at the entered time.
        outcome.baseDaylight = base != nullptr && IsDaylightTime(*base, time);
        outcome.remoteDaylight = outcome.baseDaylight;
        return outcome;
    }
    if (base != nullptr) {
        outcome.baseDaylight = WallClockToUniversal(*base, time);
    }
    if (remote != nullptr) {
        outcome.remoteDaylight = UniversalToWallClock(*remote, time);
    }
    return outcome;
}

void CarryTime(const CTimeZone* base, const CTimeZone* remote, SYSTEMTIME& time) {
    CarryToRemote(base, remote, time);
}

int CarriedOffsetDifference(const CTimeZone& base, const CTimeZone& remote,
                            const CarryOutcome& outcome) {
    return OffsetInForce(remote, outcome.remoteDaylight) -
           OffsetInForce(base, outcome.baseDaylight);
}

int CurrentOffset(const CTimeZone& zone, const SYSTEMTIME& utc) {
    SYSTEMTIME standardClock = utc;
    SubtractMinutes(standardClock, -int{zone.m_standard.bias});
    return OffsetInForce(zone, IsDaylightTimeAtStandardClock(zone, standardClock));
}

int OffsetDifference(const CTimeZone& base, const SYSTEMTIME& utc, const CTimeZone& remote) {
    return CurrentOffset(remote, utc) - CurrentOffset(base, utc);
}
