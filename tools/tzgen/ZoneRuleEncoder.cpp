#include "tools/tzgen/ZoneRuleEncoder.h"

#include <algorithm>
#include <cstdint>
#include <set>

#include "platform/GccRestrictFalsePositive.h"
#include "tools/tzsource/CivilDate.h"

namespace tzgen {
namespace {

using tzsource::CivilDate;
using tzsource::CivilFromDays;
using tzsource::CivilFromSeconds;
using tzsource::DaysFromCivil;
using tzsource::FloorDiv;
using tzsource::kSecondsPerDay;
using tzsource::OffsetChange;
using tzsource::PosixDate;

constexpr std::int64_t kSecondsPerHour = 3600;

std::int16_t Minutes(std::int32_t seconds, std::vector<std::string>& notes) {
    if (seconds % 60 != 0) {
        notes.push_back("offset " + std::to_string(seconds) + " s rounded to whole minutes");
    }
    return static_cast<std::int16_t>(FloorDiv(seconds, 60));
}

std::string TwoDigits(int value) {
    // g++ 12 at -O3 takes this string copy for an overlapping one.
    OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_BEGIN
    return (value < 10 ? "0" : "") + std::to_string(value);
    OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_END
}

std::string DateText(const CivilDate& date) {
    return std::to_string(date.year) + "-" + TwoDigits(date.month) + "-" + TwoDigits(date.day);
}

TransitionRule FixedDate(const CivilDate& date, std::int64_t secondsOfDay) {
    TransitionRule rule;
    rule.month = static_cast<std::uint8_t>(date.month);
    rule.day = static_cast<std::uint8_t>(date.day);
    rule.hour = static_cast<std::uint8_t>(secondsOfDay / kSecondsPerHour);
    rule.minute = static_cast<std::uint8_t>(secondsOfDay % kSecondsPerHour / 60);
    return rule;
}

// Whether a day-of-year rule names the same month and day in common and leap
// years once moved by `days`, so that a fixed date is exact every year.
bool SameDateEveryYear(const PosixDate& date, std::int64_t days) {
    const auto moved = [&](int year) {
        return CivilFromDays(DaysFromCivil(tzsource::DateInYear(date, year)) + days);
    };
    const CivilDate common = moved(2001);
    const CivilDate leap = moved(2004);
    return common.month == leap.month && common.day == leap.day && common.year == 2001 &&
           leap.year == 2004;
}

std::int64_t TransitionLocal(const OffsetChange& change) {
    return change.instant + change.offsetBefore;
}

}  // namespace

TransitionRule EncodeTransition(const tzsource::PosixTransition& transition, int year,
                                std::vector<std::string>& notes) {
    const std::int64_t time = transition.timeSeconds;
    if (time % 60 != 0) {
        notes.push_back("transition time " + std::to_string(time) + " s rounded down to minutes");
    }
    const std::int64_t days = FloorDiv(time, kSecondsPerDay);
    const std::int64_t secondsOfDay = time - days * kSecondsPerDay;
    const PosixDate& date = transition.date;

    if (date.kind == PosixDate::Kind::MonthWeekDay) {
        const int monthLength = tzsource::DaysInMonth(year, date.month);
        TransitionRule rule = FixedDate(CivilDate{year, date.month, 1}, secondsOfDay);
        rule.day = 0;
        if (days == 0) {
            rule.weekday = static_cast<std::uint8_t>(date.weekday + 1);
            rule.week = static_cast<std::uint8_t>(date.week);
            return rule;
        }
        // The n-th weekday is the first one on or after day 7n-6, the last one
        // the first on or after the month's length less six; moving the time by
        // whole days moves both the weekday and that search start.
        const std::int64_t searchStart =
            (date.week == 5 ? monthLength - 6 : 7 * date.week - 6) + days;
        const bool lengthVaries = date.week == 5 && date.month == 2;
        if (searchStart >= 1 && searchStart + 6 <= monthLength && !lengthVaries) {
            rule.day = static_cast<std::uint8_t>(searchStart);
            rule.weekday =
                static_cast<std::uint8_t>(tzsource::FloorMod(date.weekday + days, 7) + 1);
            rule.week = 1;
            return rule;
        }
        if (time == kSecondsPerDay) {
            // The end of the named day: hour 24 counts the whole day as before.
            rule.weekday = static_cast<std::uint8_t>(date.weekday + 1);
            rule.week = static_cast<std::uint8_t>(date.week);
            rule.hour = 24;
            return rule;
        }
    } else if (SameDateEveryYear(date, days)) {
        const CivilDate moved =
            CivilFromDays(DaysFromCivil(tzsource::DateInYear(date, year)) + days);
        return FixedDate(moved, secondsOfDay);
    }
    const CivilDate moved = CivilFromDays(DaysFromCivil(tzsource::DateInYear(date, year)) + days);
    notes.push_back("change on " + DateText(moved) + " fixed for " + std::to_string(year) +
                    " only");
    return FixedDate(moved, secondsOfDay);
}

EncodedZone EncodeRule(const tzsource::PosixTz& tz, int year) {
    EncodedZone zone;
    const std::int64_t yearStart = DaysFromCivil({year, 1, 1}) * kSecondsPerDay;
    const std::int64_t yearEnd = DaysFromCivil({year + 1, 1, 1}) * kSecondsPerDay;
    if (!tz.HasDaylight() || tz.daylightOffset == tz.standardOffset ||
        tzsource::RuleChanges(tz, yearStart, yearEnd).empty()) {
        // Daylight time all year round is a standard time of its own.
        zone.standard.bias = Minutes(tzsource::RuleOffsetAt(tz, yearStart), zone.notes);
        return zone;
    }
    const bool negativeSaving = tz.daylightOffset < tz.standardOffset;
    if (negativeSaving) {
        zone.notes.push_back("negative saving: standard and daylight time swapped");
    }
    const auto& begins = negativeSaving ? tz.end : tz.start;
    const auto& ends = negativeSaving ? tz.start : tz.end;
    const std::int32_t low = std::min(tz.standardOffset, tz.daylightOffset);
    const std::int32_t high = std::max(tz.standardOffset, tz.daylightOffset);
    zone.standard = EncodeTransition(ends, year, zone.notes);
    zone.standard.bias = Minutes(low, zone.notes);
    zone.daylight = EncodeTransition(begins, year, zone.notes);
    zone.daylight.bias = Minutes(high - low, zone.notes);
    if (zone.standard.month == zone.daylight.month) {
        zone.notes.push_back("both changes in one month: approximate");
    }
    return zone;
}

EncodedZone EncodeYearChanges(const tzsource::ZoneHistory& history, int year) {
    EncodedZone zone;
    zone.source = std::to_string(year) + " transitions";
    // A day either side catches changes whose local time lies in the year.
    const std::int64_t from = (DaysFromCivil({year, 1, 1}) - 1) * kSecondsPerDay;
    const std::int64_t to = (DaysFromCivil({year + 1, 1, 1}) + 1) * kSecondsPerDay;
    std::vector<OffsetChange> changes;
    for (const OffsetChange& change : history.Changes(from, to)) {
        if (CivilFromSeconds(TransitionLocal(change)).date.year == year) {
            changes.push_back(change);
        }
    }
    const std::int32_t first =
        changes.empty() ? history.OffsetAt(from + kSecondsPerDay) : changes.front().offsetBefore;
    std::set<std::int32_t> offsets{first};
    for (const OffsetChange& change : changes) {
        offsets.insert(change.offsetAfter);
    }
    if (changes.empty()) {
        zone.standard.bias = Minutes(first, zone.notes);
        zone.notes.push_back("offset fixed for " + std::to_string(year));
        return zone;
    }
    if (offsets.size() > 2 || changes.size() > 2) {
        // More than one period of a second offset: no pair of yearly rules can
        // say it; the offset that holds longest wins.
        zone.standard.bias = Minutes(history.OffsetAt(from + 183 * kSecondsPerDay), zone.notes);
        zone.notes.push_back(std::to_string(changes.size()) + " changes in " +
                             std::to_string(year) + " not expressible: offset of mid-year kept");
        return zone;
    }
    const std::int32_t low = *offsets.begin();
    const std::int32_t high = *offsets.rbegin();
    zone.standard.bias = Minutes(low, zone.notes);
    zone.daylight.bias = Minutes(high - low, zone.notes);
    // Without a change into (or out of) the higher offset in the year, it runs
    // from the year's first moment (or to its last).
    zone.daylight.month = 1;
    zone.daylight.day = 1;
    zone.standard.month = 12;
    zone.standard.day = 31;
    zone.standard.hour = 24;
    for (const OffsetChange& change : changes) {
        const tzsource::CivilTime local = CivilFromSeconds(TransitionLocal(change));
        const std::int64_t secondsOfDay = local.hour * kSecondsPerHour + local.minute * 60;
        TransitionRule& rule = change.offsetAfter == high ? zone.daylight : zone.standard;
        const std::int16_t bias = rule.bias;
        rule = FixedDate(local.date, secondsOfDay);
        rule.bias = bias;
    }
    zone.notes.push_back("changes fixed for " + std::to_string(year) + " only");
    if (zone.standard.month == zone.daylight.month) {
        zone.notes.push_back("both changes in one month: approximate");
    }
    return zone;
}

EncodedZone EncodeZone(const tzsource::ZoneHistory& history, int year) {
    const std::int64_t from = (DaysFromCivil({year, 1, 1}) - 2) * kSecondsPerDay;
    const std::int64_t to = (DaysFromCivil({year + 1, 1, 1}) + 2) * kSecondsPerDay;
    const auto& footer = history.Footer();
    if (footer && tzsource::RuleOffsetAt(*footer, from) == history.OffsetAt(from) &&
        tzsource::RuleChanges(*footer, from, to) == history.Changes(from, to)) {
        EncodedZone zone = EncodeRule(*footer, year);
        zone.source = "TZ " + history.Data().footer;
        return zone;
    }
    return EncodeYearChanges(history, year);
}

}  // namespace tzgen
