// Turns a zone of the time zone database into the two yearly rules of a zone
// line that hold over twelve months from a start date: the changes of those
// months, each written in the rule shape that also gives the database's
// changes in the years after (as the zone's own yearly rule does).
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/TransitionRule.h"
#include "tools/tzsource/ZoneHistory.h"

namespace tzgen {

// The twelve months a zone file is made for: from `start` 00:00 UTC to the
// same day a year later.
struct RuleWindow {
    std::chrono::sys_days start;
    std::chrono::sys_days end;

    static RuleWindow FromStart(std::chrono::sys_days start);
};

struct EncodedZone {
    // bias: standard offset in minutes east; date: daylight-saving time ends
    // (local time on the daylight clock).
    TransitionRule standard;
    // bias: minutes added while daylight-saving time is in force, 0 for none;
    // date: daylight-saving time begins (local time on the standard clock).
    TransitionRule daylight;
    // Where the rules depart from the database inside the window (each such
    // note begins with kInexact), or hold for it alone, in words.
    std::vector<std::string> notes;
};

// The start of a note, and of its part of a zone line's remark, that says
// the rules depart from the database inside the window.
inline constexpr std::string_view kInexact = "inexact: ";

// The zone over `window`. The lower of the window's offsets is standard time,
// the higher one daylight time. A single change is exact too: the rules then
// wrap around at the window's start. Where one pair of rules cannot say all
// the window's changes (three offsets, or more changes than one pair of
// rules makes), the rules hold the changes from the start on as far as they
// can, and a note says from when they depart.
EncodedZone EncodeZone(const tzsource::ZoneHistory& zone, const RuleWindow& window);

}  // namespace tzgen
