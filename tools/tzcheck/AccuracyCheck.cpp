#include "tools/tzcheck/AccuracyCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <numeric>
#include <ostream>
#include <set>

#include "timecalc/SystemTime.h"
#include "timecalc/TimeCarry.h"
#include "tools/tzcheck/ZoneClock.h"
#include "tools/tzsource/CivilDate.h"

namespace tzcheck {
namespace {

using tzsource::CivilFromSeconds;
using tzsource::CivilTime;
using tzsource::kSecondsPerDay;

constexpr std::int64_t kHour = 3600;
constexpr std::int64_t kScanStep = 15 * 60;  // every change of the database lies on a quarter hour

SYSTEMTIME ToSystemTime(const CivilTime& time) {
    SYSTEMTIME fields;
    fields.wYear = static_cast<std::uint16_t>(time.date.year);
    fields.wMonth = static_cast<std::uint16_t>(time.date.month);
    fields.wDayOfWeek = static_cast<std::uint16_t>(tzsource::WeekdayOf(time.date));
    fields.wDay = static_cast<std::uint16_t>(time.date.day);
    fields.wHour = static_cast<std::uint16_t>(time.hour);
    fields.wMinute = static_cast<std::uint16_t>(time.minute);
    return fields;
}

SYSTEMTIME ToSystemTime(const ZoneWallClock& clock) {
    return ToSystemTime(
        CivilTime{{clock.year, clock.month, clock.day}, clock.hour, clock.minute, 0});
}

std::string Text(const SYSTEMTIME& t) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04u-%02u-%02u %02u:%02u (weekday %u)", unsigned{t.wYear},
                  unsigned{t.wMonth}, unsigned{t.wDay}, unsigned{t.wHour}, unsigned{t.wMinute},
                  unsigned{t.wDayOfWeek});
    return buffer;
}

struct Change {
    std::int64_t instant;
    std::int64_t windowEnd;  // the hour after it, or the span of the jump when longer
};

struct ZoneScan {
    std::vector<Change> changes;
    std::int64_t step = kHour;
};

std::int64_t Gcd(std::int64_t a, std::int64_t b) {
    return std::gcd(std::abs(a), std::abs(b));
}

// The reference's changes over [from, to), and the coarsest step that still
// meets every offset and change (whole, half or quarter hours).
ZoneScan Scan(const ZoneClock& clock, const CTimeZone& zone, std::int64_t from, std::int64_t to) {
    ZoneScan scan;
    std::int64_t step = kHour;
    for (std::int64_t minutes :
         {std::int64_t{zone.m_standard.bias}, std::int64_t{zone.m_daylight.bias},
          std::int64_t{zone.m_standard.minute}, std::int64_t{zone.m_daylight.minute}}) {
        step = Gcd(step, minutes * 60);
    }
    std::int32_t previous = clock.ToWallClock(from - kScanStep).utcOffsetSeconds;
    for (std::int64_t instant = from; instant < to; instant += kScanStep) {
        const std::int32_t offset = clock.ToWallClock(instant).utcOffsetSeconds;
        step = Gcd(step, offset);
        if (offset != previous) {
            const std::int64_t jump = std::abs(std::int64_t{offset} - previous);
            scan.changes.push_back({instant, instant + std::max(kHour, jump)});
            step = Gcd(step, instant);
            previous = offset;
        }
    }
    scan.step = std::max<std::int64_t>(step, 60);
    return scan;
}

bool AfterChange(const std::vector<Change>& changes, std::int64_t instant) {
    return std::any_of(changes.begin(), changes.end(), [instant](const Change& change) {
        return instant >= change.instant && instant < change.windowEnd;
    });
}

bool Sampled(const std::vector<Change>& changes, std::int64_t instant, int daysAround) {
    if (daysAround < 0) {
        return true;
    }
    const std::int64_t reach = std::int64_t{daysAround} * kSecondsPerDay;
    if (changes.empty()) {
        // A zone without changes: its first days stand for the year.
        return false;
    }
    return std::any_of(changes.begin(), changes.end(), [instant, reach](const Change& change) {
        return instant >= change.instant - reach && instant < change.instant + reach;
    });
}

