#include "tools/tzgen/ZoneRuleEncoder.h"

#include <algorithm>
#include <optional>
#include <set>

#include "timecalc/DaylightRules.h"
#include "tools/tzsource/DateText.h"

namespace tzgen {
namespace {

using namespace std::chrono;
using tzsource::DateText;
using tzsource::OffsetChange;

// The years after the window in which a rule shape must give the database's
// changes: 28 years run through every pairing of weekday and leap year.
constexpr int kEvidenceYears = 28;
// How far from a shape's date the database's change of a later year may lie
// and still be the same change: a weekday moves it by a week at most, a lunar
// calendar by about 11 days a year.
constexpr days kSameChangeReach{31};

std::int16_t Minutes(seconds value, std::vector<std::string>& notes) {
    if (value % minutes(1) != seconds(0)) {
        notes.push_back("offset " + std::to_string(value.count()) + " s rounded to whole minutes");
    }
    return static_cast<std::int16_t>(floor<minutes>(value).count());
}

// The wall-clock time in force just before the change, which is how the rule
// fields state a transition.
local_seconds LocalBefore(const OffsetChange& change) {
    return local_seconds((change.instant + change.offsetBefore).time_since_epoch());
}

year_month_day DateOf(local_seconds moment) {
    return year_month_day(floor<days>(moment));
}

std::string DateText(local_seconds moment) {
    return DateText(sys_days(floor<days>(moment).time_since_epoch()));
}

// The moment `rule` names in `y`, as the program's own rule evaluation finds
// its day; nothing where that day is not in the month.
std::optional<local_seconds> RuleMoment(const TransitionRule& rule, year y) {
    const year_month_day first(y / month(rule.month) / 1);
    if (!first.ok()) {
        return std::nullopt;
    }
    SYSTEMTIME monthStart;
    monthStart.wYear = static_cast<std::uint16_t>(int(y));
    monthStart.wMonth = rule.month;
    monthStart.wDay = 1;
    monthStart.wDayOfWeek = static_cast<std::uint16_t>(weekday(local_days(first)).c_encoding());
    const int day = RuleDay(rule, monthStart);
    const year_month_day date(y / month(rule.month) / std::chrono::day(static_cast<unsigned>(day)));
    if (day < 1 || !date.ok()) {
        return std::nullopt;
    }
    return local_days(date) + hours(rule.hour) + minutes(rule.minute);
}

TransitionRule FixedDate(local_days date, minutes timeOfDay) {
    const year_month_day ymd(date);
    TransitionRule rule;
    rule.month = static_cast<std::uint8_t>(unsigned(ymd.month()));
    rule.day = static_cast<std::uint8_t>(unsigned(ymd.day()));
    rule.hour = static_cast<std::uint8_t>(timeOfDay / hours(1));
    rule.minute = static_cast<std::uint8_t>(timeOfDay % hours(1) / minutes(1));
    return rule;
}

// Every rule shape that names `date`, in the order they are preferred: the
// n-th weekday of the month, the last one, the first one on or after a day of
// the month, and the fixed date.
std::vector<TransitionRule> ShapesNaming(local_days date, minutes timeOfDay) {
    const year_month_day ymd(date);
    const unsigned day = unsigned(ymd.day());
    const unsigned length = unsigned((ymd.year() / ymd.month() / last).day());
    const TransitionRule fixed = FixedDate(date, timeOfDay);
    const auto onWeekday = [&](unsigned searchStart, unsigned week) {
        TransitionRule rule = fixed;
        rule.day = static_cast<std::uint8_t>(searchStart);
        rule.weekday = static_cast<std::uint8_t>(weekday(date).c_encoding() + 1);
        rule.week = static_cast<std::uint8_t>(week);
        return rule;
    };
    std::vector<TransitionRule> shapes;
    if (day <= 28) {
        shapes.push_back(onWeekday(0, (day - 1) / 7 + 1));
    }
    if (day + 7 > length) {
        shapes.push_back(onWeekday(0, 5));
    }
    for (unsigned start = day > 6 ? day - 6 : 1; start <= day; ++start) {
        shapes.push_back(onWeekday(start, 1));
    }
    shapes.push_back(fixed);
    return shapes;
}

// The shapes for a change at `moment`; a change at midnight may also be the
// end (hour 24) of the day before, which keeps a rule such as "24:00 on the
// last Thursday" in its month when the next day is not.
std::vector<TransitionRule> Candidates(local_seconds moment) {
    const local_days date = floor<days>(moment);
    const minutes timeOfDay = floor<minutes>(moment - date);
    std::vector<TransitionRule> shapes = ShapesNaming(date, timeOfDay);
    if (timeOfDay == minutes(0)) {
        const std::vector<TransitionRule> before = ShapesNaming(date - days(1), hours(24));
        shapes.insert(shapes.end(), before.begin(), before.end());
    }
    return shapes;
}

std::optional<local_seconds> Nearest(const std::vector<local_seconds>& sorted,
                                     local_seconds moment) {
    const auto after = std::lower_bound(sorted.begin(), sorted.end(), moment);
    std::optional<local_seconds> best;
    if (after != sorted.end()) {
        best = *after;
    }
    if (after != sorted.begin() && (!best || moment - *(after - 1) < *best - moment)) {
        best = *(after - 1);
    }
    return best;
}

// Whether `rule` gives every later change of the database that lies near the
// date it names, and there is at least one.
bool FollowsLaterChanges(const TransitionRule& rule, year from,
                         const std::vector<local_seconds>& later) {
    bool followed = false;
    for (int k = 1; k <= kEvidenceYears; ++k) {
        const std::optional<local_seconds> own = RuleMoment(rule, from + years(k));
        if (!own) {
            return false;
        }
        const std::optional<local_seconds> database = Nearest(later, *own);
        if (!database || (*database > *own ? *database - *own : *own - *database) >
                             duration_cast<seconds>(kSameChangeReach)) {
            continue;  // the database has no such change that year
        }
        if (*database != *own) {
            return false;
        }
        followed = true;
    }
    return followed;
}

class Encoder {
public:
    Encoder(const tzsource::ZoneHistory& zone, const RuleWindow& window)
        : m_history(zone), m_from(window.start), m_to(window.end) {}

