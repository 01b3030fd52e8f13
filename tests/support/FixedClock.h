// A clock that stands where a test puts it.
#pragma once

#include <chrono>
#include <cstdint>

#include "platform/Clock.h"

class FixedClock : public platform::Clock {
public:
    explicit FixedClock(std::int64_t secondsSinceEpoch) : seconds(secondsSinceEpoch) {}
    platform::TimePoint Now() const override {
        return platform::TimePoint(std::chrono::seconds(seconds));
    }

    std::int64_t seconds;  // the test may move it
};
