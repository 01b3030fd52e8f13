#include "catalogue/LoadCatalogue.h"

#include <algorithm>
#include <bit>
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
#include "catalogue/ByteScan.h"
#include "catalogue/FieldReader.h"
#include "catalogue/LineReader.h"
#include "catalogue/PagedArray.h"
#include "catalogue/ShortBytes.h"
#include "platform/PageMemory.h"
#include "platform/SharedReadFile.h"

namespace {

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
    constexpr std::uint64_t kTwoThreadsFromBytes = std::uint64_t{256} << 10;
    try {
        if (file.SizeWhenOpened() >= kTwoThreadsFromBytes) {
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

// One locations line, split. The views point into the line, or into
// `owned` when the line needed the full tokenizer (quoted fields).
struct LocationLine {
    std::string_view zone;
    std::string_view place;
    std::uint64_t hash = 0;
};

// The places of the locations file, each with the number of its zone, and
// the count and size of every zone's places. Only once the whole file is read
// are the places laid out, zone after zone, in one block that the zones then
// share: thousands of arrays of their own, each allocated and first touched
// apart, would cost more to set up than to fill.
//
// The places are kept in two halves by zone number, each in file order, so
// that two threads can lay them out side by side without either passing over
// the other's places.
class PendingPlaces {
public:
    // Zones numbered below `firstOfSecondHalf` go to the first half.
    // `fileSize` bounds what the locations file can hold, so that each half's
    // arrays are set aside once at their largest: only what is used is ever
    // backed by memory.
    PendingPlaces(std::uint64_t fileSize, std::size_t firstOfSecondHalf)
        : m_halves{Half(fileSize), Half(fileSize)}, m_firstOfSecondHalf(firstOfSecondHalf) {}

    void Add(std::size_t zone, std::string_view place) {
        m_halves[zone < m_firstOfSecondHalf ? 0 : 1].Add(zone, place);
        if (zone >= m_placeCounts.size()) {
            m_placeCounts.resize(zone + 1);
            m_placeBytes.resize(zone + 1);
        }
        // Two arrays, not one of pairs: the compiler would add a pair as one
        // vector built on the stack and wait to read it back.
        m_placeCounts[zone] += 1;
        m_placeBytes[zone] += place.size();
    }

    // Gives every zone its places, in file order.
    void HandTo(const Catalogue& zones) const {
        const std::size_t count = m_halves[0].places.Size() + m_halves[1].places.Size();
        if (count == 0) {
            return;
        }
        auto block = std::make_shared<platform::PageMemory>(
            count * sizeof(std::size_t) + m_halves[0].text.Size() + m_halves[1].text.Size());
        std::vector<ZoneSlice> slices = SliceByZone(*block, count);
        constexpr std::size_t kTwoThreadsFromPlaces = 100'000;
        if (count >= kTwoThreadsFromPlaces) {
            RunSideBySide([&] { m_halves[0].LayOut(slices); }, [&] { m_halves[1].LayOut(slices); });
        } else {
            m_halves[0].LayOut(slices);
            m_halves[1].LayOut(slices);
        }
        for (std::size_t zone = 0; zone < slices.size(); ++zone) {
            const ZoneSlice& slice = slices[zone];
            if (slice.count != 0) {
                zones.RecordAt(zone).m_places.Share(block,
                                                    std::string_view(slice.text, slice.bytes),
                                                    std::span(slice.ends, slice.count));
            }
        }
    }

private:
    // Where a zone's places go in the block, and how many are there so far.
    struct ZoneSlice {
        std::size_t* ends = nullptr;
        char* text = nullptr;
        std::size_t count = 0;
        std::size_t bytes = 0;
    };

    struct PendingPlace {
        std::size_t end;   // where its name ends in the half's text
        std::size_t zone;  // the zone's record number
    };
    struct Half {
        // A line holds at least a zone, a comma, a place and its line feed.
        explicit Half(std::uint64_t fileSize)
            : text(SizeHint(fileSize)), places(SizeHint(fileSize / 4 + 1)) {}

        void Add(std::size_t zone, std::string_view place) {
            text.Append(place.data(), place.size());
            places.PushBack(PendingPlace{text.Size(), zone});
        }

        // Copies the places into their zones' slices.
        void LayOut(std::vector<ZoneSlice>& slices) const {
            // The zones come in any order; asking for the next zones'
            // slices a few places ahead lets those reads overlap.
            constexpr std::size_t kLookAhead = 8;
            const std::size_t count = places.Size();
            std::size_t begin = 0;
            for (std::size_t index = 0; index < count; ++index) {
                if (index + kLookAhead < count) {
                    __builtin_prefetch(&slices[places[index + kLookAhead].zone]);
                }
                const PendingPlace& place = places[index];
                ZoneSlice& slice = slices[place.zone];
                const std::size_t length = place.end - begin;
                shortbytes::Copy(slice.text + slice.bytes, text.Data() + begin, length);
                slice.bytes += length;
                slice.ends[slice.count++] = slice.bytes;
                begin = place.end;
            }
        }

        PagedArray<char> text;  // the place names back to back
        PagedArray<PendingPlace> places;
    };

    // The block holds the ends of all `count` places, zone after zone, then
    // their names in the same order.
    std::vector<ZoneSlice> SliceByZone(const platform::PageMemory& block, std::size_t count) const {
        std::vector<ZoneSlice> slices(m_placeCounts.size());
        auto* ends = static_cast<std::size_t*>(block.Data());
        char* text = reinterpret_cast<char*>(ends + count);
        for (std::size_t zone = 0; zone < m_placeCounts.size(); ++zone) {
            slices[zone].ends = ends;
            slices[zone].text = text;
            ends += m_placeCounts[zone];
            text += m_placeBytes[zone];
        }
        return slices;
    }

    static std::size_t SizeHint(std::uint64_t count) {
        return static_cast<std::size_t>(
            std::min<std::uint64_t>(count, std::numeric_limits<std::size_t>::max() / 16));
    }

    Half m_halves[2];
    std::size_t m_firstOfSecondHalf;
    std::vector<std::size_t> m_placeCounts;  // places by zone number
    std::vector<std::size_t> m_placeBytes;   // their bytes by zone number
};

// One block of locations lines, split. The batch holds its own copy
// of the bytes, so it can go to another thread while the next block is read.
class LocationBatch {
public:
    // `text` is a run of whole lines; the last may lack its line feed.
    void Fill(std::string_view text) {
        m_lines.clear();
        m_owned.clear();
        // Zero bytes after the text let every line be scanned in one stretch.
        m_bytes.assign(text);
        m_bytes.append(kByteMaskWidth, '\0');
        const std::string_view bytes(m_bytes.data(), text.size());
        for (std::size_t begin = 0; begin < bytes.size();) {
            begin = SplitLineAt(bytes, begin);
        }
    }

    std::span<LocationLine> Lines() { return m_lines; }

private:
    // Splits the line that starts at `begin` and returns where the next one
    // starts. One scan of the stretch from the line's start finds the line
    // feed, the commas and any quote of a short line; a long line is
    // searched for each.
    std::size_t SplitLineAt(std::string_view bytes, std::size_t begin) {
        const ByteMasks found = FindBytes(bytes.data() + begin, '\n', ',', '"');
        if (found.first == 0) {
            return SplitLongLineAt(bytes, begin);
        }
        // The padding holds no line feed, so this one is in the text.
        const std::size_t size = LowestBit(found.first);
        const std::uint64_t inLine = (std::uint64_t{1} << size) - 1;  // size < 64
        std::string_view line = bytes.substr(begin, size);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if ((found.third & inLine) != 0) {
            AddQuotedLine(line);
        } else {
            const std::uint64_t commas = found.second & inLine;
            const std::uint64_t laterCommas = commas & (commas - 1);
            AddPlainLine(line, commas == 0 ? kNone : LowestBit(commas),
                         laterCommas == 0 ? kNone : LowestBit(laterCommas));
        }
        return begin + size + 1;
    }

    std::size_t SplitLongLineAt(std::string_view bytes, std::size_t begin) {
        const std::size_t lineFeed = bytes.find('\n', begin);
        std::string_view line = bytes.substr(begin, lineFeed - begin);
        if (lineFeed != std::string_view::npos && line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.find('"') != std::string_view::npos) {
            AddQuotedLine(line);
        } else {
            const std::size_t comma = line.find(',');
            AddPlainLine(line, comma,
                         comma == std::string_view::npos ? kNone : line.find(',', comma + 1));
        }
        return lineFeed == std::string_view::npos ? bytes.size() : lineFeed + 1;
    }

    static constexpr std::size_t kNone = std::string_view::npos;
    static std::size_t LowestBit(std::uint64_t mask) {
        return static_cast<std::size_t>(std::countr_zero(mask));
    }

    // A line without quotes: each field simply runs to the next comma.
    void AddPlainLine(std::string_view line, std::size_t firstComma, std::size_t secondComma) {
        if (firstComma == kNone) {
            return;  // a zone without a place
        }
        Add(line.substr(0, firstComma),
            line.substr(firstComma + 1, std::min(secondComma, line.size()) - (firstComma + 1)));
    }

    // A line with quotes goes through the full tokenizer.
    void AddQuotedLine(std::string_view line) {
        std::string& zone = m_owned.emplace_back();
        std::string& place = m_owned.emplace_back();
        ParseLocationLine(line, zone, place);
        Add(zone, place);
    }

    void Add(std::string_view zone, std::string_view place) {
        if (!zone.empty() && !place.empty()) {
            // Made in place: copying a line record made on the stack stalls
            // on reading back what was just written.
            m_lines.emplace_back(zone, place);
        }
    }

    std::string m_bytes;
    std::deque<std::string> m_owned;  // grows without moving what the views point to
    std::vector<LocationLine> m_lines;
};

class LocationReader {
public:
    LocationReader(Catalogue& zones, std::uint64_t fileSize)
        : m_zones(zones), m_pending(fileSize, zones.Size() / 2) {}

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
        // Consecutive lines often name the same zone; the hashes tell most
        // other lines apart without comparing names.
        if (m_previous != Catalogue::kNoRecord && split.hash == m_previousHash &&
            m_zones.RecordAt(m_previous).m_strName == split.zone) {
            return m_previous;
        }
        m_previous = m_zones.RecordNumberOf(split.zone, split.hash);
        if (m_previous == Catalogue::kNoRecord) {
            m_zones.Insert(MakePlaceholderZone(split.zone));
            m_previous = m_zones.Size() - 1;
        }
        m_previousHash = split.hash;
        return m_previous;
    }

    Catalogue& m_zones;
    PendingPlaces m_pending;
    std::size_t m_previous = Catalogue::kNoRecord;
    std::uint64_t m_previousHash = 0;
};

void ReadOnThisThread(platform::SharedReadFile& file, LocationReader& reader) {
    LocationBatch batch;
    ForEachTextBlock(file, [&](std::string_view text) {
        batch.Fill(text);
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
                ForEachTextBlock(file, [&](std::string_view text) {
                    std::unique_ptr<LocationBatch> batch = handoff.TakeEmpty();
                    if (batch == nullptr) {
                        throw ConsumerStopped{};
                    }
                    batch->Fill(text);
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
    reader.Finish();  // the zones get their places only once all are read
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
