#include "places/PlaceList.h"

#include <QLocale>
#include <algorithm>
#include <numeric>

namespace {

std::vector<PlaceList::Entry> EntriesInCatalogueOrder(const Catalogue& zones) {
    std::vector<PlaceList::Entry> entries;
    zones.ForEach([&entries](const CTimeZone& zone) {
        for (std::string_view place : zone.m_places) {
            entries.push_back(
                {QString::fromUtf8(place.data(), static_cast<qsizetype>(place.size())), &zone});
        }
    });
    entries.push_back({QString::fromLatin1(PlaceList::kUtcEntry), nullptr});
    return entries;
}

// Sorting by precomputed collation keys compares bytes instead of running the
// collation algorithm n log n times.
void SortForPeople(std::vector<PlaceList::Entry>& entries, const QCollator& collator) {
    std::vector<QCollatorSortKey> keys;
    keys.reserve(entries.size());
    for (const PlaceList::Entry& entry : entries) {
        keys.push_back(collator.sortKey(entry.text));
    }
    std::vector<std::size_t> order(entries.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&keys](std::size_t left, std::size_t right) {
        return keys[left].compare(keys[right]) < 0;
    });
    std::vector<PlaceList::Entry> sorted;
    sorted.reserve(entries.size());
    for (std::size_t index : order) {
        sorted.push_back(std::move(entries[index]));
    }
    entries.swap(sorted);
}

}  // namespace

PlaceList PlaceList::FromCatalogue(const Catalogue& zones, const QCollator& collator) {
    PlaceList list;
    list.m_entries = EntriesInCatalogueOrder(zones);
    SortForPeople(list.m_entries, collator);
    list.IndexFirstCharacters();
    return list;
}

PlaceList PlaceList::FromCatalogue(const Catalogue& zones) {
    QCollator collator(QLocale::system());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return FromCatalogue(zones, collator);
}

char32_t PlaceList::FoldedFirstCharacter(QStringView text) {
    if (text.isEmpty()) {
        return 0;
    }
    char32_t first = text.front().unicode();
    if (text.front().isHighSurrogate() && text.size() > 1 && text[1].isLowSurrogate()) {
        first = QChar::surrogateToUcs4(text[0], text[1]);
    }
    return QChar::toCaseFolded(first);
}

void PlaceList::IndexFirstCharacters() {
    m_byFirstCharacter.clear();
    m_byFirstCharacter.reserve(m_entries.size());
    for (int position = 0; position < Count(); ++position) {
        m_byFirstCharacter.emplace_back(FoldedFirstCharacter(Text(position)), position);
    }
    std::sort(m_byFirstCharacter.begin(), m_byFirstCharacter.end());
}

int PlaceList::FindPrefix(QStringView prefix, int startAfter) const {
    if (m_entries.empty()) {
        return -1;
    }
    if (prefix.isEmpty()) {
        return Contains(startAfter + 1) ? startAfter + 1 : 0;
    }
    const char32_t key = FoldedFirstCharacter(prefix);
    const auto bucketBegin = std::lower_bound(m_byFirstCharacter.begin(), m_byFirstCharacter.end(),
                                              std::pair<char32_t, int>(key, -1));
    const auto bucketEnd = std::lower_bound(bucketBegin, m_byFirstCharacter.end(),
                                            std::pair<char32_t, int>(key + 1, -1));
    const auto firstAfter =
        std::lower_bound(bucketBegin, bucketEnd, std::pair<char32_t, int>(key, startAfter + 1));
    const auto matches = [this, prefix](const std::pair<char32_t, int>& candidate) {
        return Text(candidate.second).startsWith(prefix, Qt::CaseInsensitive);
    };
    if (const auto found = std::find_if(firstAfter, bucketEnd, matches); found != bucketEnd) {
        return found->second;
    }
    if (const auto found = std::find_if(bucketBegin, firstAfter, matches); found != firstAfter) {
        return found->second;
    }
    return -1;
}

int PlaceList::FindTypedPlace(QStringView typed) const {
    const int found = FindPrefix(typed, 0);
    if (found >= 0 || typed.isEmpty()) {
        return found;
    }
    const qsizetype firstLength = (typed.front().isHighSurrogate() && typed.size() > 1) ? 2 : 1;
    return FindPrefix(typed.first(firstLength), 0);
}

int PlaceList::FindExact(QStringView text) const {
    for (int position = FindPrefix(text, -1); position >= 0;) {
        if (Text(position).compare(text, Qt::CaseInsensitive) == 0) {
            return position;
        }
        const int next = FindPrefix(text, position);
        if (next <= position) {
            break;  // wrapped around: no further entry begins with the text
        }
        position = next;
    }
    return -1;
}
