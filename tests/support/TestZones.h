// Zones with the rules of real places, written as the data files hold them:
// the start rule in standard wall time, the end rule in daylight wall time.
#pragma once

#include <memory>
#include <string>

#include "catalogue/TimeZone.h"

inline std::unique_ptr<CTimeZone> ZoneFromLine(const std::string& line) {
    return std::make_unique<CTimeZone>(line);
}

// Last Sunday of March 02:00 to last Sunday of October 03:00.
inline std::unique_ptr<CTimeZone> BerlinZone() {
    return ZoneFromLine("Europe/Berlin,,,60,10,0,1,5,3,0,60,3,0,1,5,2,0");
}

// Second Sunday of March 02:00 to first Sunday of November 02:00.
inline std::unique_ptr<CTimeZone> NewYorkZone() {
    return ZoneFromLine("America/New_York,,,-300,11,0,1,1,2,0,60,3,0,1,2,2,0");
}

// First Sunday of October 02:00 to first Sunday of April 03:00.
inline std::unique_ptr<CTimeZone> SydneyZone() {
    return ZoneFromLine("Australia/Sydney,,,600,4,0,1,1,3,0,60,10,0,1,1,2,0");
}

inline std::unique_ptr<CTimeZone> FixedZone(int standardMinutes) {
    return ZoneFromLine("Fixed,,," + std::to_string(standardMinutes));
}
