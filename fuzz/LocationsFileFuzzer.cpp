// Loads arbitrary bytes as a locations file and checks that the loader
// binds exactly the places that reading the file line by line, as
// text mode reads it, and tokenizing each line in full would bind.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/FieldReader.h"
#include "catalogue/LoadCatalogue.h"
#include "support/TextModeLines.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Check(static_cast<bool>(file));
}

// A directory for the two files, made once and removed when the run ends.
const std::filesystem::path& WorkDirectory() {
    static const std::filesystem::path directory = [] {
        std::string pattern = std::filesystem::temp_directory_path() / "olvanta-fuzz-XXXXXX";
        Check(::mkdtemp(pattern.data()) != nullptr);
        WriteFile(std::filesystem::path(pattern) / kZoneFileName,
                  "Europe/Oslo,label,,60\nAmerica/Lima,label,,-300\n");
        std::atexit([] { std::filesystem::remove_all(WorkDirectory()); });
        return std::filesystem::path(pattern);
    }();
    return directory;
}

// The places each zone name binds, read the slow and obvious way.
std::map<std::string, std::vector<std::string>> PlacesLineByLine(std::string_view bytes) {
    std::map<std::string, std::vector<std::string>> places;
    ForEachTextModeLine(bytes, [&places](std::string_view line) {
        std::string_view zone;
        std::string_view place;
        if (ParseLocationLine(line, zone, place)) {
            places[std::string(zone)].emplace_back(place);
        }
    });
    return places;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const CatalogueFiles files = CatalogueFiles::InDirectory(WorkDirectory());
    WriteFile(files.locations, bytes);

    Catalogue zones;
    Check(LoadCatalogue(zones, files) == LoadOutcome::Loaded);

    const auto expected = PlacesLineByLine(bytes);
    std::size_t expectedCount = 0;
    for (const auto& [zoneName, places] : expected) {
        const CTimeZone* zone = zones.Lookup(zoneName);
        Check(zone != nullptr);
        Check(zone->m_places.GetCount() == places.size());
        for (std::size_t i = 0; i < places.size(); ++i) {
            Check(zone->m_places[i] == places[i]);
        }
        expectedCount += places.size();
    }
    std::size_t bound = 0;
    zones.ForEach([&bound](const CTimeZone& zone) { bound += zone.m_places.GetCount(); });
    Check(bound == expectedCount);
    return 0;
}