    EncodedZone Encode() {
        const std::vector<OffsetChange> changes = m_history.Changes(m_from, m_to);
        const seconds first = m_history.OffsetAt(m_from);
        const std::size_t run = ExpressibleRun(first, changes);
        if (run == 0) {
            m_encoded.standard.bias = Minutes(first, m_encoded.notes);
            return std::move(m_encoded);
        }
        m_low = std::min(first, changes.front().offsetAfter);
        m_high = std::max(first, changes.front().offsetAfter);
        m_encoded.standard.bias = Minutes(m_low, m_encoded.notes);
        m_encoded.daylight.bias = Minutes(m_high - m_low, m_encoded.notes);
        const OffsetChange* up = nullptr;
        const OffsetChange* down = nullptr;
        for (std::size_t i = 0; i < run; ++i) {
            (IsUp(changes[i]) ? up : down) = &changes[i];
        }
        if (up != nullptr && down != nullptr) {
            m_encoded.daylight = WithBias(Shape(*up), m_encoded.daylight.bias);
            m_encoded.standard = WithBias(Shape(*down), m_encoded.standard.bias);
            if (m_encoded.daylight.month == m_encoded.standard.month) {
                m_encoded.notes.push_back(std::string(kInexact) +
                                          "both changes in one month: daylight time counted from " +
                                          DateText(LocalBefore(*up)) + " to the month's end");
            }
        } else if (!EncodeSingleChange(up != nullptr ? *up : *down, first)) {
            return std::move(m_encoded);
        }
        NoteChangesNotFollowed(changes, run);
        return std::move(m_encoded);
    }

private:
    static bool IsUp(const OffsetChange& change) {
        return change.offsetAfter > change.offsetBefore;
    }

    static TransitionRule WithBias(TransitionRule rule, std::int16_t bias) {
        rule.bias = bias;
        return rule;
    }

    // How many changes from the first one a pair of rules can say: two offsets,
    // at most one change up and one down.
    static std::size_t ExpressibleRun(seconds first, const std::vector<OffsetChange>& changes) {
        std::set<seconds> offsets{first};
        bool upSeen = false;
        bool downSeen = false;
        std::size_t run = 0;
        for (const OffsetChange& change : changes) {
            offsets.insert(change.offsetAfter);
            bool& seen = IsUp(change) ? upSeen : downSeen;
            if (offsets.size() > 2 || seen) {
                break;
            }
            seen = true;
            ++run;
        }
        return run;
    }

    // The database's changes between the same two offsets after `change`, for
    // the years in which a rule shape is tried against them.
    std::vector<local_seconds> LaterChanges(const OffsetChange& change) const {
        std::vector<local_seconds> later;
        for (const OffsetChange& next : m_history.Changes(
                 change.instant + seconds(1), sys_seconds(m_to) + years(kEvidenceYears + 1))) {
            if (next.offsetBefore == change.offsetBefore &&
                next.offsetAfter == change.offsetAfter) {
                later.push_back(LocalBefore(next));
            }
        }
        return later;
    }

