#include "tools/tzsource/PosixTz.h"

#include <algorithm>
#include <cctype>
#include <tuple>

namespace tzsource {
namespace {

class Scanner {
public:
    explicit Scanner(std::string_view text) : m_text(text) {}

    bool AtEnd() const { return m_position >= m_text.size(); }
    char Peek() const { return AtEnd() ? '\0' : m_text[m_position]; }
    bool Accept(char c) {
        if (Peek() == c && !AtEnd()) {
            ++m_position;
            return true;
        }
        return false;
    }

    // A zone abbreviation: three or more letters, or <...> of letters, digits and signs.
    std::optional<std::string> Name() {
        std::string name;
        if (Accept('<')) {
            while (!AtEnd() && Peek() != '>') {
                const char c = Peek();
                if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != '+' && c != '-') {
                    return std::nullopt;
                }
                name += c;
                ++m_position;
            }
            if (!Accept('>')) {
                return std::nullopt;
            }
        } else {
            while (std::isalpha(static_cast<unsigned char>(Peek())) != 0) {
                name += Peek();
                ++m_position;
            }
        }
        if (name.size() < 3) {
            return std::nullopt;
        }
        return name;
    }

    bool StartsName() const {
        return Peek() == '<' || std::isalpha(static_cast<unsigned char>(Peek())) != 0;
    }

    // [+-]hh[:mm[:ss]] in seconds; hours up to `maxHours`.
    std::optional<std::int32_t> Duration(int maxHours) {
        int sign = 1;
        if (Accept('-')) {
            sign = -1;
        } else {
            Accept('+');
        }
        const auto hours = Number(0, maxHours);
        if (!hours) {
            return std::nullopt;
        }
        std::int32_t seconds = *hours * 3600;
        if (Accept(':')) {
            const auto minutes = Number(0, 59);
            if (!minutes) {
                return std::nullopt;
            }
            seconds += *minutes * 60;
            if (Accept(':')) {
                const auto secs = Number(0, 59);
                if (!secs) {
                    return std::nullopt;
                }
                seconds += *secs;
            }
        }
        return sign * seconds;
    }

    std::optional<int> Number(int low, int high) {
        int value = 0;
        std::size_t digits = 0;
        while (std::isdigit(static_cast<unsigned char>(Peek())) != 0) {
            value = value * 10 + (Peek() - '0');
            ++m_position;
            if (++digits > 3) {
                return std::nullopt;
            }
        }
        if (digits == 0 || value < low || value > high) {
            return std::nullopt;
        }
        return value;
    }

private:
    std::string_view m_text;
    std::size_t m_position = 0;
};

std::optional<PosixDate> ParseDate(Scanner& scan) {
    PosixDate date;
    if (scan.Accept('M')) {
        const auto month = scan.Number(1, 12);
        if (!month || !scan.Accept('.')) {
            return std::nullopt;
        }
        const auto week = scan.Number(1, 5);
        if (!week || !scan.Accept('.')) {
            return std::nullopt;
        }
        const auto weekday = scan.Number(0, 6);
        if (!weekday) {
            return std::nullopt;
        }
        date.kind = PosixDate::Kind::MonthWeekDay;
        date.month = *month;
        date.week = *week;
        date.weekday = *weekday;
        return date;
    }
    if (scan.Accept('J')) {
        const auto day = scan.Number(1, 365);
        if (!day) {
            return std::nullopt;
        }
        date.kind = PosixDate::Kind::JulianNoLeap;
        date.dayNumber = *day;
        return date;
    }
    const auto day = scan.Number(0, 365);
    if (!day) {
        return std::nullopt;
    }
    date.kind = PosixDate::Kind::ZeroBased;
    date.dayNumber = *day;
    return date;
}

std::optional<PosixTransition> ParseTransition(Scanner& scan) {
    const auto date = ParseDate(scan);
    if (!date) {
        return std::nullopt;
    }
    PosixTransition transition{*date, 7200};
    if (scan.Accept('/')) {
        const auto time = scan.Duration(167);
        if (!time) {
            return std::nullopt;
        }
        transition.timeSeconds = *time;
    }
    return transition;
}

// The UTC instant of a transition in `year`, its time read on the clock of `offsetBefore`.
std::int64_t TransitionInstant(const PosixTransition& transition, int year,
                               std::int32_t offsetBefore) {
    return DaysFromCivil(DateInYear(transition.date, year)) * kSecondsPerDay +
           transition.timeSeconds - offsetBefore;
}

struct Switch {
    std::int64_t instant;
    bool daylightAfter;
};

// Every switch of the rule in the years around [from, to), in order. At equal
// instants the end comes first, so a rule that restarts daylight-saving time
// the moment it ends (daylight all year) stays in daylight time.
std::vector<Switch> Switches(const PosixTz& tz, std::int64_t from, std::int64_t to) {
    const int firstYear = CivilFromSeconds(from).date.year - 1;
    const int lastYear = CivilFromSeconds(to).date.year + 1;
    std::vector<Switch> switches;
    for (int year = firstYear; year <= lastYear; ++year) {
        switches.push_back({TransitionInstant(tz.start, year, tz.standardOffset), true});
        switches.push_back({TransitionInstant(tz.end, year, tz.daylightOffset), false});
    }
    std::sort(switches.begin(), switches.end(), [](const Switch& a, const Switch& b) {
        return std::tie(a.instant, a.daylightAfter) < std::tie(b.instant, b.daylightAfter);
    });
    return switches;
}

}  // namespace

