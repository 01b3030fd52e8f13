// Forms the locations file's places from every source of names: one entry per
// name and zone, and where one name means places in different countries or
// zones, entries that say which one is meant ("Córdoba (Argentina)"). Besides
// a place's own name, the names people type for it ("Munich", "Zurich") and
// the names it has been given besides ("Bombay", "Saint Louis") are entries of
// their own.
#pragma once

#include <string>
#include <vector>

namespace tzgen {

// Whose name it is: the place's own; one that people type for it (its English
// name, its name without marks); or one added for it: a former name or an
// English name from our own list of well-known cities, or the "St"/"St."/
// "Saint" form of one of its names.
enum class NameKind { kOwn, kEnglish, kUnaccented, kFormer, kListedEnglish, kSaintForm };

struct PlaceCandidate {
    std::string name;
    std::string zone;         // a zone of the zone file
    std::string countryCode;  // may be empty
    std::string countryName;  // may be empty
    std::string zoneCity;     // the place name of the zone, may be empty
    NameKind kind = NameKind::kOwn;
};

struct Place {
    std::string zone;
    std::string name;
    NameKind kind = NameKind::kOwn;

    friend bool operator==(const Place&, const Place&) = default;
    friend auto operator<=>(const Place&, const Place&) = default;
};

// Names compare without regard to ASCII letter case, as the place list finds
// them. A name that all candidates use for one zone in one country gives one
// entry; otherwise each candidate's name gets its country ("Name (Country)"),
// and where that still leaves one name for two zones, the zone's city too
// ("Name (Country, City)"). Own names come first, then typed names, then added
// names, and a name never changes one of a kind before it: where such a name
// of its zone already reads the same it adds nothing, beside such names of
// other places it gets its country, and it is left out where it would still
// read like another zone's entry. The result is sorted by name, then zone, and
// holds each name and zone once.
std::vector<Place> FormPlaces(const std::vector<PlaceCandidate>& candidates);

}  // namespace tzgen
