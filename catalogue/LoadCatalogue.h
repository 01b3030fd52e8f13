// Loading the catalogue from the zone file and the locations file.
#pragma once

#include <filesystem>

#include "catalogue/Catalogue.h"

inline constexpr const char* kZoneFileName = "tmzn.tzd";
inline constexpr const char* kLocationsFileName = "tmzn.tzd.Locations";

struct CatalogueFiles {
    std::filesystem::path zones;
    std::filesystem::path locations;

    // Both files by their fixed names inside `directory`.
    static CatalogueFiles InDirectory(const std::filesystem::path& directory);
};

enum class LoadOutcome {
    Loaded,
    ZoneFileUnreadable,       // missing, not a regular file, locked by a writer, or reading
                              // it failed (an input error, memory running out)
    LocationsFileUnreadable,  // the same for the locations file
};

// Clears `zones`, then reads the zone file completely (first line of a name
// wins) and then the locations file (places appended in file order, unknown
// zone names getting a placeholder zone). On failure the catalogue is left
// empty and the outcome names the file.
LoadOutcome LoadCatalogue(Catalogue& zones, const CatalogueFiles& files);
