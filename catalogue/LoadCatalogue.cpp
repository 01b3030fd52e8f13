#include "catalogue/LoadCatalogue.h"

#include <string>
#include <system_error>

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

bool ReadLocations(Catalogue& zones, platform::SharedReadFile& file) {
    std::string zoneName;
    std::string placeName;
    // Locations files tend to group the places of a zone, so the previous
    // line's zone spares most lookups; its name is kept here, where reading it
    // costs no trip to the record.
    CTimeZone* previous = nullptr;
    std::string previousName;
    try {
        ForEachLine(file, [&](std::string_view line) {
            if (!ParseLocationLine(line, zoneName, placeName)) {
                return;
            }
            if (previous == nullptr || previousName != zoneName) {
                previous = zones.Lookup(zoneName);
                if (previous == nullptr) {
                    previous = zones.Insert(MakePlaceholderZone(zoneName));
                }
                previousName = zoneName;
            }
            previous->m_places.Add(placeName);
        });
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
