#include "catalogue/LoadCatalogue.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <deque>
#include <exception>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <vector>

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

// One block of locations lines, split. The batch keeps its own copy of the
// bytes with zero bytes after them, so that every line can be scanned in one
// stretch of fixed length without reading past the copy.
class LocationBatch {
public:
    // `text` is a run of whole lines; the last may lack its line feed.
    void Fill(std::string_view text) {
        m_lines.clear();
        m_owned.clear();
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

// Where a zone's places go in the block they are laid out in, and how many
// are there so far.
struct ZoneSlice {
    std::size_t* ends = nullptr;
    char* text = nullptr;
    std::size_t count = 0;
    std::size_t bytes = 0;
};

// What one thread gathers from its part of the locations file: the places in
// file order, each with its zone, and how many places and bytes each zone got.
// The catalogue is only read meanwhile, so that two parts can be gathered at
// once: a zone name the catalogue lacks is numbered among the part's own
// unknown names, and gets its placeholder record once every part is read.
class PartPlaces {
public:
    // `sizeHint` is the size of the part: the arrays are set aside once at
    // the largest it can hold, and only what is used is ever backed by
    // memory. A line holds at least a zone, a comma, a place and its line
    // feed.
    PartPlaces(const Catalogue& zones, std::uint64_t sizeHint)
        : m_zones(zones),
          m_text(SizeHint(sizeHint)),
          m_places(SizeHint(sizeHint / 4 + 1)),
          m_counts(zones.Size()),
          m_bytes(zones.Size()) {}

    // The slots of every lookup in the batch are asked for first, then the
    // lookups run, mostly on memory already fetched. In a file whose lines
    // name zones in no order, a lookup at a time would wait for memory on
    // every line.
    void Read(LocationBatch& batch) {
        const std::span<LocationLine> lines = batch.Lines();
        for (LocationLine& line : lines) {
            line.hash = Catalogue::Hash(line.zone);
            m_zones.PrefetchLookup(line.hash);
        }
        for (const LocationLine& line : lines) {
            Add(ZoneFor(line), line.place);
        }
    }

    // Gives each unknown name its record: the one an earlier part made, or a
    // new placeholder, in the order this part met the names.
    void ResolveUnknownNames(Catalogue& zones) {
        m_unknownRecords.clear();
        for (const Unknown& unknown : m_unknown) {
            std::size_t record = zones.RecordNumberOf(unknown.name, Catalogue::Hash(unknown.name));
            if (record == Catalogue::kNoRecord) {
                zones.Insert(MakePlaceholderZone(unknown.name));
                record = zones.Size() - 1;
            }
            m_unknownRecords.push_back(record);
        }
    }

    std::size_t PlaceCount() const { return m_places.Size(); }

    // Calls `tally(record, places, bytes)` with how many places of each
    // record the part holds and their bytes, once the unknown names are
    // resolved.
    template <typename Tally>
    void ForEachTally(Tally&& tally) const {
        for (std::size_t record = 0; record < m_counts.size(); ++record) {
            tally(record, m_counts[record], m_bytes[record]);
        }
        for (std::size_t index = 0; index < m_unknown.size(); ++index) {
            tally(m_unknownRecords[index], m_unknown[index].count, m_unknown[index].bytes);
        }
    }

    // Copies the places into their zones' slices, in file order.
    void LayOut(std::vector<ZoneSlice>& slices) const {
        // The zones come in any order; asking for the next zones' slices a
        // few places ahead lets those reads overlap.
        constexpr std::size_t kLookAhead = 8;
        const std::size_t count = m_places.Size();
        std::size_t begin = 0;
        for (std::size_t index = 0; index < count; ++index) {
            if (index + kLookAhead < count) {
                __builtin_prefetch(&slices[RecordOf(m_places[index + kLookAhead].zone)]);
            }
            const PendingPlace& place = m_places[index];
            ZoneSlice& slice = slices[RecordOf(place.zone)];
            const std::size_t length = place.end - begin;
            shortbytes::Copy(slice.text + slice.bytes, m_text.Data() + begin, length);
            slice.bytes += length;
            slice.ends[slice.count++] = slice.bytes;
            begin = place.end;
        }
    }

private:
    // A zone is a record number, or, with this bit set, the index of an
    // unknown name.
    static constexpr std::size_t kUnknownBit = std::size_t{1} << (sizeof(std::size_t) * 8 - 1);
    static constexpr std::size_t kNoZone = static_cast<std::size_t>(-1);

    struct PendingPlace {
        std::size_t end;   // where its name ends in m_text
        std::size_t zone;  // as ZoneFor gives it
    };
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const {
            return static_cast<std::size_t>(Catalogue::Hash(name));
        }
    };
    struct Unknown {
        std::string name;
        std::size_t count = 0;
        std::size_t bytes = 0;
    };

    std::size_t ZoneFor(const LocationLine& line) {
        // Consecutive lines often name the same zone; the hashes tell most
        // other lines apart without comparing names.
        if (m_previous != kNoZone && line.hash == m_previousHash &&
            NameOfZone(m_previous) == line.zone) {
            return m_previous;
        }
        m_previous = m_zones.RecordNumberOf(line.zone, line.hash);
        if (m_previous == Catalogue::kNoRecord) {
            m_previous = UnknownZone(line.zone);
        }
        m_previousHash = line.hash;
        return m_previous;
    }

    std::size_t UnknownZone(std::string_view name) {
        if (const auto found = m_unknownIndex.find(name); found != m_unknownIndex.end()) {
            return kUnknownBit | found->second;
        }
        m_unknownIndex.emplace(std::string(name), m_unknown.size());
        m_unknown.push_back(Unknown{std::string(name)});
        return kUnknownBit | (m_unknown.size() - 1);
    }

    std::string_view NameOfZone(std::size_t zone) const {
        return (zone & kUnknownBit) != 0 ? std::string_view(m_unknown[zone & ~kUnknownBit].name)
                                         : std::string_view(m_zones.RecordAt(zone).m_strName);
    }

    // Only once the unknown names are resolved.
    std::size_t RecordOf(std::size_t zone) const {
        return (zone & kUnknownBit) != 0 ? m_unknownRecords[zone & ~kUnknownBit] : zone;
    }

    void Add(std::size_t zone, std::string_view place) {
        m_text.Append(place.data(), place.size());
        m_places.PushBack(PendingPlace{m_text.Size(), zone});
        // Two arrays, not one of pairs: the compiler would add a pair as one
        // vector built on the stack and wait to read it back.
        if ((zone & kUnknownBit) != 0) {
            m_unknown[zone & ~kUnknownBit].count += 1;
            m_unknown[zone & ~kUnknownBit].bytes += place.size();
        } else {
            m_counts[zone] += 1;
            m_bytes[zone] += place.size();
        }
    }

    static std::size_t SizeHint(std::uint64_t count) {
        return static_cast<std::size_t>(
            std::min<std::uint64_t>(count, std::numeric_limits<std::size_t>::max() / 16));
    }

    const Catalogue& m_zones;
    PagedArray<char> m_text;  // the place names back to back
    PagedArray<PendingPlace> m_places;
    std::vector<std::size_t> m_counts;  // places by record number
    std::vector<std::size_t> m_bytes;   // their bytes by record number
    std::vector<Unknown> m_unknown;     // in the order met
    std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>> m_unknownIndex;
    std::vector<std::size_t> m_unknownRecords;  // by unknown index, once resolved
    std::size_t m_previous = kNoZone;
    std::uint64_t m_previousHash = 0;
};

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

// Lays the places of all parts out, zone after zone, in one block that the
// zones then share: thousands of arrays of their own, each allocated and first
// touched apart, would cost more to set up than to fill. Within a zone the
// places of the first part come first, so file order holds; each part fills
// its own stretch of every zone, so two parts are laid out side by side.
void LayOutPlaces(const Catalogue& zones, std::span<const PartPlaces* const> parts) {
    const std::size_t records = zones.Size();
    // Each part's slices first hold its tallies, then where its places go.
    std::vector<std::vector<ZoneSlice>> slices(parts.size(), std::vector<ZoneSlice>(records));
    std::size_t count = 0;
    std::size_t totalBytes = 0;
    for (std::size_t part = 0; part < parts.size(); ++part) {
        parts[part]->ForEachTally([&](std::size_t record, std::size_t places, std::size_t bytes) {
            slices[part][record].count += places;
            slices[part][record].bytes += bytes;
            count += places;
            totalBytes += bytes;
        });
    }
    if (count == 0) {
        return;
    }
    // The ends of all places, zone after zone, then their names in the same
    // order.
    auto block = std::make_shared<platform::PageMemory>(count * sizeof(std::size_t) + totalBytes);
    auto* ends = static_cast<std::size_t*>(block->Data());
    char* text = reinterpret_cast<char*>(ends + count);
    for (std::size_t record = 0; record < records; ++record) {
        std::size_t before = 0;
        std::size_t bytesBefore = 0;
        for (std::vector<ZoneSlice>& partSlices : slices) {
            const ZoneSlice tally = partSlices[record];
            partSlices[record] = ZoneSlice{ends + before, text, 0, bytesBefore};
            before += tally.count;
            bytesBefore += tally.bytes;
        }
        ends += before;
        text += bytesBefore;
    }
    constexpr std::size_t kTwoThreadsFromPlaces = 100'000;
    if (parts.size() == 2 && count >= kTwoThreadsFromPlaces) {
        RunSideBySide([&] { parts[0]->LayOut(slices[0]); }, [&] { parts[1]->LayOut(slices[1]); });
    } else {
        for (std::size_t part = 0; part < parts.size(); ++part) {
            parts[part]->LayOut(slices[part]);
        }
    }
    for (std::size_t record = 0; record < records; ++record) {
        const ZoneSlice& first = slices.front()[record];
        const ZoneSlice& last = slices.back()[record];
        const std::size_t places = static_cast<std::size_t>(last.ends - first.ends) + last.count;
        if (places != 0) {
            zones.RecordAt(record).m_places.Share(block, std::string_view(first.text, last.bytes),
                                                  std::span(first.ends, places));
        }
    }
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
constexpr std::uint64_t kTwoThreadsFromBytes = std::uint64_t{4} << 20;

bool ReadLocations(Catalogue& zones, platform::SharedReadFile& file) {
    const std::uint64_t size = file.SizeWhenOpened();
    try {
        const std::optional<std::uint64_t> split =
            size >= kTwoThreadsFromBytes ? LineStartFrom(file, size / 2) : std::nullopt;
        if (!split) {
            PartPlaces whole(zones, size);
            ReadPart(file, whole);
            whole.ResolveUnknownNames(zones);
            const PartPlaces* const parts[] = {&whole};
            LayOutPlaces(zones, parts);
            return true;
        }
        PartPlaces first(zones, *split);
        PartPlaces second(zones, size - *split);
        bool textEndedInFirst = false;
        RunSideBySide(
            [&] {
                FileRange range(file, 0, *split);
                textEndedInFirst = ReadPart(range, first);
            },
            [&] {
                FileRange range(file, *split, FileRange::kToTheEnd);
                ReadPart(range, second);
            });
        first.ResolveUnknownNames(zones);
        if (textEndedInFirst) {  // a Ctrl-Z in the first half hides the second
            const PartPlaces* const parts[] = {&first};
            LayOutPlaces(zones, parts);
            return true;
        }
        second.ResolveUnknownNames(zones);
        const PartPlaces* const parts[] = {&first, &second};
        LayOutPlaces(zones, parts);
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
