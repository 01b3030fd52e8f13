// The catalogue: every zone by its exact name, owning the records that the
// place lists and the result computation point to.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "catalogue/TimeZone.h"

class Catalogue {
public:
    // The record named exactly `name` (bytes, case and blanks count), or null.
    CTimeZone* Lookup(std::string_view name) const;

    // Inserts the record under its m_strName. A name already present keeps its
    // first record: the new one is freed and null is returned.
    CTimeZone* Insert(std::unique_ptr<CTimeZone> zone);

    // Frees every record and releases the table.
    void ClearCatalogue();

    std::size_t Size() const { return m_zones.size(); }
    bool Empty() const { return m_zones.empty(); }

    // Visits every record once, in the catalogue's own order (that of the hash
    // table: neither file order nor alphabetical).
    template <typename Visit>
    void ForEach(Visit&& visit) const {
        for (const auto& [name, zone] : m_zones) {
            visit(static_cast<const CTimeZone&>(*zone));
        }
    }
    template <typename Visit>
    void ForEach(Visit&& visit) {
        for (auto& [name, zone] : m_zones) {
            visit(*zone);
        }
    }

private:
    // Lets Lookup take a string_view without building a std::string: the
    // loader looks a zone up for every place line.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const {
            return std::hash<std::string_view>{}(name);
        }
    };

    std::unordered_map<std::string, std::unique_ptr<CTimeZone>, NameHash, std::equal_to<>> m_zones;
};