class ZoneChecker {
public:
    ZoneChecker(const CTimeZone& zone, const ZoneClock& clock, ZoneResult& result)
        : m_zone(zone), m_clock(clock), m_result(result) {}

    void CheckYear(int year, int daysAround, Tally& tally) {
        const std::int64_t from = tzsource::DaysFromCivil({year, 1, 1}) * kSecondsPerDay;
        const std::int64_t to = tzsource::DaysFromCivil({year + 1, 1, 1}) * kSecondsPerDay;
        const ZoneScan scan = Scan(m_clock, m_zone, from, to);
        const std::int64_t quietEnd = scan.changes.empty() && daysAround >= 0
                                          ? from + (2 * daysAround + 1) * kSecondsPerDay
                                          : from;
        const std::uint64_t weight = m_zone.m_places.GetCount();
        for (std::int64_t instant = from; instant < to; instant += scan.step) {
            if (instant >= quietEnd && !Sampled(scan.changes, instant, daysAround)) {
                continue;
            }
            const bool afterChange = AfterChange(scan.changes, instant);
            const SYSTEMTIME universal = ToSystemTime(CivilFromSeconds(instant));
            const SYSTEMTIME local = ToSystemTime(m_clock.ToWallClock(instant));

            SYSTEMTIME carried = universal;
            CarryTime(nullptr, &m_zone, carried);
            Record(year, false, afterChange, carried, local, tally, weight);

            carried = local;
            CarryTime(&m_zone, nullptr, carried);
            Record(year, true, afterChange, carried, universal, tally, weight);
        }
    }

private:
    void Record(int year, bool toUniversal, bool afterChange, const SYSTEMTIME& got,
                const SYSTEMTIME& expected, Tally& tally, std::uint64_t weight) {
        const bool agrees = got == expected;
        tally.Add(agrees, afterChange, weight);
        if (agrees) {
            return;
        }
        for (Disagreement& d : m_result.disagreements) {
            if (d.year == year && d.toUniversal == toUniversal && d.afterChange == afterChange) {
                ++d.count;
                return;
            }
        }
        m_result.disagreements.push_back({year, toUniversal, afterChange, 1,
                                          std::string(toUniversal ? "to UTC" : "from UTC") +
                                              ": expected " + Text(expected) + ", got " +
                                              Text(got)});
    }

    const CTimeZone& m_zone;
    const ZoneClock& m_clock;
    ZoneResult& m_result;
};

std::vector<const CTimeZone*> ZonesToCheck(const Catalogue& zones, const CheckOptions& options) {
    std::vector<const CTimeZone*> picked;
    zones.ForEach([&](const CTimeZone& zone) {
        const bool wanted = options.zones.empty()
                                ? zone.m_places.GetCount() > 0
                                : std::find(options.zones.begin(), options.zones.end(),
                                            zone.m_strName) != options.zones.end();
        if (wanted) {
            picked.push_back(&zone);
        }
    });
    std::sort(picked.begin(), picked.end(),
              [](const CTimeZone* a, const CTimeZone* b) { return a->m_strName < b->m_strName; });
    return picked;
}

}  // namespace

void Tally::Add(bool agrees, bool afterChange, std::uint64_t weight) {
    cases += weight;
    agreeing += agrees ? weight : 0;
    if (!afterChange) {
        outsideCases += weight;
        outsideAgreeing += agrees ? weight : 0;
    }
}

Tally& Tally::operator+=(const Tally& other) {
    cases += other.cases;
    agreeing += other.agreeing;
    outsideCases += other.outsideCases;
    outsideAgreeing += other.outsideAgreeing;
    return *this;
}

double Percent(std::uint64_t agreeing, std::uint64_t cases) {
    if (cases == 0) {
        return 100.0;
    }
    const double exact = 100.0 * static_cast<double>(agreeing) / static_cast<double>(cases);
    return agreeing == cases ? 100.0 : std::min(std::floor(exact * 1000.0) / 1000.0, 99.999);
}

