// The current moment. It is read as UTC only: the wall clock at a place comes
// from that place's zone, never from the computer's own.
#pragma once

#include <chrono>
#include <cstdint>
#include <ctime>

namespace platform {

// Whole seconds: the program never looks closer, and a count of seconds
// reaches every year a calendar record holds, where the standard clock's own
// nanoseconds end in 1677 and 2262.
using TimePoint = std::chrono::sys_seconds;

class Clock {
public:
    virtual ~Clock() = default;
    virtual TimePoint Now() const = 0;
};

// The computer's real-time clock, read in seconds: std::chrono::system_clock
// counts nanoseconds and wraps outside 1677 to 2262.
class SystemClock final : public Clock {
public:
    TimePoint Now() const override;
};

// The moment a reading of the real-time clock names, rounded down to whole
// seconds, for every reading the clock can give.
TimePoint MomentOf(const std::timespec& reading);

// Whole seconds since 1970-01-01 00:00:00 UTC, rounded down.
std::int64_t SecondsSinceEpoch(TimePoint moment);

}  // namespace platform
