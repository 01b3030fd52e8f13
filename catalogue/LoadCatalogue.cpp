#include "catalogue/LoadCatalogue.h"

#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "catalogue/FieldReader.h"
#include "catalogue/LineReader.h"
#include "platform/SharedReadFile.h"

namespace {

bool ReadZones(Catalogue& zones, platform::SharedReadFile& file) {
    try {
        ForEachLine(file, [&zones](std::string_view line) {
            zones.Insert(std::make_unique<CTimeZone>(line));
        });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

// One locations line, split. The views point into the line, or into
// `owned` when the line needed the full tokenizer (quoted fields).
struct LocationLine {
    std::string_view zone;
    std::string_view place;
    std::uint64_t hash = 0;
};

// Splits a line without copying when it holds no double quote (the common
// case): then each field simply runs to the next comma.
bool SplitPlainly(std::string_view line, LocationLine& split) {
    if (line.find('"') != std::string_view::npos) {
        return false;
    }
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) {
        split.zone = line;
        split.place = {};
        return true;
    }
    split.zone = line.substr(0, comma);
    split.place = line.substr(comma + 1, line.find(',', comma + 1) - (comma + 1));
    return true;
}

class LocationReader {
public:
    explicit LocationReader(Catalogue& zones) : m_zones(zones) {}

    // A block of lines in two passes: first every zone name is split and
    // hashed and its lookup's memory requested, then the lookups and appends
    // run, mostly on memory already fetched. In a file whose lines name zones
    // in no order, a lookup at a time would wait for memory on every line.
    void Read(std::span<const std::string_view> lines) {
        m_split.clear();
        m_owned.clear();
        for (const std::string_view line : lines) {
            LocationLine split;
            if (!SplitPlainly(line, split)) {
                std::string& zone = m_owned.emplace_back();
                std::string& place = m_owned.emplace_back();
                ParseLocationLine(line, zone, place);
                split.zone = zone;
                split.place = place;
            }
            if (split.zone.empty() || split.place.empty()) {
                continue;
            }
            split.hash = Catalogue::Hash(split.zone);
            m_zones.PrefetchLookup(split.hash);
            m_split.push_back(split);
        }
        for (const LocationLine& split : m_split) {
            ZoneFor(split).m_places.Add(split.place);
        }
    }

private:
    CTimeZone& ZoneFor(const LocationLine& split) {
        // Consecutive lines often name the same zone.
        if (m_previous == nullptr || m_previousName != split.zone) {
            m_previous = m_zones.Lookup(split.zone, split.hash);
            if (m_previous == nullptr) {
                m_previous = m_zones.Insert(MakePlaceholderZone(split.zone));
            }
            m_previousName.assign(split.zone);
        }
        return *m_previous;
    }

    Catalogue& m_zones;
    std::vector<LocationLine> m_split;
    std::deque<std::string> m_owned;  // grows without moving what the views point to
    CTimeZone* m_previous = nullptr;
    std::string m_previousName;
};

bool ReadLocations(Catalogue& zones, platform::SharedReadFile& file) {
    LocationReader reader(zones);
    try {
        ForEachLineBlock(
            file, [&reader](std::span<const std::string_view> lines) { reader.Read(lines); });
    } catch (const std::system_error&) {
        return false;
    }
    zones.ForEach([](CTimeZone& zone) { zone.m_places.FreeExtra(); });
    return true;
}

}  // namespace

CatalogueFiles CatalogueFiles::InDirectory(const std::filesystem::path& directory) {
    return CatalogueFiles{directory / kZoneFileName, directory / kLocationsFileName};
}

LoadOutcome LoadCatalogue(Catalogue& zones, const CatalogueFiles& files) {
    zones.ClearCatalogue();
    {
        auto zoneFile = platform::SharedReadFile::Open(files.zones);
        if (!zoneFile || !ReadZones(zones, *zoneFile)) {
            zones.ClearCatalogue();
            return LoadOutcome::ZoneFileUnreadable;
        }
    }
    auto locationsFile = platform::SharedReadFile::Open(files.locations);
    if (!locationsFile || !ReadLocations(zones, *locationsFile)) {
        zones.ClearCatalogue();
        return LoadOutcome::LocationsFileUnreadable;
    }
    return LoadOutcome::Loaded;
}
