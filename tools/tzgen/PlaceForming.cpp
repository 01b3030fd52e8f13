#include "tools/tzgen/PlaceForming.h"

#include <algorithm>
#include <cctype>
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

}  // namespace

std::vector<Place> FormPlaces(const std::vector<PlaceCandidate>& candidates) {
    std::set<Place> places;
    std::vector<std::string> names;
    for (const PlaceCandidate& candidate : candidates) {
        names.push_back(candidate.name);
    }
    for (const auto& [key, group] : GroupByName(candidates, names)) {
        if (OneZoneOneCountry(group)) {
            // The first candidate's spelling stands for all of them.
            places.insert({group.front()->zone, group.front()->name});
            continue;
        }
        std::map<std::string, Group> byQualifiedName;
        for (const PlaceCandidate* candidate : group) {
            byQualifiedName[NameKey(WithCountry(*candidate))].push_back(candidate);
        }
        for (const auto& [qualifiedKey, sameCountry] : byQualifiedName) {
            const bool cityNeeded = !OneZone(sameCountry);
            for (const PlaceCandidate* candidate : sameCountry) {
                places.insert({candidate->zone, cityNeeded ? WithCountryAndCity(*candidate)
                                                           : WithCountry(*sameCountry.front())});
            }
        }
    }
    std::vector<Place> sorted(places.begin(), places.end());
    std::sort(sorted.begin(), sorted.end(), [](const Place& a, const Place& b) {
        return std::tie(a.name, a.zone) < std::tie(b.name, b.zone);
    });
    return sorted;
}

}  // namespace tzgen
