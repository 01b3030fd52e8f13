// The current moment and the machine's own local wall clock: the only places
// where the program consults the computer's time zone.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

namespace platform {

using TimePoint = std::chrono::system_clock::time_point;

class Clock {
public:
    virtual ~Clock() = default;
    virtual TimePoint Now() const = 0;
};

class SystemClock final : public Clock {
public:
    TimePoint Now() const override { return std::chrono::system_clock::now(); }
};

// Whole seconds since 1970-01-01 00:00:00 UTC, rounded down.
std::int64_t SecondsSinceEpoch(TimePoint moment);

struct LocalWallClock {
    std::int64_t year;
    int month;  // 1-12
    int day;
    int hour;
    int minute;
    int second;
};

// The machine's local wall clock at `moment`, as the C library's local-time
// conversion gives it; nothing when that conversion fails.
std::optional<LocalWallClock> ToLocalWallClock(TimePoint moment);

}  // namespace platform