std::optional<PosixTz> ParsePosixTz(std::string_view text) {
    Scanner scan(text);
    PosixTz tz;
    auto standardName = scan.Name();
    const auto standardWest = standardName ? scan.Duration(24) : std::nullopt;
    if (!standardWest) {
        return std::nullopt;
    }
    tz.standardName = std::move(*standardName);
    tz.standardOffset = -*standardWest;
    if (scan.AtEnd()) {
        return tz;
    }
    auto daylightName = scan.Name();
    if (!daylightName) {
        return std::nullopt;
    }
    tz.daylightName = std::move(*daylightName);
    tz.daylightOffset = tz.standardOffset + 3600;
    if (!scan.AtEnd() && scan.Peek() != ',') {
        const auto daylightWest = scan.Duration(24);
        if (!daylightWest) {
            return std::nullopt;
        }
        tz.daylightOffset = -*daylightWest;
    }
    if (!scan.Accept(',')) {
        return std::nullopt;
    }
    const auto start = ParseTransition(scan);
    if (!start || !scan.Accept(',')) {
        return std::nullopt;
    }
    const auto end = ParseTransition(scan);
    if (!end || !scan.AtEnd()) {
        return std::nullopt;
    }
    tz.start = *start;
    tz.end = *end;
    return tz;
}

CivilDate DateInYear(const PosixDate& date, int year) {
    switch (date.kind) {
        case PosixDate::Kind::JulianNoLeap: {
            // Day 60 is always 1 March: skip the leap day by counting in a common year.
            const std::int64_t days = DaysFromCivil({2001, 1, 1}) + date.dayNumber - 1;
            const CivilDate common = CivilFromDays(days);
            return CivilDate{year, common.month, common.day};
        }
        case PosixDate::Kind::ZeroBased:
            return CivilFromDays(DaysFromCivil({year, 1, 1}) + date.dayNumber);
        case PosixDate::Kind::MonthWeekDay: break;
    }
    const int first = WeekdayOf({year, date.month, 1});
    int day = 1 + (date.weekday - first + 7) % 7 + 7 * (date.week - 1);
    const int last = DaysInMonth(year, date.month);
    while (day > last) {
        day -= 7;
    }
    return CivilDate{year, date.month, day};
}

std::vector<OffsetChange> RuleChanges(const PosixTz& tz, std::int64_t from, std::int64_t to) {
    std::vector<OffsetChange> changes;
    if (!tz.HasDaylight() || from >= to) {
        return changes;
    }
    std::int32_t current = RuleOffsetAt(tz, from - 1);
    const std::vector<Switch> switches = Switches(tz, from, to);
    for (std::size_t i = 0; i < switches.size(); ++i) {
        const Switch& s = switches[i];
        const bool supersededAtSameInstant =
            i + 1 < switches.size() && switches[i + 1].instant == s.instant;
        if (s.instant < from || s.instant >= to || supersededAtSameInstant) {
            continue;
        }
        const std::int32_t after = s.daylightAfter ? tz.daylightOffset : tz.standardOffset;
        if (after != current) {
            changes.push_back({s.instant, current, after});
            current = after;
        }
    }
    return changes;
}

std::int32_t RuleOffsetAt(const PosixTz& tz, std::int64_t instant) {
    if (!tz.HasDaylight()) {
        return tz.standardOffset;
    }
    const std::vector<Switch> switches = Switches(tz, instant, instant);
    bool daylight = !switches.front().daylightAfter;
    for (const Switch& s : switches) {
        if (s.instant > instant) {
            break;
        }
        daylight = s.daylightAfter;
    }
    return daylight ? tz.daylightOffset : tz.standardOffset;
}

}  // namespace tzsource
