#include "tools/tzgen/PlaceForming.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <map>
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

// The typed names of a group whose own names are formed already: beside an own
// name of their zone that reads the same they add nothing; otherwise they are
// told apart from the own names as if those were named alike.
void FormTypedBesideOwn(const Group& owners, const Group& typers, std::set<Place>& places) {
    const bool bare = OneZoneOneCountry(owners);
    Group all = owners;
    std::copy_if(typers.begin(), typers.end(), std::back_inserter(all),
                 [&](const PlaceCandidate* candidate) {
                     return !bare || candidate->zone != owners.front()->zone;
                 });
    const std::vector<Place> qualified = Qualified(all);
    places.insert(qualified.begin() + static_cast<std::ptrdiff_t>(owners.size()), qualified.end());
}

}  // namespace

std::vector<Place> FormPlaces(const std::vector<PlaceCandidate>& candidates) {
    std::set<Place> own;
    std::set<Place> typed;
    std::vector<std::string> names;
    for (const PlaceCandidate& candidate : candidates) {
        names.push_back(candidate.name);
    }
    for (const auto& [key, group] : GroupByName(candidates, names)) {
        Group owners;
        Group typers;
        for (const PlaceCandidate* candidate : group) {
            (candidate->kind == NameKind::kOwn ? owners : typers).push_back(candidate);
        }
        if (owners.empty()) {
            FormGroup(typers, typed);
            continue;
        }
        FormGroup(owners, own);
        FormTypedBesideOwn(owners, typers, typed);
    }
    std::set<std::string> ownKeys;
    for (const Place& place : own) {
        ownKeys.insert(NameKey(place.name));
    }
    std::vector<Place> sorted(own.begin(), own.end());
    std::set<std::pair<std::string, std::string>> typedTaken;
    for (const Place& place : typed) {
        // Several kinds may give one name; the set's order keeps the first kind.
        if (ownKeys.count(NameKey(place.name)) == 0 &&
            typedTaken.emplace(place.zone, place.name).second) {
            sorted.push_back(place);
        }
    }
    std::sort(sorted.begin(), sorted.end(), [](const Place& a, const Place& b) {
        return std::tie(a.name, a.zone) < std::tie(b.name, b.zone);
    });
    return sorted;
}

}  // namespace tzgen
