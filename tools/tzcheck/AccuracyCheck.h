// Measures the program's conversion against the IANA database: every place's
// zone, from UTC to the place and back, at every step of twelve-month windows,
// with the C library's conversion of the same zone file as the reference.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "tools/tzgen/ZoneRuleEncoder.h"

namespace tzcheck {

struct CheckOptions {
    std::filesystem::path zoneinfoDirectory = "/usr/share/zoneinfo";
    std::chrono::sys_days start;     // of the first window
    int windowCount = 1;             // twelve-month windows, one after the other
    std::vector<std::string> zones;  // empty: every zone that has places
    // Negative: whole windows. Otherwise only the days within this many days
    // of one of the zone's changes (a quick slice).
    int daysAroundChanges = -1;
};

// Counts of cases, each weighted by the number of places of its zone.
struct Tally {
    std::uint64_t cases = 0;
    std::uint64_t agreeing = 0;
    std::uint64_t outsideCases = 0;  // not in the hour after a change
    std::uint64_t outsideAgreeing = 0;

    void Add(bool agrees, bool afterChange, std::uint64_t weight);
    Tally& operator+=(const Tally& other);
};

// Agreement in percent, rounded down so that 100.000 means every case; 100
// for no cases.
double Percent(std::uint64_t agreeing, std::uint64_t cases);

struct Disagreement {
    int window = 0;            // 0 for the first
    bool toUniversal = false;  // the place's wall clock to UTC (else UTC to the place)
    bool afterChange = false;  // in the hour after one of the zone's changes
    std::uint64_t count = 0;   // unweighted
    std::string example;       // the first case, in words
};

struct ZoneResult {
    std::string zone;
    std::size_t places = 0;
    std::string remark;  // the zone line's remark: source rule and approximations
    std::vector<Disagreement> disagreements;
};

struct CheckReport {
    std::vector<tzgen::RuleWindow> windows;
    std::vector<Tally> byWindow;  // in the order of `windows`
    Tally overall;
    std::size_t zonesChecked = 0;
    std::size_t placesChecked = 0;
    std::vector<ZoneResult> disagreeing;  // sorted by zone name
    std::vector<std::string> problems;    // zones that could not be checked
};

CheckReport RunCheck(const Catalogue& zones, const CheckOptions& options);

// The figures and every disagreeing zone with its reason, as text.
void PrintReport(std::ostream& out, const CheckReport& report, const CheckOptions& options);

// Whether every zone agrees completely over the first window outside the hour
// after each change, leaving aside the zones whose remark says their rules
// are inexact there (they are listed and counted in the figures all the same).
bool ExactZonesAgree(const CheckReport& report);

// Why a zone disagrees, in words, from where its cases fall.
std::string DisagreementReason(const Disagreement& disagreement);

// The start of the window that a zone file was made for, as the remarks of
// its zones name it ("2026-12-08 to 2027-12-08 from tzdata ..."): the first
// zone with places whose remark names one. Nothing for a file that says none.
std::optional<std::chrono::sys_days> MadeForWindow(const Catalogue& zones);

}  // namespace tzcheck
