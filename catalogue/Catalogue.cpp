#include "catalogue/Catalogue.h"

#include "catalogue/ShortBytes.h"

namespace {

// The bytes of a name shorter than eight, read in at most two loads.
std::uint64_t ShortNameWord(const char* bytes, std::size_t size) {
    if (size >= 4) {
        // Two four-byte reads that overlap when the name is shorter than
        // eight; the length, mixed in apart, tells the overlaps apart.
        return shortbytes::Load<std::uint32_t>(bytes) |
               (std::uint64_t{shortbytes::Load<std::uint32_t>(bytes + size - 4)} << 32);
    }
    if (size > 0) {
        const auto byte = [bytes](std::size_t at) {
            return std::uint64_t{static_cast<unsigned char>(bytes[at])};
        };
        return byte(0) | byte(size / 2) << 8 | byte(size - 1) << 16;
    }
    return 0;
}

}  // namespace

std::uint64_t Catalogue::Hash(std::string_view name) {
    // Eight bytes at a time, mixed by multiplication; zone names are short and
    // a table of a few thousand names needs no stronger hash. Every read is
    // of a fixed size, so that hashing a name calls nothing: the loader
    // hashes one name per place.
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;
    const auto mix = [](std::uint64_t hash, std::uint64_t word) {
        hash = (hash ^ word) * kMultiplier;
        return hash ^ (hash >> 29);
    };
    const char* bytes = name.data();
    const std::size_t size = name.size();
    std::uint64_t hash = size * kMultiplier;
    if (size < 8) {
        hash = mix(hash, ShortNameWord(bytes, size));
    } else {
        std::size_t at = 0;
        for (; at + 8 < size; at += 8) {
            hash = mix(hash, shortbytes::Load<std::uint64_t>(bytes + at));
        }
        // The last eight bytes, overlapping the chunk before when the size
        // is not a multiple of eight.
        hash = mix(hash, shortbytes::Load<std::uint64_t>(bytes + size - 8));
    }
    hash *= kMultiplier;
    return hash ^ (hash >> 32);
}

std::size_t Catalogue::FindSlot(std::string_view name, std::uint64_t hash) const {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t index = hash & mask;; index = (index + 1) & mask) {
        const Slot& slot = m_slots[index];
        if (slot.Empty() || (slot.hash == hash && shortbytes::Equal(NameOf(slot.record), name))) {
            return index;
        }
    }
}

CTimeZone* Catalogue::Lookup(std::string_view name) const {
    const std::size_t record = RecordNumberOf(name, Hash(name));
    return record == kNoRecord ? nullptr : m_records[record].get();
}

std::size_t Catalogue::RecordNumberOf(std::string_view name, std::uint64_t hash) const {
    if (m_slots.empty()) {
        return kNoRecord;
    }
    return m_slots[FindSlot(name, hash)].record;
}

void Catalogue::PrefetchLookup(std::uint64_t hash) const {
    // Only the slot: reading it here to find the name would wait for it.
    if (!m_slots.empty()) {
        __builtin_prefetch(&m_slots[hash & (m_slots.size() - 1)]);
    }
}

CTimeZone* Catalogue::Insert(std::unique_ptr<CTimeZone> zone) {
    // Keep the table at most half full so that probes stay short.
    if ((m_records.size() + 1) * 2 > m_slots.size()) {
        Grow();
    }
    const std::uint64_t hash = Hash(zone->m_strName);
    Slot& slot = m_slots[FindSlot(zone->m_strName, hash)];
    if (!slot.Empty()) {
        return nullptr;
    }
    slot = Slot{hash, m_records.size()};
    m_names += zone->m_strName;
    m_nameEnds.push_back(m_names.size());
    m_records.push_back(std::move(zone));
    return m_records.back().get();
}

void Catalogue::Grow() {
    std::vector<Slot> old(m_slots.empty() ? 16 : m_slots.size() * 2);
    old.swap(m_slots);
    const std::size_t mask = m_slots.size() - 1;
    for (const Slot& slot : old) {
        if (slot.Empty()) {
            continue;
        }
        std::size_t index = slot.hash & mask;
        while (!m_slots[index].Empty()) {
            index = (index + 1) & mask;
        }
        m_slots[index] = slot;
    }
}

void Catalogue::ClearCatalogue() {
    std::vector<Slot>().swap(m_slots);
    std::string().swap(m_names);
    std::vector<std::size_t>().swap(m_nameEnds);
    std::vector<std::unique_ptr<CTimeZone>>().swap(m_records);
}
