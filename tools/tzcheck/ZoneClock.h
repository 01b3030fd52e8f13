// The C library's own conversion of a UTC moment to a zone's wall clock, with
// the process's local zone switched to one compiled zone file. The accuracy
// checker takes it as the reference the program's rules are measured against.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

struct ZoneWallClock {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 0;                    // 0 = Sunday
    std::int32_t utcOffsetSeconds = 0;  // east of UTC
};

class ZoneClock {
public:
    // Whether `zoneFile` is a readable regular file: the C library would
    // silently fall back to UTC for any other.
    static bool CanRead(const std::filesystem::path& zoneFile);

    // Makes `zoneFile` (a TZif file that CanRead) the process's local zone
    // until this object goes, when the previous setting returns. Throws
    // std::runtime_error when the file cannot be read.
    explicit ZoneClock(const std::filesystem::path& zoneFile);
    ZoneClock(const ZoneClock&) = delete;
    ZoneClock& operator=(const ZoneClock&) = delete;
    ~ZoneClock();

    ZoneWallClock ToWallClock(std::int64_t utcSeconds) const;

private:
    std::optional<std::string> m_previous;
};
