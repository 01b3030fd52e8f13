// Gathering the places of a locations file, a part of the file per thread,
// and laying them out for the zones once every part is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/LocationBatch.h"
#include "catalogue/PagedArray.h"

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
    // memory.
    PartPlaces(const Catalogue& zones, std::uint64_t sizeHint);

    // Finds the zone of every line of the batch and keeps its place.
    void Read(LocationBatch& batch);

    // Gives each unknown name its record: the one an earlier part made, or a
    // new placeholder, in the order this part met the names.
    void ResolveUnknownNames(Catalogue& zones);

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

    // Copies the places into their zones' slices, in file order, once the
    // unknown names are resolved.
    void LayOut(std::vector<ZoneSlice>& slices) const;

private:
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

    std::size_t ZoneFor(const LocationLine& line);
    std::size_t UnknownZone(std::string_view name);
    std::string_view NameOfZone(std::size_t zone) const;
    std::size_t RecordOf(std::size_t zone) const;
    void Add(std::size_t zone, std::string_view place);

    const Catalogue& m_zones;
    PagedArray<char> m_text;  // the place names back to back
    PagedArray<PendingPlace> m_places;
    std::vector<std::size_t> m_counts;  // places by record number
    std::vector<std::size_t> m_bytes;   // their bytes by record number
    std::vector<Unknown> m_unknown;     // in the order met
    std::unordered_map<std::string, std::size_t, NameHash, std::equal_to<>> m_unknownIndex;
    std::vector<std::size_t> m_unknownRecords;  // by unknown index, once resolved
    std::size_t m_previous;
    std::uint64_t m_previousHash = 0;
};

// Lays the places of all parts out, zone after zone, in one block that the
// zones then share, once their unknown names are resolved. Within a zone the
// places of the first part come first, so file order holds.
void LayOutPlaces(const Catalogue& zones, std::span<const PartPlaces* const> parts);
