// olvanta-tzgen: writes tmzn.tzd and tmzn.tzd.Locations from the IANA time
// zone database on this machine, our place spellings and country names and,
// optionally, a GeoNames city table; the zone rules are those of the twelve
// months from the start date.

#include <charconv>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/LoadCatalogue.h"
#include "tools/tzgen/AtomicFile.h"
#include "tools/tzgen/Generator.h"
#include "tools/tzgen/ZoneRefresh.h"
#include "tools/tzsource/DateText.h"
#include "tools/tzsource/TzdataTables.h"

namespace {

constexpr std::string_view kUsage =
    "usage: olvanta-tzgen --out DIR --spellings FILE [--country-names FILE]\n"
    "                     [--zoneinfo DIR] [--start YYYY-MM-DD]\n"
    "                     [--cities FILE --fixes FILE [--min-population N]\n"
    "                      [--english-cities FILE] [--city-names FILE]]\n";

struct Options {
    tzgen::GeneratorInput input;
    std::filesystem::path outputDirectory;
    std::string spellingsPath;
    std::string countryNamesPath;
    std::string citiesPath;
    std::string fixesPath;
    std::string englishCitiesPath;
    std::string cityNamesPath;
    std::optional<std::chrono::sys_days> start;
};

bool ParseNumber(std::string_view text, std::int64_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool ParseOptions(const std::vector<std::string_view>& args, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i + 1 >= args.size()) {
            return false;
        }
        const std::string_view name = args[i];
        const std::string value(args[++i]);
        std::int64_t number = 0;
        if (name == "--out") {
            options.outputDirectory = value;
        } else if (name == "--zoneinfo") {
            options.input.zoneinfoDirectory = value;
        } else if (name == "--spellings") {
            options.spellingsPath = value;
        } else if (name == "--country-names") {
            options.countryNamesPath = value;
        } else if (name == "--city-names") {
            options.cityNamesPath = value;
        } else if (name == "--cities") {
            options.citiesPath = value;
        } else if (name == "--fixes") {
            options.fixesPath = value;
        } else if (name == "--english-cities") {
            options.englishCitiesPath = value;
        } else if (name == "--start" && tzsource::ParseDate(value)) {
            options.start = tzsource::ParseDate(value);
        } else if (name == "--min-population" && ParseNumber(value, number) && number >= 0) {
            options.input.minimumPopulation = number;
        } else {
            return false;
        }
    }
    return !options.outputDirectory.empty() && !options.spellingsPath.empty() &&
           options.citiesPath.empty() == options.fixesPath.empty() &&
           (options.englishCitiesPath.empty() || !options.citiesPath.empty()) &&
           (options.cityNamesPath.empty() || !options.citiesPath.empty());
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
    Options options;
    if (!ParseOptions(std::vector<std::string_view>(argv + 1, argv + argc), options)) {
        std::cerr << kUsage;
        return 2;
    }
    try {
        options.input.spellingsText = ReadOrThrow(options.spellingsPath);
        if (!options.citiesPath.empty()) {
            options.input.citiesText = ReadOrThrow(options.citiesPath);
            options.input.cityZoneFixesText = ReadOrThrow(options.fixesPath);
        }
        if (!options.englishCitiesPath.empty()) {
            options.input.englishCitiesText = ReadOrThrow(options.englishCitiesPath);
        }
        if (!options.countryNamesPath.empty()) {
            options.input.countryNamesText = ReadOrThrow(options.countryNamesPath);
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
