// olvanta-tzcheck: measures how well the data files, evaluated by the
// program's own engine, agree with the IANA database on this machine, over the
// twelve months the zone file was made for.

#include <charconv>
#include <chrono>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/LoadCatalogue.h"
#include "platform/ExecutablePath.h"
#include "tools/tzcheck/AccuracyCheck.h"
#include "tools/tzsource/DateText.h"
#include "tools/tzsource/TzdataTables.h"

namespace {

constexpr std::string_view kUsage =
    "usage: olvanta-tzcheck [--data-dir DIR] [--zoneinfo DIR] [--start YYYY-MM-DD] [--years N]\n"
    "                       [--zones NAME,NAME...] [--days-around-changes N] [--goal PERCENT]\n"
    "Checks N twelve-month windows (default 1) from the start (default: the day the\n"
    "zone file's remarks name, else today). Exit status 0 when the first window agrees\n"
    "completely outside the hour after each change (but for zones whose remark says\n"
    "\"inexact\") and, for whole windows, the overall agreement reaches the goal\n"
    "(default 99.9).\n";

struct Options {
    tzcheck::CheckOptions check;
    std::optional<std::chrono::sys_days> start;
    std::filesystem::path dataDirectory;
    double goal = 99.9;
};

bool ParseInt(std::string_view text, int low, int high, int& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= low &&
           value <= high;
}

bool ParseOptions(const std::vector<std::string_view>& args, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i + 1 >= args.size()) {
            return false;
        }
        const std::string_view name = args[i];
        const std::string_view value = args[++i];
        int goal = 0;
        if (name == "--data-dir") {
            options.dataDirectory = std::string(value);
        } else if (name == "--zoneinfo") {
            options.check.zoneinfoDirectory = std::string(value);
        } else if (name == "--start") {
            options.start = tzsource::ParseDate(value);
            if (!options.start) {
                return false;
            }
        } else if (name == "--years") {
            if (!ParseInt(value, 1, 50, options.check.windowCount)) {
                return false;
            }
        } else if (name == "--days-around-changes") {
            if (!ParseInt(value, 0, 366, options.check.daysAroundChanges)) {
                return false;
            }
        } else if (name == "--goal" && ParseInt(value, 0, 100, goal)) {
            options.goal = goal;
        } else if (name == "--zones") {
            for (std::string_view zone : tzsource::SplitFields(value, ',')) {
                if (!zone.empty()) {
                    options.check.zones.emplace_back(zone);
                }
            }
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(std::vector<std::string_view>(argv + 1, argv + argc), options)) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        if (options.dataDirectory.empty()) {
            options.dataDirectory = platform::ExecutableDirectory();
        }
        Catalogue zones;
        const LoadOutcome outcome =
            LoadCatalogue(zones, CatalogueFiles::InDirectory(options.dataDirectory));
        if (outcome != LoadOutcome::Loaded) {
            std::cerr << "olvanta-tzcheck: cannot read the data files in " << options.dataDirectory
                      << "\n";
            return 1;
        }
        options.check.start = options.start.value_or(tzcheck::MadeForWindow(zones).value_or(
            std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())));
        const auto index =
            tzsource::ReadTextFile((options.check.zoneinfoDirectory / "tzdata.zi").string());
        std::cout << "tzdata " << (index ? tzsource::ParseZoneIndex(*index).version : "unknown")
                  << " in " << options.check.zoneinfoDirectory.string() << ", data files in "
                  << options.dataDirectory.string() << "\n";
        const tzcheck::CheckReport report = tzcheck::RunCheck(zones, options.check);
        tzcheck::PrintReport(std::cout, report, options.check);
        const bool wholeWindows = options.check.daysAroundChanges < 0;
        const bool met = report.problems.empty() && report.zonesChecked > 0 &&
                         tzcheck::ExactZonesAgree(report) &&
                         (!wholeWindows || tzcheck::Percent(report.overall.agreeing,
                                                            report.overall.cases) >= options.goal);
        std::cout << (met ? "goals met\n" : "goals NOT met\n");
        return met ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << "olvanta-tzcheck: " << error.what() << "\n";
        return 1;
    }
}
