// olvanta-tzcheck: measures how well the data files, evaluated by the
// program's own engine, agree with the IANA database on this machine, over the
// twelve months the zone file was made for.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <chrono>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

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

std::optional<int> ParseInt(const QString& text, int low, int high) {
    bool isNumber = false;
    const int value = text.toInt(&isNumber);
    return isNumber && value >= low && value <= high ? std::optional(value) : std::nullopt;
}

// The options as the usage gives them; false for anything else.
std::optional<Options> ParseOptions(const QStringList& arguments) {
    Options options;
    const QCommandLineOption dataDir("data-dir", "", "DIR");
    const QCommandLineOption zoneinfo("zoneinfo", "", "DIR");
    const QCommandLineOption start("start", "", "YYYY-MM-DD");
    const QCommandLineOption years("years", "", "N");
    const QCommandLineOption zones("zones", "", "NAME,NAME...");
    const QCommandLineOption daysAround("days-around-changes", "", "N");
    const QCommandLineOption goal("goal", "", "PERCENT");
    QCommandLineParser parser;
    parser.addOptions({dataDir, zoneinfo, start, years, zones, daysAround, goal});
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        return std::nullopt;
    }
    if (parser.isSet(dataDir)) {
        options.dataDirectory = parser.value(dataDir).toStdString();
    }
    if (parser.isSet(zoneinfo)) {
        options.check.zoneinfoDirectory = parser.value(zoneinfo).toStdString();
    }
    if (parser.isSet(start)) {
        options.start = tzsource::ParseDate(parser.value(start).toStdString());
        if (!options.start) {
            return std::nullopt;
        }
    }
    for (const QString& zone : parser.values(zones).join(',').split(',', Qt::SkipEmptyParts)) {
        options.check.zones.push_back(zone.toStdString());
    }
    const auto readNumber = [&](const QCommandLineOption& option, int low, int high, auto& target) {
        const auto number = ParseInt(parser.value(option), low, high);
        if (number) {
            target = *number;
        }
        return !parser.isSet(option) || number.has_value();
    };
    const bool numbersRead = readNumber(years, 1, 50, options.check.windowCount) &&
                             readNumber(daysAround, 0, 366, options.check.daysAroundChanges) &&
                             readNumber(goal, 0, 100, options.goal);
    return numbersRead ? std::optional(options) : std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    const QCoreApplication application(argc, argv);
    std::optional<Options> parsed = ParseOptions(QCoreApplication::arguments());
    if (!parsed) {
        std::cerr << kUsage;
        return 2;
    }
    Options& options = *parsed;
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
