#include "tools/tzgen/Generator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalogue/FieldReader.h"
#include "catalogue/TimeZone.h"
#include "tools/ZoneSource.h"
#include "tools/tzsource/DateText.h"
#include "tools/tzsource/TzdataTables.h"

namespace {

constexpr std::string_view kSpellings =
    "# test spellings\n"
    "America/Port_Half\tPort Half-Hour\n"
    "US/Plainland\tPlainland\n"
    "Europe/Old_Nordby\t\n";

// A GeoNames line; `position` is "latitude<TAB>longitude", `alternates` the
// other names, comma separated.
std::string CityAt(const std::string& name, const std::string& asciiName,
                   const std::string& country, const std::string& zone, const std::string& position,
                   const std::string& population = "250000", const std::string& alternates = "") {
    return "1\t" + name + "\t" + asciiName + "\t" + alternates + "\t" + position + "\tP\tPPL\t" +
           country + "\t\t01\t\t\t\t" + population + "\t\t0\t" + zone + "\t2013-01-01\n";
}

std::string City(const std::string& name, const std::string& country, const std::string& zone,
                 const std::string& population = "250000") {
    return CityAt(name, name, country, zone, "0\t0", population);
}

class GeneratorTest : public ::testing::Test {
protected:
    tzgen::GeneratorInput Input() const {
        tzgen::GeneratorInput input;
        input.zoneinfoDirectory = m_zoneinfo.string();
        input.window = tzgen::RuleWindow::FromStart(*tzsource::ParseDate("2026-01-01"));
        input.spellingsText = kSpellings;
        input.citiesText =
            City("Córdoba", "IN", "Asia/Calcutta") + City("Córdoba", "EG", "Africa/Nilby") +
            City("Nordby", "NO", "Europe/Nordby") + City("Lost City", "NO", "Europe/Nowhere") +
            City("Tiny", "NO", "Europe/Nordby", "99") + City("Moved", "NO", "Europe/Old_Nordby");
        input.cityZoneFixesText = "NO\t01\tMoved\tEurope/Old_Nordby\tAfrica/Nilby\n";
        return input;
    }

    std::map<std::string, CTimeZone> ZonesByName(const std::string& zoneFile) const {
        std::map<std::string, CTimeZone> zones;
        for (std::string_view line : tzsource::SplitLines(zoneFile)) {
            zones.try_emplace(CTimeZone(line).m_strName, line);
        }
        return zones;
    }

    std::multimap<std::string, std::string> PlacesByName(const std::string& locationsFile) const {
        std::multimap<std::string, std::string> places;
        for (std::string_view line : tzsource::SplitLines(locationsFile)) {
            std::string_view zone;
            std::string_view place;
            EXPECT_TRUE(ParseLocationLine(line, zone, place)) << line;
            places.emplace(place, zone);
        }
        return places;
    }

    // Each name is one entry bound to its zone, or, with an empty zone, none.
    struct ExpectedPlace {
        const char* name;
        const char* zone;
    };
    void ExpectPlaces(const std::string& locationsFile,
                      std::initializer_list<ExpectedPlace> expected) const {
        const auto places = PlacesByName(locationsFile);
        for (const ExpectedPlace& e : expected) {
            SCOPED_TRACE(e.name);
            const auto [first, last] = places.equal_range(e.name);
            ASSERT_EQ(std::distance(first, last), e.zone[0] == '\0' ? 0 : 1);
            if (first != last) {
                EXPECT_EQ(first->second, e.zone);
            }
        }
    }

