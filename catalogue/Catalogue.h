// The catalogue: every zone by its exact name, owning the records that the
// place lists and the result computation point to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/TimeZone.h"

class Catalogue {
public:
    Catalogue() = default;
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;
    ~Catalogue() = default;

    // The record named exactly `name` (bytes, case and blanks count), or null.
    CTimeZone* Lookup(std::string_view name) const;

    // The name's hash for RecordNumberOf, and a hint to fetch the memory that
    // lookup will read: a caller with many names to look up asks for all of
    // them first, so that the memory is read in parallel instead of one name
    // at a time.
    static std::uint64_t Hash(std::string_view name);
    void PrefetchLookup(std::uint64_t hash) const;

    // Records are numbered 0 to Size() - 1 in the order they were inserted; a
    // record keeps its number until the catalogue is cleared, so a caller can
    // keep figures per zone in a plain array. kNoRecord when no record has
    // the name.
    static constexpr std::size_t kNoRecord = static_cast<std::size_t>(-1);
    std::size_t RecordNumberOf(std::string_view name, std::uint64_t hash) const;
    CTimeZone& RecordAt(std::size_t number) const { return *m_records.at(number); }

    // Inserts the record under its m_strName. A name already present keeps its
    // first record: the new one is freed and null is returned.
    CTimeZone* Insert(std::unique_ptr<CTimeZone> zone);

    // Frees every record and releases the table.
    void ClearCatalogue();

    std::size_t Size() const { return m_records.size(); }
    bool Empty() const { return m_records.empty(); }

    // Visits every record once, in the catalogue's own order (that of the hash
    // table: neither file order nor alphabetical).
    template <typename Visit>
    void ForEach(Visit&& visit) const {
        for (const Slot& slot : m_slots) {
            if (!slot.Empty()) {
                visit(static_cast<const CTimeZone&>(*m_records[slot.record]));
            }
        }
    }
    template <typename Visit>
    void ForEach(Visit&& visit) {
        for (const Slot& slot : m_slots) {
            if (!slot.Empty()) {
                visit(*m_records[slot.record]);
            }
        }
    }

private:
    // Open addressing with linear probing: the loader looks a zone up for every
    // place line, and a small flat table of hashes keeps those lookups in
    // cache. A slot holds only the hash and the record's number; the names
    // are kept back to back in one buffer, so that confirming a hash match
    // reads memory near the table rather than the record.
    struct Slot {
        std::uint64_t hash = 0;
        std::size_t record = kNoRecord;
        bool Empty() const { return record == kNoRecord; }
    };

    std::size_t FindSlot(std::string_view name, std::uint64_t hash) const;
    void Grow();

    std::string_view NameOf(std::size_t record) const {
        const std::size_t begin = record == 0 ? 0 : m_nameEnds[record - 1];
        return std::string_view(m_names).substr(begin, m_nameEnds[record] - begin);
    }

    std::vector<Slot> m_slots;  // size is zero or a power of two
    std::string m_names;
    std::vector<std::size_t> m_nameEnds;  // by record number
    std::vector<std::unique_ptr<CTimeZone>> m_records;
};
