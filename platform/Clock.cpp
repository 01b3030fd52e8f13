#include "platform/Clock.h"

#include <ctime>
#include <limits>

namespace platform {

TimePoint SystemClock::Now() const {
    std::timespec reading{};
    std::timespec_get(&reading, TIME_UTC);
    return MomentOf(reading);
}

TimePoint MomentOf(const std::timespec& reading) {
    // The nanoseconds are always 0 to 999,999,999: dropping them rounds down.
    return TimePoint(std::chrono::seconds(reading.tv_sec));
}

std::int64_t SecondsSinceEpoch(TimePoint moment) {
    return std::chrono::floor<std::chrono::seconds>(moment.time_since_epoch()).count();
}

std::optional<LocalWallClock> ToLocalWallClock(TimePoint moment) {
    const std::int64_t seconds = SecondsSinceEpoch(moment);
    if (seconds < std::numeric_limits<std::time_t>::min() ||
        seconds > std::numeric_limits<std::time_t>::max()) {
        return std::nullopt;
    }
    const auto value = static_cast<std::time_t>(seconds);
    std::tm fields{};
    if (::localtime_r(&value, &fields) == nullptr) {
        return std::nullopt;
    }
    return LocalWallClock{std::int64_t{fields.tm_year} + 1900,
                          fields.tm_mon + 1,
                          fields.tm_mday,
                          fields.tm_hour,
                          fields.tm_min,
                          fields.tm_sec};
}

}  // namespace platform
