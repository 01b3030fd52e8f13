#include "tools/tzgen/PlaceForming.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace tzgen {

// Shows a place in a failure message as a line of the locations file would.
void PrintTo(const Place& place, std::ostream* out) {
    *out << place.zone << "," << place.name << " (kind " << static_cast<int>(place.kind) << ")";
}

}  // namespace tzgen

namespace {

using tzgen::FormPlaces;
using tzgen::Place;
using tzgen::PlaceCandidate;

PlaceCandidate Candidate(std::string name, std::string zone, std::string code, std::string country,
                         std::string zoneCity) {
    return {std::move(name), std::move(zone), std::move(code), std::move(country),
            std::move(zoneCity)};
}

const PlaceCandidate kCordobaZone =
    Candidate("Córdoba", "America/Argentina/Cordoba", "AR", "Argentina", "Córdoba");
const PlaceCandidate kCordobaSpain = Candidate("Córdoba", "Europe/Madrid", "ES", "Spain", "Madrid");

// Candidates and the places formed from them.
struct FormingCase {
    const char* what;
    std::vector<PlaceCandidate> candidates;
    std::vector<Place> expected;
};

void ExpectFormed(const std::vector<FormingCase>& cases) {
    for (const FormingCase& c : cases) {
        EXPECT_EQ(FormPlaces(c.candidates), c.expected) << c.what;
    }
}

TEST(PlaceForming, TellsApartNamesSharedAcrossCountriesAndZones) {
    const std::vector<FormingCase> cases = {
        {"one name, one zone, one country: one entry with the first spelling",
         {Candidate("Kolkata", "Asia/Kolkata", "IN", "India", "Kolkata"),
          Candidate("KOLKATA", "Asia/Kolkata", "IN", "India", "Kolkata")},
         {{"Asia/Kolkata", "Kolkata"}}},
        {"one name in two countries",
         {kCordobaZone, kCordobaSpain, kCordobaZone},
         {{"America/Argentina/Cordoba", "Córdoba (Argentina)"},
          {"Europe/Madrid", "Córdoba (Spain)"}}},
        {"two countries, one zone: still the country",
         {Candidate("Victoria", "Etc/Same", "AU", "Australia", "Melbourne"),
          Candidate("Victoria", "Etc/Same", "CA", "Canada", "Vancouver")},
         {{"Etc/Same", "Victoria (Australia)"}, {"Etc/Same", "Victoria (Canada)"}}},
        {"one country, two zones: the zone's city as well",
         {Candidate("Springfield", "America/Chicago", "US", "United States", "Chicago"),
          Candidate("Springfield", "America/New_York", "US", "United States", "New York"),
          Candidate("Springfield", "America/Chicago", "US", "United States", "Chicago")},
         {{"America/Chicago", "Springfield (United States, Chicago)"},
          {"America/New_York", "Springfield (United States, New York)"}}},
        {"no country known: the zone's city",
         {Candidate("Alpha", "Zone/One", "", "", "One"),
          Candidate("Alpha", "Zone/Two", "", "", "Two")},
         {{"Zone/One", "Alpha (One)"}, {"Zone/Two", "Alpha (Two)"}}},
        {"nothing else to go by: the zone's name",
         {Candidate("Beta", "Zone/One", "", "", ""), Candidate("Beta", "Zone/Two", "", "", "")},
         {{"Zone/One", "Beta (Zone/One)"}, {"Zone/Two", "Beta (Zone/Two)"}}},
    };
    ExpectFormed(cases);
}

TEST(PlaceForming, TypedNamesNeverRenameOrShadowOwnNames) {
    using tzgen::NameKind;
    const auto typed = [](PlaceCandidate candidate, NameKind kind) {
        candidate.kind = kind;
        return candidate;
    };
    const PlaceCandidate kSantiagoChile =
        Candidate("Santiago", "America/Santiago", "CL", "Chile", "Santiago");
    const PlaceCandidate kAuroraChicago =
        Candidate("Aurora", "America/Chicago", "US", "United States", "Chicago");
    const PlaceCandidate kAuroraDenver =
        Candidate("Aurora", "America/Denver", "US", "United States", "Denver");
    const std::vector<FormingCase> cases = {
        {"an own name of the same zone already reads so: nothing added",
         {kSantiagoChile, typed(kSantiagoChile, NameKind::kEnglish)},
         {{"America/Santiago", "Santiago"}}},
        {"another zone's own name: the typed one gets its country, the own one stays",
         {kSantiagoChile, typed(Candidate("Santiago", "America/Santo_Domingo", "DO",
                                          "Dominican Republic", "Santo Domingo"),
                                NameKind::kEnglish)},
         {{"America/Santiago", "Santiago"},
          {"America/Santo_Domingo", "Santiago (Dominican Republic)", NameKind::kEnglish}}},
        {"told apart as the own names are, and left out where that repeats one",
         {kAuroraChicago, kAuroraDenver, typed(kAuroraChicago, NameKind::kUnaccented)},
         {{"America/Chicago", "Aurora (United States, Chicago)"},
          {"America/Denver", "Aurora (United States, Denver)"}}},
        {"no own name: as own names are",
         {typed(kSantiagoChile, NameKind::kUnaccented)},
         {{"America/Santiago", "Santiago", NameKind::kUnaccented}}},
    };
    ExpectFormed(cases);
}

TEST(PlaceForming, AddedNamesLoseToNamesThatPlacesOfOtherZonesHave) {
    using tzgen::NameKind;
    const auto named = [](PlaceCandidate candidate, NameKind kind) {
        candidate.kind = kind;
        return candidate;
    };
    const PlaceCandidate kPetersburgFlorida =
        Candidate("St. Petersburg", "America/New_York", "US", "United States", "New York");
    const PlaceCandidate kPetersburgRussia =
        Candidate("St. Petersburg", "Europe/Moscow", "RU", "Russia", "Moscow");
    const PlaceCandidate kSyracuseItaly =
        Candidate("Syracuse", "Europe/Rome", "IT", "Italy", "Rome");
    const PlaceCandidate kBombay = Candidate("Bombay", "Asia/Kolkata", "IN", "India", "Kolkata");
    const std::vector<FormingCase> cases = {
        {"beside another zone's typed name: the added one gets its country",
         {named(kPetersburgFlorida, NameKind::kEnglish),
          named(kPetersburgRussia, NameKind::kSaintForm)},
         {{"America/New_York", "St. Petersburg", NameKind::kEnglish},
          {"Europe/Moscow", "St. Petersburg (Russia)", NameKind::kSaintForm}}},
        {"beside another zone's own name: the same",
         {Candidate("Syracuse", "America/New_York", "US", "United States", "New York"),
          named(kSyracuseItaly, NameKind::kListedEnglish)},
         {{"America/New_York", "Syracuse"},
          {"Europe/Rome", "Syracuse (Italy)", NameKind::kListedEnglish}}},
        {"a name its own zone has already: nothing added",
         {named(kPetersburgRussia, NameKind::kEnglish),
          named(kPetersburgRussia, NameKind::kFormer)},
         {{"Europe/Moscow", "St. Petersburg", NameKind::kEnglish}}},
        {"added names alike in two zones: told apart as own names are",
         {named(kPetersburgFlorida, NameKind::kSaintForm),
          named(kPetersburgRussia, NameKind::kSaintForm)},
         {{"Europe/Moscow", "St. Petersburg (Russia)", NameKind::kSaintForm},
          {"America/New_York", "St. Petersburg (United States)", NameKind::kSaintForm}}},
        {"a name nobody else has: as it is",
         {named(kBombay, NameKind::kFormer)},
         {{"Asia/Kolkata", "Bombay", NameKind::kFormer}}},
    };
    ExpectFormed(cases);
}

TEST(PlaceForming, ResultIsSortedUniqueAndIndependentOfInputOrder) {
    std::vector<PlaceCandidate> candidates = {
        Candidate("Zagreb", "Europe/Zagreb", "HR", "Croatia", "Zagreb"), kCordobaSpain,
        Candidate("Aachen", "Europe/Berlin", "DE", "Germany", "Berlin"), kCordobaZone,
        Candidate("Aachen", "Europe/Berlin", "DE", "Germany", "Berlin")};
    const std::vector<Place> first = FormPlaces(candidates);
    ASSERT_EQ(first.size(), 4u);
    EXPECT_TRUE(std::is_sorted(first.begin(), first.end(),
                               [](const Place& a, const Place& b) { return a.name < b.name; }));
    std::reverse(candidates.begin(), candidates.end());
    EXPECT_EQ(FormPlaces(candidates), first);
}

}  // namespace
