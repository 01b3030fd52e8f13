#include "catalogue/Catalogue.h"

CTimeZone* Catalogue::Lookup(std::string_view name) const {
    const auto found = m_zones.find(name);
    return found == m_zones.end() ? nullptr : found->second.get();
}

CTimeZone* Catalogue::Insert(std::unique_ptr<CTimeZone> zone) {
    const auto [where, inserted] = m_zones.try_emplace(zone->m_strName, std::move(zone));
    return inserted ? where->second.get() : nullptr;
}

void Catalogue::ClearCatalogue() {
    // A fresh map rather than clear(): clearing keeps the bucket table.
    decltype(m_zones)().swap(m_zones);
}
