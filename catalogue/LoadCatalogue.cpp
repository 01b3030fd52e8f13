#include "catalogue/LoadCatalogue.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "catalogue/LineReader.h"
#include "catalogue/LocationBatch.h"
#include "catalogue/PartPlaces.h"
#include "catalogue/RunSideBySide.h"
#include "platform/SharedReadFile.h"

namespace {

void InsertZones(Catalogue& zones, std::span<const std::string_view> lines) {
    for (const std::string_view line : lines) {
        zones.Insert(std::make_unique<CTimeZone>(line));
    }
}

// Making a large file's records is mostly fresh memory for them, which two
// threads fault in faster than one: the second half of the lines is made
// into records on a second thread, and inserted after the first half.
void ReadZonesOnTwoThreads(Catalogue& zones, platform::SharedReadFile& file) {
    std::string text;
    ForEachTextBlock(file, [&text](std::string_view block) { text += block; });
    std::vector<std::string_view> lines;
    SplitLines(text, lines);
    const std::span<const std::string_view> firstHalf(lines.data(), lines.size() / 2);
    const std::span<const std::string_view> secondHalf(lines.data() + firstHalf.size(),
                                                       lines.size() - firstHalf.size());
    std::vector<std::unique_ptr<CTimeZone>> secondRecords;
    RunSideBySide([&] { InsertZones(zones, firstHalf); },
                  [&] {
                      secondRecords.reserve(secondHalf.size());
                      for (const std::string_view line : secondHalf) {
                          secondRecords.push_back(std::make_unique<CTimeZone>(line));
                      }
                  });
    for (std::unique_ptr<CTimeZone>& zone : secondRecords) {
        zones.Insert(std::move(zone));
    }
}

bool ReadZones(Catalogue& zones, platform::SharedReadFile& file) {
    constexpr std::uint64_t kZoneFileTwoThreadsFromBytes = std::uint64_t{256} << 10;
    try {
        if (file.SizeWhenOpened() >= kZoneFileTwoThreadsFromBytes) {
            ReadZonesOnTwoThreads(zones, file);
        } else {
            ForEachLineBlock(file, [&zones](std::span<const std::string_view> lines) {
                InsertZones(zones, lines);
            });
        }
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

// Reads one part of the locations file into `part`. Returns whether a Ctrl-Z
// ended the text.
template <typename Source>
bool ReadPart(Source& source, PartPlaces& part) {
    LocationBatch batch;
    return ForEachTextBlock(source, [&](std::string_view text) {
        batch.Fill(text);
        part.Read(batch);
    });
}

// Where the first line that starts at or after `middle` starts, or nothing
// when no line does.
std::optional<std::uint64_t> LineStartFrom(platform::SharedReadFile& file, std::uint64_t middle) {
    char buffer[4096];
    for (std::uint64_t at = middle - 1;;) {
        const std::size_t count = file.ReadAt(at, buffer, sizeof buffer);
        if (count == 0) {
            return std::nullopt;
        }
        if (const void* lineFeed = std::memchr(buffer, '\n', count)) {
            return at + static_cast<std::size_t>(static_cast<const char*>(lineFeed) - buffer) + 1;
        }
        at += count;
    }
}

// From this size on, the two halves of the locations file are read on two
// threads, each into its own part; this pays off only for files far larger
// than any real one.
constexpr std::uint64_t kLocationsTwoThreadsFromBytes = std::uint64_t{4} << 20;

bool ReadLocations(Catalogue& zones, platform::SharedReadFile& file) {
    const std::uint64_t size = file.SizeWhenOpened();
    try {
        const std::optional<std::uint64_t> split =
            size >= kLocationsTwoThreadsFromBytes ? LineStartFrom(file, size / 2) : std::nullopt;
        PartPlaces first(zones, split.value_or(size));
        PartPlaces second(zones, split ? size - *split : 0);
        bool secondCounts = false;
        if (split) {
            RunSideBySide(
                [&] {
                    FileRange range(file, 0, *split);
                    // A Ctrl-Z in the first half hides the second.
                    secondCounts = !ReadPart(range, first);
                },
                [&] {
                    FileRange range(file, *split, FileRange::kToTheEnd);
                    ReadPart(range, second);
                });
        } else {
            ReadPart(file, first);
        }
        first.ResolveUnknownNames(zones);
        if (secondCounts) {
            second.ResolveUnknownNames(zones);
        }
        const PartPlaces* const parts[] = {&first, &second};
        LayOutPlaces(zones, std::span(parts, secondCounts ? 2 : 1));
    } catch (const std::system_error&) {
        return false;
    }
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
