// Everything the window shows about a conversion, composed without a window:
// the result area's text and the two labels above the place lists.
#pragma once

#include <optional>
#include <string>

#include "catalogue/TimeZone.h"
#include "timecalc/SystemTime.h"
#include "timecalc/TimeValue.h"

// The labels' texts before the first conversion.
inline constexpr const char* kBaseLabelInitialText = "Base location:";
inline constexpr const char* kRemoteLabelInitialText = "Remote location:";

// Minutes as hours and minutes: "5:30", "-0:30", "-6", "1:5" (no leading zeros).
std::string FormatMinutes(int minutes);

struct ResultTexts {
    std::string result;                      // lines joined by "\n"
    std::optional<std::string> baseLabel;    // absent: the label keeps its text
    std::optional<std::string> remoteLabel;  // absent: the label keeps its text
    TimeValue remoteTime = 0;                // the carried wall-clock time

    // The result's pieces, for a caller that lays them out in its own way.
    std::string remoteClock;  // "08:05"
    std::string remoteDate;   // "07.01.2026, Wednesday"
    // The remote offset minus the base offset in minutes; absent unless both
    // places have a zone, as in the result's last line.
    std::optional<int> differenceNow;        // at `universalNow`: the result's last line
    std::optional<int> differenceAtEntered;  // at the entered time, as the carry found it
};

// The texts for the base place's wall-clock time `enteredBaseTime`, carried
// from `base` to `remote` (null: "UTC"), with the difference of the two
// offsets at the UTC moment `universalNow`. Throws platform::FrameworkError
// when the carried time leaves the calendar range, before anything is
// composed.
ResultTexts ComposeResult(const CTimeZone* base, const CTimeZone* remote, TimeValue enteredBaseTime,
                          const SYSTEMTIME& universalNow);
