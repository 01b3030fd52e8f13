#include "tools/tzcheck/ZoneClock.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <stdexcept>

#include "platform/GccRestrictFalsePositive.h"

bool ZoneClock::CanRead(const std::filesystem::path& zoneFile) {
    std::error_code error;
    return std::filesystem::is_regular_file(zoneFile, error) && std::ifstream(zoneFile);
}

ZoneClock::ZoneClock(const std::filesystem::path& zoneFile) {
    if (!CanRead(zoneFile)) {
        throw std::runtime_error("cannot read zone file " + zoneFile.string());
    }
    if (const char* previous = std::getenv("TZ")) {
        m_previous = previous;
    }
    // A leading colon and an absolute path: the C library reads that file.
    // g++ 12 at -O3 takes this string copy for an overlapping one.
    OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_BEGIN
    const std::string value = ":" + std::filesystem::absolute(zoneFile).string();
    OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_END
    ::setenv("TZ", value.c_str(), 1);
    ::tzset();
}

ZoneClock::~ZoneClock() {
    if (m_previous) {
        ::setenv("TZ", m_previous->c_str(), 1);
    } else {
        ::unsetenv("TZ");
    }
    ::tzset();
}

ZoneWallClock ZoneClock::ToWallClock(std::int64_t utcSeconds) const {
    const auto moment = static_cast<std::time_t>(utcSeconds);
    std::tm fields{};
    if (::localtime_r(&moment, &fields) == nullptr) {
        throw std::runtime_error("local time conversion failed");
    }
    return ZoneWallClock{fields.tm_year + 1900, fields.tm_mon + 1,
                         fields.tm_mday,        fields.tm_hour,
                         fields.tm_min,         fields.tm_sec,
                         fields.tm_wday,        static_cast<std::int32_t>(fields.tm_gmtoff)};
}
