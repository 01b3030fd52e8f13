#include "platform/Clock.h"

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

}  // namespace platform
