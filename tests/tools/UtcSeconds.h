// A UTC moment in seconds since the epoch, written as its calendar fields.
#pragma once

#include <cstdint>

#include "tools/tzsource/CivilDate.h"

inline std::int64_t Utc(int year, int month, int day, int hour, int minute = 0) {
    return tzsource::SecondsFromCivil(tzsource::CivilTime{{year, month, day}, hour, minute, 0});
}
