#include "tools/tzcheck/AccuracyCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <numeric>
#include <ostream>
#include <set>

#include "timecalc/CalendarMath.h"
#include "timecalc/SystemTime.h"
#include "timecalc/TimeCarry.h"
#include "timecalc/TimeValue.h"
#include "tools/tzcheck/ZoneClock.h"
#include "tools/tzsource/DateText.h"

namespace tzcheck {
namespace {

constexpr std::int64_t kHour = 3600;
constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kScanStep = 15 * 60;  // every change of the database lies on a quarter hour

SYSTEMTIME ToSystemTime(const ZoneWallClock& clock) {
    return ToCalendarTime(SecondsFromFields(clock.year, static_cast<unsigned>(clock.month),
                                            static_cast<unsigned>(clock.day), clock.hour,
                                            clock.minute));
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
        // A zone without changes: its first days stand for the window.
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

    void CheckWindow(const tzgen::RuleWindow& window, int index, int daysAround, Tally& tally) {
        const auto seconds = [](std::chrono::sys_days day) {
            return std::chrono::sys_seconds(day).time_since_epoch().count();
        };
        const std::int64_t from = seconds(window.start);
        const std::int64_t to = seconds(window.end);
        ZoneScan scan = Scan(m_clock, m_zone, from, to);
        AddWrapAtStart(scan, from);
        const std::int64_t quietEnd = scan.changes.empty() && daysAround >= 0
                                          ? from + (2 * daysAround + 1) * kSecondsPerDay
                                          : from;
        const std::uint64_t weight = m_zone.m_places.GetCount();
        for (std::int64_t instant = from; instant < to; instant += scan.step) {
            if (instant >= quietEnd && !Sampled(scan.changes, instant, daysAround)) {
                continue;
            }
            const bool afterChange = AfterChange(scan.changes, instant);
            const SYSTEMTIME universal = ToCalendarTime(instant);
            const SYSTEMTIME local = ToSystemTime(m_clock.ToWallClock(instant));

            SYSTEMTIME carried = universal;
            CarryTime(nullptr, &m_zone, carried);
            Record(index, false, afterChange, carried, local, tally, weight);

            carried = local;
            CarryTime(&m_zone, nullptr, carried);
            Record(index, true, afterChange, carried, universal, tally, weight);
        }
    }

private:
    // Rules made from a single change wrap around at the window's start: they
    // change the offset there though the database does not. The hour after is
    // then a changing hour like any other: a wall-clock time in it is read as
    // its first occurrence.
    void AddWrapAtStart(ZoneScan& scan, std::int64_t from) const {
        const int before = CurrentOffset(m_zone, ToCalendarTime(from - 60));
        const int after = CurrentOffset(m_zone, ToCalendarTime(from));
        if (before != after) {
            const std::int64_t jump = std::int64_t{std::abs(after - before)} * 60;
            scan.changes.insert(scan.changes.begin(), {from, from + std::max(kHour, jump)});
        }
    }

    void Record(int window, bool toUniversal, bool afterChange, const SYSTEMTIME& got,
                const SYSTEMTIME& expected, Tally& tally, std::uint64_t weight) {
        const bool agrees = got == expected;
        tally.Add(agrees, afterChange, weight);
        if (agrees) {
            return;
        }
        for (Disagreement& d : m_result.disagreements) {
            if (d.window == window && d.toUniversal == toUniversal &&
                d.afterChange == afterChange) {
                ++d.count;
                return;
            }
        }
        m_result.disagreements.push_back({window, toUniversal, afterChange, 1,
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
    tzgen::RuleWindow window = tzgen::RuleWindow::FromStart(options.start);
    for (int i = 0; i < options.windowCount; ++i) {
        report.windows.push_back(window);
        window = tzgen::RuleWindow::FromStart(window.end);
    }
    report.byWindow.resize(report.windows.size());
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
        const std::filesystem::path zoneFile = options.zoneinfoDirectory / zone->m_strName;
        if (!ZoneClock::CanRead(zoneFile)) {
            report.problems.push_back(zone->m_strName + ": cannot read zone file " +
                                      zoneFile.string());
            continue;
        }
        ZoneResult result{zone->m_strName, zone->m_places.GetCount(), zone->m_strRemark, {}};
        const ZoneClock clock(zoneFile);
        ZoneChecker checker(*zone, clock, result);
        for (std::size_t i = 0; i < report.windows.size(); ++i) {
            checker.CheckWindow(report.windows[i], static_cast<int>(i), options.daysAroundChanges,
                                report.byWindow[i]);
        }
        ++report.zonesChecked;
        report.placesChecked += zone->m_places.GetCount();
        if (!result.disagreements.empty()) {
            report.disagreeing.push_back(std::move(result));
        }
    }
    for (const Tally& tally : report.byWindow) {
        report.overall += tally;
    }
    return report;
}

std::string DisagreementReason(const Disagreement& d) {
    if (d.afterChange) {
        return d.toUniversal
                   ? "a wall-clock time repeated after the change is read as its first occurrence"
                   : "the change itself is not where the database has it";
    }
    if (d.window > 0) {
        return "the rules hold for the twelve months they were made for";
    }
    return "the rules differ from the database";
}

bool ExactZonesAgree(const CheckReport& report) {
    return std::all_of(
        report.disagreeing.begin(), report.disagreeing.end(), [](const ZoneResult& zone) {
            return zone.remark.find(tzgen::kInexact) != std::string::npos ||
                   std::none_of(
                       zone.disagreements.begin(), zone.disagreements.end(),
                       [](const Disagreement& d) { return d.window == 0 && !d.afterChange; });
        });
}

std::optional<std::chrono::sys_days> MadeForWindow(const Catalogue& zones) {
    std::optional<std::chrono::sys_days> start;
    zones.ForEach([&start](const CTimeZone& zone) {
        const std::string& remark = zone.m_strRemark;
        if (!start && zone.m_places.GetCount() > 0 && remark.size() > 14 &&
            remark.compare(10, 4, " to ") == 0) {
            start = tzsource::ParseDate(std::string_view(remark).substr(0, 10));
        }
    });
    return start;
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
                : std::string(", whole windows"))
        << "; each case counted once per place\n";
    for (std::size_t i = 0; i < report.windows.size(); ++i) {
        const Tally& t = report.byWindow[i];
        const std::string window = tzsource::DateText(report.windows[i].start) + " to " +
                                   tzsource::DateText(report.windows[i].end);
        line(window + " all cases:", t.agreeing, t.cases);
        line(window + " outside the hour after each change:", t.outsideAgreeing, t.outsideCases);
    }
    line("overall all cases:", report.overall.agreeing, report.overall.cases);
    line("overall outside the hour after each change:", report.overall.outsideAgreeing,
         report.overall.outsideCases);
    for (const ZoneResult& zone : report.disagreeing) {
        out << zone.zone << " (" << zone.places << " places; " << zone.remark << ")\n";
        for (const Disagreement& d : zone.disagreements) {
            out << "  " << tzsource::DateText(report.windows[d.window].start) << " on, " << d.count
                << " cases " << (d.toUniversal ? "to UTC" : "from UTC")
                << (d.afterChange ? " in the hour after a change" : " outside the change hours")
                << ": " << DisagreementReason(d) << "; first " << d.example << "\n";
        }
    }
    for (const std::string& problem : report.problems) {
        out << "not checked: " << problem << "\n";
    }
}

}  // namespace tzcheck
