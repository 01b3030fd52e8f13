#include "timecalc/ResultTexts.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include "platform/GccRestrictFalsePositive.h"
#include "timecalc/TimeCarry.h"
#include "timecalc/UiStringTable.h"

namespace {

// An empty line between the pieces.
constexpr const char* kLineBreaks = "\n\n";
constexpr const char* kDaylightPiece = "   DST:";

// The weekday names of the C library's default locale, whatever the user's.
constexpr std::array<const char*, 7> kWeekdayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                      "Thursday", "Friday", "Saturday"};

// "%H:%M" of the carried fields.
std::string FormatClock(const SYSTEMTIME& time) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%02u:%02u", unsigned{time.wHour},
                  unsigned{time.wMinute});
    return text.data();
}

// "%m.%d.%Y, %A" of the carried fields.
std::string FormatDate(const SYSTEMTIME& time) {
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%02u.%02u.%04u, %s", unsigned{time.wMonth},
                  unsigned{time.wDay}, unsigned{time.wYear}, kWeekdayNames.at(time.wDayOfWeek));
    return text.data();
}

std::string ComposeLabel(const CTimeZone& zone, bool daylight, UiString nonNegativePrefix,
                         UiString negativePrefix) {
    const int standard = zone.m_standard.bias;
    std::string label = UiText(standard >= 0 ? nonNegativePrefix : negativePrefix);
    label += FormatMinutes(standard);
    if (daylight) {
        label += kDaylightPiece;
        label += FormatMinutes(zone.m_daylight.bias);
    }
    return label;
}

}  // namespace

std::string FormatMinutes(int minutes) {
    const int hours = minutes / 60;
    const int rest = std::abs(minutes - 60 * hours);
    std::string text = minutes < 0 ? "-" : "";
    text += std::to_string(std::abs(hours));
    if (rest != 0) {
        // g++ 12 at -O3 takes this string copy for an overlapping one.
        OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_BEGIN
        text += ":" + std::to_string(rest);
        OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_END
    }
    return text;
}

ResultTexts ComposeResult(const CTimeZone* base, const CTimeZone* remote, TimeValue enteredBaseTime,
                          const SYSTEMTIME& universalNow) {
    SYSTEMTIME carried = ToCalendarTime(enteredBaseTime);
    const CarryOutcome outcome = CarryToRemote(base, remote, carried);

    ResultTexts texts;
    texts.remoteTime = ToTimeValue(carried);
    const SYSTEMTIME shown = ToCalendarTime(texts.remoteTime);

    texts.remoteClock = FormatClock(shown);
    texts.remoteDate = FormatDate(shown);
    // The result area's date line ends in a blank.
    texts.result = texts.remoteClock + kLineBreaks + texts.remoteDate + " " + kLineBreaks +
                   UiText(UiString::TimeDifference) + " : ";
    if (base != nullptr) {
        texts.baseLabel = ComposeLabel(*base, outcome.baseDaylight, UiString::BaseLocationGmtPlus,
                                       UiString::BaseLocationGmt);
    }
    if (remote != nullptr) {
        texts.remoteLabel =
            ComposeLabel(*remote, outcome.remoteDaylight, UiString::RemoteLocationGmtPlus,
                         UiString::RemoteLocationGmt);
    }
    if (base != nullptr && remote != nullptr) {
        texts.differenceNow = OffsetDifference(*base, universalNow, *remote);
        texts.differenceAtEntered = CarriedOffsetDifference(*base, *remote, outcome);
        texts.result += FormatMinutes(*texts.differenceNow);
    }
    return texts;
}
