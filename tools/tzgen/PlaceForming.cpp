#include "tools/tzgen/PlaceForming.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <tuple>

namespace tzgen {
namespace {

std::string NameKey(const std::string& name) {
    std::string key = name;
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
}

using Group = std::vector<const PlaceCandidate*>;

std::map<std::string, Group> GroupByName(const std::vector<PlaceCandidate>& candidates,
                                         const std::vector<std::string>& names) {
    std::map<std::string, Group> groups;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        groups[NameKey(names[i])].push_back(&candidates[i]);
    }
    return groups;
}

bool OneZoneOneCountry(const Group& group) {
    return std::all_of(group.begin(), group.end(), [&group](const PlaceCandidate* candidate) {
        return candidate->zone == group.front()->zone &&
               candidate->countryCode == group.front()->countryCode;
    });
}

bool OneZone(const Group& group) {
    return std::all_of(group.begin(), group.end(), [&group](const PlaceCandidate* candidate) {
        return candidate->zone == group.front()->zone;
    });
}

std::string WithCountry(const PlaceCandidate& candidate) {
    const std::string& qualifier =
        candidate.countryName.empty() ? candidate.zoneCity : candidate.countryName;
    return qualifier.empty() ? candidate.name : candidate.name + " (" + qualifier + ")";
}

std::string WithCountryAndCity(const PlaceCandidate& candidate) {
    if (candidate.countryName.empty() || candidate.zoneCity.empty()) {
        return candidate.name + " (" + candidate.zone + ")";
    }
    return candidate.name + " (" + candidate.countryName + ", " + candidate.zoneCity + ")";
}

// Each candidate's name with its country, and with the zone's city too where
// one country has the name in two zones; in the order of the group.
std::vector<Place> Qualified(const Group& group) {
    std::map<std::string, Group> byQualifiedName;
    for (const PlaceCandidate* candidate : group) {
        byQualifiedName[NameKey(WithCountry(*candidate))].push_back(candidate);
    }
    std::map<const PlaceCandidate*, Place> places;
    for (const auto& [qualifiedKey, sameCountry] : byQualifiedName) {
        const bool cityNeeded = !OneZone(sameCountry);
        for (const PlaceCandidate* candidate : sameCountry) {
            places[candidate] = {
                candidate->zone,
                cityNeeded ? WithCountryAndCity(*candidate) : WithCountry(*sameCountry.front()),
                candidate->kind};
        }
    }
    std::vector<Place> inOrder;
    for (const PlaceCandidate* candidate : group) {
        inOrder.push_back(places[candidate]);
    }
    return inOrder;
}

void FormGroup(const Group& group, std::set<Place>& places) {
    if (OneZoneOneCountry(group)) {
        // The first candidate's spelling stands for all of them.
        places.insert({group.front()->zone, group.front()->name, group.front()->kind});
    } else {
        const std::vector<Place> qualified = Qualified(group);
        places.insert(qualified.begin(), qualified.end());
    }
}

// Names of a later rank never change those of an earlier one: a place's own
// name outranks the names people type for it, and those the names added for it.
enum class Rank { kOwn, kTyped, kAdded, kCount };

Rank RankOf(NameKind kind) {
    switch (kind) {
        case NameKind::kOwn: return Rank::kOwn;
        case NameKind::kEnglish:
        case NameKind::kUnaccented: return Rank::kTyped;
        case NameKind::kFormer:
        case NameKind::kListedEnglish:
        case NameKind::kSaintForm: break;
    }
    return Rank::kAdded;
}

// The names of one rank in a group whose earlier names are formed already:
// where those gave the bare name to a zone, the rank's names of that zone add
// nothing; the others are told apart from the earlier ones as if all were
// named alike.
void FormBesideEarlier(const Group& earlier, const Group& group,
                       const std::optional<std::string>& bareNameZone, std::set<Place>& places) {
    Group all = earlier;
    std::copy_if(group.begin(), group.end(), std::back_inserter(all),
                 [&](const PlaceCandidate* candidate) { return candidate->zone != bareNameZone; });
    const std::vector<Place> qualified = Qualified(all);
    places.insert(qualified.begin() + static_cast<std::ptrdiff_t>(earlier.size()), qualified.end());
}

// The places that the candidates of one rank form in each group of equal names.
std::set<Place> FormRank(const std::map<std::string, Group>& groups, Rank rank,
                         const std::map<std::string, std::string>& zoneOfFormedName) {
    std::set<Place> places;
    for (const auto& [key, group] : groups) {
        Group earlier;
        Group ofRank;
        for (const PlaceCandidate* candidate : group) {
            const Rank candidateRank = RankOf(candidate->kind);
            if (candidateRank < rank) {
                earlier.push_back(candidate);
            } else if (candidateRank == rank) {
                ofRank.push_back(candidate);
            }
        }
        if (ofRank.empty()) {
            continue;
        }
        if (earlier.empty()) {
            FormGroup(ofRank, places);
            continue;
        }
        const auto bare = zoneOfFormedName.find(key);
        FormBesideEarlier(
            earlier, ofRank,
            bare == zoneOfFormedName.end() ? std::nullopt : std::optional(bare->second), places);
    }
    return places;
}

}  // namespace

std::vector<Place> FormPlaces(const std::vector<PlaceCandidate>& candidates) {
    std::vector<std::string> names;
    for (const PlaceCandidate& candidate : candidates) {
        names.push_back(candidate.name);
    }
    const std::map<std::string, Group> groups = GroupByName(candidates, names);
    std::vector<Place> sorted;
    std::map<std::string, std::string> zoneOfFormedName;  // by name key, of the earlier ranks
    for (int rank = 0; rank < static_cast<int>(Rank::kCount); ++rank) {
        std::set<std::pair<std::string, std::string>> taken;
        std::vector<Place> ofRank;
        for (const Place& place : FormRank(groups, static_cast<Rank>(rank), zoneOfFormedName)) {
            // Several kinds may give one name; the set's order keeps the first kind.
            if (zoneOfFormedName.count(NameKey(place.name)) == 0 &&
                taken.emplace(place.zone, place.name).second) {
                ofRank.push_back(place);
            }
        }
        for (const Place& place : ofRank) {
            zoneOfFormedName.emplace(NameKey(place.name), place.zone);
        }
        sorted.insert(sorted.end(), ofRank.begin(), ofRank.end());
    }
    std::sort(sorted.begin(), sorted.end(), [](const Place& a, const Place& b) {
        return std::tie(a.name, a.zone) < std::tie(b.name, b.zone);
    });
    return sorted;
}

}  // namespace tzgen
