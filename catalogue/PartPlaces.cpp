#include "catalogue/PartPlaces.h"

#include <algorithm>
#include <limits>
#include <memory>

#include "catalogue/RunSideBySide.h"
#include "catalogue/ShortBytes.h"
#include "platform/PageMemory.h"

namespace {

// A zone is a record number, or, with this bit set, the index of an unknown
// name.
constexpr std::size_t kUnknownBit = std::size_t{1} << (sizeof(std::size_t) * 8 - 1);
constexpr std::size_t kNoZone = static_cast<std::size_t>(-1);

std::size_t SizeHint(std::uint64_t count) {
    return static_cast<std::size_t>(
        std::min<std::uint64_t>(count, std::numeric_limits<std::size_t>::max() / 16));
}

}  // namespace

// A line holds at least a zone, a comma, a place and its line feed.
PartPlaces::PartPlaces(const Catalogue& zones, std::uint64_t sizeHint)
    : m_zones(zones),
      m_text(SizeHint(sizeHint)),
      m_places(SizeHint(sizeHint / 4 + 1)),
      m_counts(zones.Size()),
      m_bytes(zones.Size()),
      m_previous(kNoZone) {}

// The slots of every lookup in the batch are asked for first, then the
// lookups run, mostly on memory already fetched. In a file whose lines name
// zones in no order, a lookup at a time would wait for memory on every line.
void PartPlaces::Read(LocationBatch& batch) {
    const std::span<LocationLine> lines = batch.Lines();
    for (LocationLine& line : lines) {
        line.hash = Catalogue::Hash(line.zone);
        m_zones.PrefetchLookup(line.hash);
    }
    for (const LocationLine& line : lines) {
        Add(ZoneFor(line), line.place);
    }
}

void PartPlaces::ResolveUnknownNames(Catalogue& zones) {
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

void PartPlaces::LayOut(std::vector<ZoneSlice>& slices) const {
    // The zones come in any order; asking for the next zones' slices a few
    // places ahead lets those reads overlap.
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

std::size_t PartPlaces::ZoneFor(const LocationLine& line) {
    // Consecutive lines often name the same zone; the hashes tell most other
    // lines apart without comparing names.
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

std::size_t PartPlaces::UnknownZone(std::string_view name) {
    if (const auto found = m_unknownIndex.find(name); found != m_unknownIndex.end()) {
        return kUnknownBit | found->second;
    }
    m_unknownIndex.emplace(std::string(name), m_unknown.size());
    m_unknown.push_back(Unknown{std::string(name)});
    return kUnknownBit | (m_unknown.size() - 1);
}

std::string_view PartPlaces::NameOfZone(std::size_t zone) const {
    return (zone & kUnknownBit) != 0 ? std::string_view(m_unknown[zone & ~kUnknownBit].name)
                                     : std::string_view(m_zones.RecordAt(zone).m_strName);
}

std::size_t PartPlaces::RecordOf(std::size_t zone) const {
    return (zone & kUnknownBit) != 0 ? m_unknownRecords[zone & ~kUnknownBit] : zone;
}

void PartPlaces::Add(std::size_t zone, std::string_view place) {
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

// One block for all zones: thousands of arrays of their own, each allocated
// and first touched apart, would cost more to set up than to fill. Each part
// fills its own stretch of every zone, so two parts are laid out side by side.
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