CheckReport RunCheck(const Catalogue& zones, const CheckOptions& options) {
    CheckReport report;
    for (int i = 0; i < options.yearCount; ++i) {
        report.years.push_back(options.targetYear + i);
    }
    report.byYear.resize(report.years.size());
    for (const std::string& name : options.zones) {
        if (zones.Lookup(name) == nullptr) {
            report.problems.push_back(name + ": not in the zone file");
        }
    }
    for (const CTimeZone* zone : ZonesToCheck(zones, options)) {
        if (!zone->m_strLabel.empty() && zone->m_strLabel.front() == '!') {
            report.problems.push_back(zone->m_strName +
                                      ": places bound to a zone the zone file lacks");
            continue;
        }
        ZoneResult result{zone->m_strName, zone->m_places.GetCount(), zone->m_strRemark, {}};
        try {
            const ZoneClock clock(options.zoneinfoDirectory / zone->m_strName);
            ZoneChecker checker(*zone, clock, result);
            for (std::size_t i = 0; i < report.years.size(); ++i) {
                checker.CheckYear(report.years[i], options.daysAroundChanges, report.byYear[i]);
            }
        } catch (const std::exception& error) {
            report.problems.push_back(zone->m_strName + ": " + error.what());
            continue;
        }
        ++report.zonesChecked;
        report.placesChecked += zone->m_places.GetCount();
        if (!result.disagreements.empty()) {
            report.disagreeing.push_back(std::move(result));
        }
    }
    for (const Tally& tally : report.byYear) {
        report.overall += tally;
    }
    return report;
}

std::string DisagreementReason(const Disagreement& d, const ZoneResult& zone, int targetYear) {
    if (d.afterChange) {
        return d.toUniversal
                   ? "a wall-clock time repeated after the change is read as its first occurrence"
                   : "the change itself is not where the database has it";
    }
    if (d.year != targetYear &&
        zone.remark.find(std::to_string(targetYear) + " only") != std::string::npos) {
        return "the rules hold the " + std::to_string(targetYear) +
               " changes only; the database moves them every year";
    }
    return "the rules differ from the database";
}

void PrintReport(std::ostream& out, const CheckReport& report, const CheckOptions& options) {
    const auto line = [&out](const std::string& what, std::uint64_t agreeing, std::uint64_t cases) {
        char buffer[160];
        std::snprintf(buffer, sizeof buffer, "%s %.3f%% (%llu of %llu cases)\n", what.c_str(),
                      Percent(agreeing, cases), static_cast<unsigned long long>(agreeing),
                      static_cast<unsigned long long>(cases));
        out << buffer;
    };
    out << report.placesChecked << " places in " << report.zonesChecked << " zones checked"
        << (options.daysAroundChanges >= 0
                ? " within " + std::to_string(options.daysAroundChanges) + " days of each change"
                : std::string(", whole years"))
        << "; each case counted once per place\n";
    for (std::size_t i = 0; i < report.years.size(); ++i) {
        const Tally& t = report.byYear[i];
        const std::string year = std::to_string(report.years[i]);
        line(year + " all cases:", t.agreeing, t.cases);
        line(year + " outside the hour after each change:", t.outsideAgreeing, t.outsideCases);
    }
    line("overall all cases:", report.overall.agreeing, report.overall.cases);
    line("overall outside the hour after each change:", report.overall.outsideAgreeing,
         report.overall.outsideCases);
    for (const ZoneResult& zone : report.disagreeing) {
        out << zone.zone << " (" << zone.places << " places; " << zone.remark << ")\n";
        for (const Disagreement& d : zone.disagreements) {
            out << "  " << d.year << ", " << d.count << " cases "
                << (d.toUniversal ? "to UTC" : "from UTC")
                << (d.afterChange ? " in the hour after a change" : " outside the change hours")
                << ": " << DisagreementReason(d, zone, options.targetYear) << "; first "
                << d.example << "\n";
        }
    }
    for (const std::string& problem : report.problems) {
        out << "not checked: " << problem << "\n";
    }
}

}  // namespace tzcheck
