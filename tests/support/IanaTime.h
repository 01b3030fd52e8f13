// Conversions through the IANA time zone database of this machine (through the
// C library with TZ set), the reference the engine is checked against.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// Sets TZ for the lifetime of the object and restores it afterwards.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const std::string& zone) {
        if (const char* old = std::getenv("TZ")) {
            m_previous = old;
        }
        ::setenv("TZ", zone.c_str(), 1);
        ::tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;
    ~ScopedTimeZone() {
        if (m_previous) {
            ::setenv("TZ", m_previous->c_str(), 1);
        } else {
            ::unsetenv("TZ");
        }
        ::tzset();
    }

private:
    std::optional<std::string> m_previous;
};

struct WallFields {
    int year;
    int month;
    int day;
    int hour;
    int minute;
    friend bool operator==(const WallFields&, const WallFields&) = default;
};

inline std::string ToString(const WallFields& f) {
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", f.year, f.month, f.day, f.hour,
                  f.minute);
    return text;
}

struct IanaReading {
    WallFields wall;
    int offsetMinutes;  // east of UTC
};

// The wall clock and offset of IANA zone `zone` at the UTC moments from
// `first` up to (not including) `last`, every `step` seconds. Switching TZ
// rereads the zone, so a whole series is read under one setting.
inline std::vector<IanaReading> IanaReadings(const std::string& zone, std::time_t first,
                                             std::time_t last, std::time_t step) {
    ScopedTimeZone scoped(zone);
    std::vector<IanaReading> readings;
    for (std::time_t seconds = first; seconds < last; seconds += step) {
        std::tm fields{};
        if (::localtime_r(&seconds, &fields) == nullptr) {
            throw std::runtime_error("localtime_r failed");
        }
        readings.push_back({WallFields{fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
                                       fields.tm_hour, fields.tm_min},
                            static_cast<int>(fields.tm_gmtoff / 60)});
    }
    return readings;
}

// Whether the zone's installed rules are there at all (tzdata present).
inline bool IanaZoneInstalled(const std::string& zone) {
    return std::filesystem::exists("/usr/share/zoneinfo/" + zone);
}