    // The first shape that names the change and gives the database's same
    // change in the years after; a fixed date where none does.
    TransitionRule Shape(const OffsetChange& change) {
        const local_seconds moment = LocalBefore(change);
        const year y = DateOf(moment).year();
        const std::vector<local_seconds> later = LaterChanges(change);
        for (const TransitionRule& shape : Candidates(moment)) {
            if (RuleMoment(shape, y) == moment && FollowsLaterChanges(shape, y, later)) {
                return shape;
            }
        }
        if (moment - floor<minutes>(moment) != seconds(0)) {
            m_encoded.notes.push_back("change on " + DateText(moment) + " rounded down to minutes");
        }
        if (!later.empty()) {
            m_encoded.notes.push_back("change on " + DateText(moment) + " fixed for this window");
        }
        return FixedDate(floor<days>(moment), floor<minutes>(moment - floor<days>(moment)));
    }

    // One change in the window: the other rule is where the window wraps
    // around, so that the offset before the change holds from the window's
    // start. Two rules in one month cannot both count, so where the change
    // falls in the start's month the wrap moves to that month's first day
    // (the window's last days then follow its first ones), or, a year on, the
    // change is left out. Returns false when the zone is kept at one offset.
    bool EncodeSingleChange(const OffsetChange& change, seconds first) {
        const bool up = IsUp(change);
        // The wrap is stated on the clock of the change back to the offset
        // before: the daylight clock when the change goes up.
        const local_seconds wrap((sys_seconds(m_from) + (up ? m_high : m_low)).time_since_epoch());
        const local_seconds moment = LocalBefore(change);
        const TransitionRule changeRule = Shape(change);
        TransitionRule wrapRule;
        if (changeRule.month != unsigned(DateOf(wrap).month())) {
            wrapRule = FixedDate(floor<days>(wrap), floor<minutes>(wrap - floor<days>(wrap)));
        } else if (moment - wrap < days(183)) {
            // Day 31 at 24:00 of the month before: the end of that month,
            // whatever its length.
            wrapRule.month = static_cast<std::uint8_t>(unsigned(DateOf(wrap).month() - months(1)));
            wrapRule.day = 31;
            wrapRule.hour = 24;
            m_encoded.notes.push_back(std::string(kInexact) +
                                      "rules wrap at the start of the month, not on " +
                                      DateText(m_from) + ": the last days of the window are off");
        } else {
            m_encoded = EncodedZone{};
            m_encoded.standard.bias = Minutes(first, m_encoded.notes);
            m_encoded.notes.push_back(std::string(kInexact) + "change on " + DateText(moment) +
                                      " at the window's end left out");
            return false;
        }
        TransitionRule& daylight = m_encoded.daylight;
        TransitionRule& standard = m_encoded.standard;
        daylight = WithBias(up ? changeRule : wrapRule, daylight.bias);
        standard = WithBias(up ? wrapRule : changeRule, standard.bias);
        return true;
    }

    // The changes after the run that the rules give anyway (the same yearly
    // change again at the window's end) need no word; the first that they do
    // not give is where the rules depart from the database.
    void NoteChangesNotFollowed(const std::vector<OffsetChange>& changes, std::size_t run) {
        for (std::size_t i = run; i < changes.size(); ++i) {
            const OffsetChange& change = changes[i];
            const bool between = std::set<seconds>{change.offsetBefore, change.offsetAfter} ==
                                 std::set<seconds>{m_low, m_high};
            const TransitionRule& rule = IsUp(change) ? m_encoded.daylight : m_encoded.standard;
            const local_seconds moment = LocalBefore(change);
            if (!between || RuleMoment(rule, DateOf(moment).year()) != moment) {
                m_encoded.notes.push_back(
                    std::string(kInexact) + std::to_string(changes.size() - i) + " changes from " +
                    DateText(moment) + " on not expressible: the rules hold the ones before");
                return;
            }
        }
    }

    const tzsource::ZoneHistory& m_history;
    sys_days m_from;
    sys_days m_to;
    seconds m_low{0};
    seconds m_high{0};
    EncodedZone m_encoded;
};

}  // namespace

RuleWindow RuleWindow::FromStart(sys_days start) {
    // A year on from 29 February is 1 March.
    return RuleWindow{start, sys_days(year_month_day(start) + years(1))};
}

EncodedZone EncodeZone(const tzsource::ZoneHistory& zone, const RuleWindow& window) {
    return Encoder(zone, window).Encode();
}

}  // namespace tzgen
