#include "catalogue/LoadCatalogue.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <exception>
#include <limits>
#include <memory>
#include <span>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "catalogue/BatchHandoff.h"
#include "catalogue/FieldReader.h"
#include "catalogue/LineReader.h"
#include "catalogue/PagedArray.h"
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

// Runs `other` on a second thread while `here` runs on this one, and passes on
// what either throws. Without a second thread to be had, runs both here.
template <typename Here, typename Other>
void RunSideBySide(Here&& here, Other&& other) {
    std::exception_ptr otherFailure;
    std::jthread thread;
    try {
        thread = std::jthread([&] {
            try {
                other();
            } catch (...) {
                otherFailure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        here();
        other();
        return;
    }
    here();
    thread.join();
    if (otherFailure) {
        std::rethrow_exception(otherFailure);
    }
}

// The places of the locations file in file order, each with the number of its
// zone, and the count and size of every zone's places. Handing them over only
// once the whole file is read lets each zone's array be allocated once, at its
// final size: appended as they are read, the arrays of thousands of zones
// would grow side by side, each copied again and again from memory long out of
// cache.
class PendingPlaces {
public:
    // `fileSize` bounds what the locations file can hold, so that the
    // arrays are set aside once at their largest: only what is used is ever
    // backed by memory. A line holds at least a zone, a comma, a place and
    // its line feed.
    explicit PendingPlaces(std::uint64_t fileSize)
        : m_text(SizeHint(fileSize)), m_places(SizeHint(fileSize / 4 + 1)) {}

    void Add(std::size_t zone, std::string_view place) {
        m_text.Append(place.data(), place.size());
        m_places.PushBack(PendingPlace{m_text.Size(), zone});
        if (zone >= m_tallies.size()) {
            m_tallies.resize(zone + 1);
        }
        m_tallies[zone].count += 1;
        m_tallies[zone].bytes += place.size();
    }

    // Appends every place to its zone, in file order. Many places are
    // shared out by zone between two threads.
    void HandTo(const Catalogue& zones) const {
        constexpr std::size_t kTwoThreadsFromPlaces = 100'000;
        const std::size_t middle = MiddleZone();
        if (m_places.Size() >= kTwoThreadsFromPlaces) {
            RunSideBySide([&] { HandOver(zones, 0, middle); },
                          [&] { HandOver(zones, middle, m_tallies.size()); });
        } else {
            HandOver(zones, 0, m_tallies.size());
        }
    }

private:
    struct PendingPlace {
        std::size_t end;   // where its name ends in m_text
        std::size_t zone;  // the zone's record number
    };
    struct Tally {
        std::size_t count = 0;
        std::size_t bytes = 0;
    };

    // The zone number that parts the places' bytes about in half.
    std::size_t MiddleZone() const {
        std::size_t bytes = 0;
        for (std::size_t zone = 0; zone < m_tallies.size(); ++zone) {
            bytes += m_tallies[zone].bytes + m_tallies[zone].count * sizeof(std::size_t);
            if (bytes * 2 >= m_text.Size() + m_places.Size() * sizeof(std::size_t)) {
                return zone + 1;
            }
        }
        return m_tallies.size();
    }

    // The places of the zones numbered from `first` up to `last`.
    void HandOver(const Catalogue& zones, std::size_t first, std::size_t last) const {
        for (std::size_t zone = first; zone < last; ++zone) {
            if (m_tallies[zone].count != 0) {
                zones.RecordAt(zone).m_places.Reserve(m_tallies[zone].count, m_tallies[zone].bytes);
            }
        }
        // The zones come in any order; asking for the next zones' array
        // headers a few places ahead lets those reads overlap.
        constexpr std::size_t kLookAhead = 8;
        const std::size_t count = m_places.Size();
        const std::string_view text(m_text.Data(), m_text.Size());
        std::size_t begin = 0;
        for (std::size_t index = 0; index < count; ++index) {
            const PendingPlace& place = m_places[index];
            if (index + kLookAhead < count) {
                const std::size_t ahead = m_places[index + kLookAhead].zone;
                if (ahead >= first && ahead < last) {
                    __builtin_prefetch(&zones.RecordAt(ahead).m_places);
                }
            }
            if (place.zone >= first && place.zone < last) {
                zones.RecordAt(place.zone).m_places.Add(text.substr(begin, place.end - begin));
            }
            begin = place.end;
        }
    }

    static std::size_t SizeHint(std::uint64_t count) {
        return static_cast<std::size_t>(
            std::min<std::uint64_t>(count, std::numeric_limits<std::size_t>::max() / 16));
    }

    PagedArray<char> m_text;  // the place names back to back
    PagedArray<PendingPlace> m_places;
    std::vector<Tally> m_tallies;  // by zone number
};

// One block of locations lines, split. The batch holds its own copy
// of the bytes, so it can go to another thread while the next block is read.
class LocationBatch {
public:
    void Fill(std::span<const std::string_view> lines) {
        m_lines.clear();
        m_owned.clear();
        m_bytes.clear();
        if (lines.empty()) {
            return;
        }
        // The lines of a block lie back to back in the reader's buffer.
        const char* first = lines.front().data();
        m_bytes.assign(first, lines.back().data() + lines.back().size());
        for (const std::string_view line : lines) {
            const std::string_view copy(m_bytes.data() + (line.data() - first), line.size());
            LocationLine split;
            if (!SplitPlainly(copy, split)) {
                std::string& zone = m_owned.emplace_back();
                std::string& place = m_owned.emplace_back();
                ParseLocationLine(copy, zone, place);
                split.zone = zone;
                split.place = place;
            }
            if (split.zone.empty() || split.place.empty()) {
                continue;
            }
            m_lines.push_back(split);
        }
    }

    std::span<LocationLine> Lines() { return m_lines; }

private:
    std::string m_bytes;
    std::deque<std::string> m_owned;  // grows without moving what the views point to
    std::vector<LocationLine> m_lines;
};

class LocationReader {
public:
    LocationReader(Catalogue& zones, std::uint64_t fileSize)
        : m_zones(zones), m_pending(fileSize) {}

    // First the memory of every lookup in the batch is requested, then the
    // lookups run, mostly on memory already fetched. In a file whose lines
    // name zones in no order, a lookup at a time would wait for memory on
    // every line.
    void Read(LocationBatch& batch) {
        for (LocationLine& split : batch.Lines()) {
            split.hash = Catalogue::Hash(split.zone);
            m_zones.PrefetchLookup(split.hash);
        }
        for (const LocationLine& split : batch.Lines()) {
            m_pending.Add(ZoneNumberFor(split), split.place);
        }
    }

    void Finish() const { m_pending.HandTo(m_zones); }

private:
    std::size_t ZoneNumberFor(const LocationLine& split) {
        // Consecutive lines often name the same zone.
        if (m_previous == Catalogue::kNoRecord || m_previousName != split.zone) {
            m_previous = m_zones.RecordNumberOf(split.zone, split.hash);
            if (m_previous == Catalogue::kNoRecord) {
                m_zones.Insert(MakePlaceholderZone(split.zone));
                m_previous = m_zones.Size() - 1;
            }
            m_previousName.assign(split.zone);
        }
        return m_previous;
    }

    Catalogue& m_zones;
    PendingPlaces m_pending;
    std::size_t m_previous = Catalogue::kNoRecord;
    std::string m_previousName;
};

void ReadOnThisThread(platform::SharedReadFile& file, LocationReader& reader) {
    LocationBatch batch;
    ForEachLineBlock(file, [&](std::span<const std::string_view> lines) {
        batch.Fill(lines);
        reader.Read(batch);
    });
}

struct ConsumerStopped {};

// Reading and splitting the lines takes about as long as finding their zones,
// so a second thread does the first while this one does the second.
void ReadOnTwoThreads(platform::SharedReadFile& file, LocationReader& reader) {
    constexpr std::size_t kBatchesInFlight = 4;
    BatchHandoff<LocationBatch> handoff(kBatchesInFlight);
    std::exception_ptr readFailure;
    std::jthread producer;
    try {
        producer = std::jthread([&] {
            try {
                ForEachLineBlock(file, [&](std::span<const std::string_view> lines) {
                    std::unique_ptr<LocationBatch> batch = handoff.TakeEmpty();
                    if (batch == nullptr) {
                        throw ConsumerStopped{};
                    }
                    batch->Fill(lines);
                    handoff.PassFull(std::move(batch));
                });
            } catch (const ConsumerStopped&) {
            } catch (...) {
                readFailure = std::current_exception();
            }
            handoff.FinishProducing();
        });
    } catch (const std::system_error&) {
        // No thread to be had: nothing is read yet, so read it all here.
        ReadOnThisThread(file, reader);
        return;
    }
    try {
        while (std::unique_ptr<LocationBatch> batch = handoff.TakeFull()) {
            reader.Read(*batch);
            handoff.ReturnEmpty(std::move(batch));
        }
    } catch (...) {
        handoff.StopConsuming();
        throw;
    }
    producer.join();
    if (readFailure) {
        std::rethrow_exception(readFailure);
    }
}

// A second thread pays off only for files far larger than any real one.
constexpr std::uint64_t kTwoThreadsFromBytes = std::uint64_t{4} << 20;

bool ReadLocations(Catalogue& zones, platform::SharedReadFile& file) {
    LocationReader reader(zones, file.SizeWhenOpened());
    try {
        if (file.SizeWhenOpened() >= kTwoThreadsFromBytes) {
            ReadOnTwoThreads(file, reader);
        } else {
            ReadOnThisThread(file, reader);
        }
    } catch (const std::system_error&) {
        return false;
    }
    reader.Finish();  // each zone's places are allocated at their final size
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
