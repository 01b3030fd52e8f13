#include "catalogue/LoadCatalogue.h"

#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "catalogue/FieldReader.h"
#include "catalogue/LineReader.h"
#include "platform/SharedReadFile.h"

namespace {

// Calls `onLine` for every line of the file at `path`. Returns false when the
// file cannot be opened or reading it fails part way: an input error, or
// memory running out on a file larger than the machine can hold, which fails
// that file's load like any other file that cannot be read.
template <typename OnLine>
bool ReadEveryLine(const std::filesystem::path& path, OnLine&& onLine) {
    std::optional<platform::SharedReadFile> file = platform::SharedReadFile::Open(path);
    if (!file) {
        return false;
    }
    try {
        ForEachLine(*file, onLine);
    } catch (const std::system_error&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void InsertZone(Catalogue& zones, std::string_view line) {
    zones.Insert(std::make_unique<CTimeZone>(line));
}

// Binds the places of a locations file to their zones, making a placeholder
// zone for a name the zone file lacks.
class PlaceBinder {
public:
    explicit PlaceBinder(Catalogue& zones) : m_zones(zones) {}

    void AddPlace(std::string_view line) {
        std::string_view zoneName;
        std::string_view placeName;
        if (!ParseLocationLine(line, zoneName, placeName)) {
            return;
        }
        // A locations file may list a zone's places together, so the zone is
        // often the one before.
        if (m_zone == nullptr || m_zone->m_strName != zoneName) {
            m_zone = m_zones.Lookup(zoneName);
            if (m_zone == nullptr) {
                m_zone = m_zones.Insert(MakePlaceholderZone(zoneName));
            }
        }
        m_zone->m_places.Add(placeName);
    }

private:
    Catalogue& m_zones;
    CTimeZone* m_zone = nullptr;
};

}  // namespace

CatalogueFiles CatalogueFiles::InDirectory(const std::filesystem::path& directory) {
    return CatalogueFiles{directory / kZoneFileName, directory / kLocationsFileName};
}

LoadOutcome LoadCatalogue(Catalogue& zones, const CatalogueFiles& files) {
    zones.ClearCatalogue();
    if (!ReadEveryLine(files.zones, [&zones](std::string_view line) { InsertZone(zones, line); })) {
        zones.ClearCatalogue();
        return LoadOutcome::ZoneFileUnreadable;
    }
    PlaceBinder binder(zones);
    if (!ReadEveryLine(files.locations,
                       [&binder](std::string_view line) { binder.AddPlace(line); })) {
        zones.ClearCatalogue();
        return LoadOutcome::LocationsFileUnreadable;
    }
    return LoadOutcome::Loaded;
}
