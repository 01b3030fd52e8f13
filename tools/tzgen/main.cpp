// olvanta-tzgen: writes tmzn.tzd and tmzn.tzd.Locations from the IANA time
// zone database on this machine, our place spellings and country names and,
// optionally, a GeoNames city table; the zone rules are those of the twelve
// months from the start date.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/LoadCatalogue.h"
#include "tools/tzgen/AtomicFile.h"
#include "tools/tzgen/Generator.h"
#include "tools/tzgen/ZoneRefresh.h"
#include "tools/tzsource/DateText.h"
#include "tools/tzsource/TzdataTables.h"

namespace {

constexpr std::string_view kUsage =
    "usage: olvanta-tzgen --out DIR --spellings FILE [--zoneinfo DIR] [--start YYYY-MM-DD]\n"
    "                     [--cities FILE --fixes FILE [--min-population N]\n"
    "                      [--english-cities FILE] [--city-names FILE]]\n";

struct Options {
    tzgen::GeneratorInput input;
    std::filesystem::path outputDirectory;
    std::string spellingsPath;
    std::string citiesPath;
    std::string fixesPath;
    std::string englishCitiesPath;
    std::string cityNamesPath;
    std::optional<std::chrono::sys_days> start;
};

// The options as the usage gives them; false for anything else, an empty
// value or a missing companion option included.
std::optional<Options> ParseOptions(const QStringList& arguments) {
    Options options;
    const QCommandLineOption out("out", "", "DIR");
    const QCommandLineOption zoneinfo("zoneinfo", "", "DIR");
    const QCommandLineOption spellings("spellings", "", "FILE");
    const QCommandLineOption cities("cities", "", "FILE");
    const QCommandLineOption fixes("fixes", "", "FILE");
    const QCommandLineOption englishCities("english-cities", "", "FILE");
    const QCommandLineOption cityNames("city-names", "", "FILE");
    const QCommandLineOption start("start", "", "YYYY-MM-DD");
    const QCommandLineOption minimumPopulation("min-population", "", "N");
    QCommandLineParser parser;
    parser.addOptions({out, zoneinfo, spellings, cities, fixes, englishCities, cityNames, start,
                       minimumPopulation});
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        return std::nullopt;
    }
    options.outputDirectory = parser.value(out).toStdString();
    options.spellingsPath = parser.value(spellings).toStdString();
    options.citiesPath = parser.value(cities).toStdString();
    options.fixesPath = parser.value(fixes).toStdString();
    options.englishCitiesPath = parser.value(englishCities).toStdString();
    options.cityNamesPath = parser.value(cityNames).toStdString();
    if (parser.isSet(zoneinfo)) {
        options.input.zoneinfoDirectory = parser.value(zoneinfo).toStdString();
    }
    if (parser.isSet(start)) {
        options.start = tzsource::ParseDate(parser.value(start).toStdString());
        if (!options.start) {
            return std::nullopt;
        }
    }
    if (parser.isSet(minimumPopulation)) {
        bool isNumber = false;
        options.input.minimumPopulation = parser.value(minimumPopulation).toLongLong(&isNumber);
        if (!isNumber || options.input.minimumPopulation < 0) {
            return std::nullopt;
        }
    }
    const bool complete = !options.outputDirectory.empty() && !options.spellingsPath.empty() &&
                          options.citiesPath.empty() == options.fixesPath.empty() &&
                          (options.englishCitiesPath.empty() || !options.citiesPath.empty()) &&
                          (options.cityNamesPath.empty() || !options.citiesPath.empty());
    return complete ? std::optional(options) : std::nullopt;
}

std::string ReadOrThrow(const std::string& path) {
    auto text = tzsource::ReadTextFile(path);
    if (!text) {
        throw tzgen::GeneratorError("cannot read " + path);
    }
    return std::move(*text);
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
        options.input.spellingsText = ReadOrThrow(options.spellingsPath);
        if (!options.citiesPath.empty()) {
            options.input.citiesText = ReadOrThrow(options.citiesPath);
            options.input.cityZoneFixesText = ReadOrThrow(options.fixesPath);
        }
        if (!options.englishCitiesPath.empty()) {
            options.input.englishCitiesText = ReadOrThrow(options.englishCitiesPath);
        }
        if (!options.cityNamesPath.empty()) {
            options.input.cityNamesText = ReadOrThrow(options.cityNamesPath);
        }
        const auto start = options.start ? options.start : tzgen::WindowStartNow();
        if (!start) {
            throw tzgen::GeneratorError("SOURCE_DATE_EPOCH is not a number of seconds");
        }
        options.input.window = tzgen::RuleWindow::FromStart(*start);
        const tzgen::GeneratedData data = tzgen::Generate(options.input);
        std::filesystem::create_directories(options.outputDirectory);
        for (const auto& [name, text] : {std::pair(kZoneFileName, &data.zoneFile),
                                         std::pair(kLocationsFileName, &data.locationsFile)}) {
            const tzgen::FileReplacement replaced =
                tzgen::ReplaceFile(options.outputDirectory / name, *text);
            if (replaced.outcome == tzgen::FileReplacement::Outcome::Failed) {
                throw tzgen::GeneratorError(replaced.failure);
            }
        }
        for (const std::string& line : data.report) {
            std::cerr << line << '\n';
        }
        std::cout << "tzdata " << data.tzdataVersion << ", "
                  << tzsource::DateText(options.input.window.start) << " to "
                  << tzsource::DateText(options.input.window.end) << ": " << data.zoneCount
                  << " zones, " << data.placeCount << " places (of them " << data.englishNameCount
                  << " English names, " << data.unaccentedNameCount << " names without marks, "
                  << data.formerNameCount << " former names, " << data.listedEnglishNameCount
                  << " English names from our list, " << data.saintFormCount
                  << " St/St./Saint forms)\n";
    } catch (const std::exception& error) {
        std::cerr << "olvanta-tzgen: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
