// What a suggestion shows beside a place's name, so that places of the same
// name can be told apart: its zone's region and its offset from GMT now.
#pragma once

#include <string>

#include "catalogue/TimeZone.h"
#include "timecalc/SystemTime.h"

// The zone's label without the offsets it begins with ("UTC-08:00/-07:00
// United States - Pacific" gives "United States - Pacific"); a label of
// another form as it stands.
std::string ZoneRegion(const CTimeZone& zone);

// The offset from GMT at the UTC moment `utc`, daylight-saving time included:
// "GMT+1", "GMT-7", "GMT+5:30"; "GMT+0" for no zone, as for the entry "UTC".
std::string OffsetNowText(const CTimeZone* zone, const SYSTEMTIME& utc);