    TempDir m_dir;
    std::filesystem::path m_zoneinfo = CompileZones(m_dir, kTestZoneSource);
};

TEST_F(GeneratorTest, WritesOneZoneLinePerZoneThatTheProgramReadsBack) {
    const tzgen::GeneratedData data = tzgen::Generate(Input());
    EXPECT_EQ(data.tzdataVersion, "2099z");
    const auto zones = ZonesByName(data.zoneFile);
    ASSERT_EQ(zones.size(), 7u);
    EXPECT_EQ(data.zoneCount, 7u);
    struct Expected {
        const char* name;
        TransitionRule standard;
        TransitionRule daylight;
    };
    const std::vector<Expected> expected = {
        {"Europe/Nordby", {60, 10, 0, 1, 5, 3, 0}, {60, 3, 0, 1, 5, 2, 0}},
        {"Australia/Southam", {600, 4, 0, 1, 1, 3, 0}, {60, 10, 0, 1, 1, 2, 0}},
        {"America/Port_Half", {-210, 11, 0, 1, 1, 2, 0}, {60, 3, 0, 1, 2, 2, 0}},
        {"Africa/Nilby", {120, 10, 0, 5, 5, 24, 0}, {60, 4, 0, 6, 5, 0, 0}},
        {"America/Negby", {-120, 10, 0, 1, 5, 0, 0}, {60, 3, 24, 7, 1, 23, 0}},
        {"Asia/Plainpur", {330, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}},
        {"America/Plain_West", {-420, 0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        const auto zone = zones.find(e.name);
        ASSERT_NE(zone, zones.end());
        EXPECT_EQ(zone->second.m_standard, e.standard);
        EXPECT_EQ(zone->second.m_daylight, e.daylight);
    }
    EXPECT_EQ(zones.at("America/Port_Half").m_strLabel, "UTC-03:30/-02:30 Canada - newfoundland");
    EXPECT_EQ(zones.at("Asia/Plainpur").m_strLabel, "UTC+05:30 India");
    EXPECT_EQ(zones.at("Africa/Nilby").m_strRemark, "2026-01-01 to 2027-01-01 from tzdata 2099z");
}

TEST_F(GeneratorTest, NamesPlacesFromZonesCountriesLinksAndCities) {
    const tzgen::GeneratedData data = tzgen::Generate(Input());
    const auto places = PlacesByName(data.locationsFile);
    const std::multimap<std::string, std::string> expected = {
        // Zone cities, with their spellings.
        {"Nordby", "Europe/Nordby"},
        {"Southam", "Australia/Southam"},
        {"Port Half-Hour", "America/Port_Half"},
        {"Nilby", "Africa/Nilby"},
        {"Negby", "America/Negby"},
        {"Plainpur", "Asia/Plainpur"},
        {"Plain West", "America/Plain_West"},
        // Countries: one zone, or one entry per zone.
        {"Norway", "Europe/Nordby"},
        {"Australia", "Australia/Southam"},
        {"Canada (Port Half-Hour)", "America/Port_Half"},
        {"Canada (Plain West)", "America/Plain_West"},
        {"Egypt", "Africa/Nilby"},
        {"Greenland", "America/Negby"},
        {"India", "Asia/Plainpur"},
        {"Svalbard & Jan Mayen", "Europe/Nordby"},
        // Links: in a geographic area, or spelled out.
        {"Calcutta", "Asia/Plainpur"},
        {"Plainland", "America/Plain_West"},
        // Cities: a shared name gets the country; a fixed zone is followed.
        {"Córdoba (India)", "Asia/Plainpur"},
        {"Córdoba (Egypt)", "Africa/Nilby"},
        {"Moved", "Africa/Nilby"},
    };
    EXPECT_EQ(places, expected);
    EXPECT_EQ(data.placeCount, expected.size());
    const auto reported = [&data](const std::string& part) {
        return std::any_of(
            data.report.begin(), data.report.end(),
            [&part](const std::string& line) { return line.find(part) != std::string::npos; });
    };
    EXPECT_TRUE(reported("country without a zone: ZZ Nowhere"));
    EXPECT_TRUE(reported("1 cities with an unknown zone left out"));
}

TEST_F(GeneratorTest, AddsTheEnglishAndUnaccentedNamesOfItsPlaces) {
    tzgen::GeneratorInput input = Input();
    input.spellingsText += "Asia/Calcutta\tCalcütta\n";
    *input.citiesText += CityAt("Kølnby", "Koelnby", "NO", "Europe/Nordby", "60.0\t10.0") +
                         CityAt("Zürby", "Zurby", "EG", "Africa/Nilby", "30.0\t31.0") +
                         CityAt("Nilbyport", "Nilbyport", "EG", "Africa/Nilby", "31.0\t30.0") +
                         CityAt("Samestad", "Samestad", "NO", "Europe/Nordby", "59.0\t11.0");
    // Name, ASCII name, latitude, longitude, country, population.
    input.englishCitiesText =
        "Colognby\tColognby\t60.01\t10.0\tNO\t300000.00\n"  // 1.1 km from Kølnby
        "Plainpur\tPlainpur\t31.0\t30.02\tEG\t260000\n"     // 1.9 km from Nilbyport
        "Samestad\tSamestad\t59.001\t11.0\tNO\t250000\n"
        "Farawayby\tFarawayby\t70.0\t20.0\tNO\t250000\n"   // near no city
        "Wrongland\tWrongland\t30.0\t31.0\tNO\t250000\n";  // at Zürby, but in Norway
    const tzgen::GeneratedData data = tzgen::Generate(input);
    ExpectPlaces(data.locationsFile,
                 {
                     {"Kølnby", "Europe/Nordby"},
                     {"Colognby", "Europe/Nordby"},
                     {"Koelnby", ""},  // spells the letter out rather than leaving the mark off
                     {"Zürby", "Africa/Nilby"},
                     {"Zurby", "Africa/Nilby"},
                     {"Calcütta", "Asia/Plainpur"},
                     {"Calcutta", "Asia/Plainpur"},
                     {"Nilbyport", "Africa/Nilby"},
                     {"Plainpur", "Asia/Plainpur"},
                     {"Plainpur (Egypt)", "Africa/Nilby"},
                     {"Samestad", "Europe/Nordby"},
                     {"Farawayby", ""},
                     {"Wrongland", ""},
                 });
    EXPECT_EQ(data.englishNameCount, 2u);
    EXPECT_EQ(data.unaccentedNameCount, 2u);
}

TEST_F(GeneratorTest, AddsListedFormerNamesSaintFormsAndCountryNamesAsPeopleWriteThem) {
    m_dir.Write("zoneinfo/iso3166.tab", "EG\tEgypt (Misr)\nIN\tIndia\nNO\tNorway\n");
    tzgen::GeneratorInput input = Input();
    input.countryNamesText = "# ours\nEG\tEgypt\nQQ\tNo Such Land\n";
    *input.citiesText += CityAt("Nilbyport", "Nilbyport", "EG", "Africa/Nilby", "31.0\t30.0",
                                "250000", "Port Nilby,Old Nilby,Nilbyport") +
                         City("St. Nordby", "NO", "Europe/Nordby");
    input.cityNamesText =
        "EG\tNilbyport\tOld Nilby\tformer\n"
        "EG\tNilbyport\tPort Nilby\tEnglish\n"
        "EG\tNilbyport\tNot Its Name\tformer\n"  // not among its alternate names
        "IN\tNilbyport\tOld Nilby\tformer\n";    // no such city in that country
    const tzgen::GeneratedData data = tzgen::Generate(input);
    ExpectPlaces(data.locationsFile, {
                                         {"Egypt", "Africa/Nilby"},
                                         {"Egypt (Misr)", ""},
                                         {"Córdoba (Egypt)", "Africa/Nilby"},
                                         {"No Such Land", ""},
                                         {"Old Nilby", "Africa/Nilby"},
                                         {"Port Nilby", "Africa/Nilby"},
                                         {"Not Its Name", ""},
                                         {"St. Nordby", "Europe/Nordby"},
                                         {"St Nordby", "Europe/Nordby"},
                                         {"Saint Nordby", "Europe/Nordby"},
                                     });
    // Zone labels name the country as the places do.
    EXPECT_NE(data.zoneFile.find("Africa/Nilby,UTC+02:00/+03:00 Egypt,"), std::string::npos)
        << data.zoneFile;
    EXPECT_EQ(data.formerNameCount, 1u);
    EXPECT_EQ(data.listedEnglishNameCount, 1u);
    EXPECT_EQ(data.saintFormCount, 2u);
    const auto reported = [&data](const std::string& line) {
        return std::find(data.report.begin(), data.report.end(), line) != data.report.end();
    };
    EXPECT_TRUE(reported("2 of 4 listed city names taken"));
    EXPECT_TRUE(
        reported("listed name not taken (no such city, or not one of its names): "
                 "EG Nilbyport Not Its Name"));
}

TEST_F(GeneratorTest, ZonesThatCannotBeReadAreLeftOutWithTheirPlaces) {
    std::filesystem::remove(m_zoneinfo / "Africa/Nilby");
    m_dir.Write("zoneinfo/Asia/Plainpur", "TZif2 but cut short");
    const tzgen::GeneratedData data = tzgen::Generate(Input());
    const auto zones = ZonesByName(data.zoneFile);
    EXPECT_EQ(zones.size(), 5u);
    EXPECT_EQ(zones.count("Africa/Nilby"), 0u);
    EXPECT_EQ(zones.count("Asia/Plainpur"), 0u);
    for (const auto& [place, zone] : PlacesByName(data.locationsFile)) {
        EXPECT_EQ(zones.count(zone), 1u) << place << " is bound to a zone the file lacks";
    }
}

TEST_F(GeneratorTest, SameInputGivesTheSameBytesWhateverTheOrderOfItsTables) {
    const tzgen::GeneratedData first = tzgen::Generate(Input());
    // The same tables with their lines in reverse order.
    for (const char* table : {"tzdata.zi", "zone.tab", "iso3166.tab"}) {
        const auto text = tzsource::ReadTextFile((m_zoneinfo / table).string());
        ASSERT_TRUE(text);
        std::vector<std::string_view> lines = tzsource::SplitLines(*text);
        if (std::string_view(table) == "tzdata.zi") {
            // Rule and zone lines may not be reordered in zic source; links may.
            std::stable_partition(lines.begin(), lines.end(), [](std::string_view line) {
                return line.substr(0, 4) == "Link";
            });
        } else {
            std::reverse(lines.begin(), lines.end());
        }
        std::string reordered;
        for (std::string_view line : lines) {
            reordered += std::string(line) + "\n";
        }
        m_dir.Write(std::string("zoneinfo/") + table, reordered);
    }
    const tzgen::GeneratedData second = tzgen::Generate(Input());
    EXPECT_EQ(second.zoneFile, first.zoneFile);
    EXPECT_EQ(second.locationsFile, first.locationsFile);
    EXPECT_EQ(second.zoneFile.find('\r'), std::string::npos);
    EXPECT_EQ(second.zoneFile.back(), '\n');
}

TEST_F(GeneratorTest, MissingTablesAreAnError) {
    std::filesystem::remove(m_zoneinfo / "zone.tab");
    EXPECT_THROW(tzgen::Generate(Input()), tzgen::GeneratorError);
}

}  // namespace
