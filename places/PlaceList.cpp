#include "places/PlaceList.h"

#include <QLocale>
#include <algorithm>
#include <cstdint>
#include <numeric>
#include <optional>
#include <string>

namespace {

std::vector<PlaceList::Entry> EntriesInCatalogueOrder(const Catalogue& zones) {
    std::size_t count = 1;
    zones.ForEach([&count](const CTimeZone& zone) { count += zone.m_places.GetCount(); });
    std::vector<PlaceList::Entry> entries;
    entries.reserve(count);
    zones.ForEach([&entries](const CTimeZone& zone) {
        for (std::string_view place : zone.m_places) {
            entries.push_back(
                {QString::fromUtf8(place.data(), static_cast<qsizetype>(place.size())), &zone});
        }
    });
    entries.push_back({QString::fromLatin1(PlaceList::kUtcEntry), nullptr});
    return entries;
}

// In the root collation and in the languages below, names made only of ASCII
// letters, digits and blanks collate, letter case ignored, exactly as their
// lower-cased bytes compare: blanks before digits before letters, letters in
// alphabetical order. Most place names are such names, and comparing their
// bytes is many times cheaper than collating. Other languages treat some of
// these letters specially (Czech "ch", Danish "aa", Finnish "v" and "w",
// Turkish dotless "i", ...), so there every name goes to the collator.
bool CollatesPlainNamesAsBytes(const QLocale& locale) {
    switch (locale.language()) {
        case QLocale::C:
        case QLocale::English:
        case QLocale::German:
        case QLocale::French:
        case QLocale::Italian:
        case QLocale::Portuguese:
        case QLocale::Dutch:
        case QLocale::Spanish:
        case QLocale::Russian:
        case QLocale::Ukrainian:
        case QLocale::Greek:
        case QLocale::Japanese:
        case QLocale::Chinese:
        case QLocale::Korean:
        case QLocale::Arabic:
        case QLocale::Hebrew:
        case QLocale::Hindi: return true;
        default: return false;
    }
}
std::optional<std::string> PlainFoldedName(const QString& text) {
    std::string folded;
    folded.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit >= 'A' && unit <= 'Z') {
            folded += static_cast<char>(unit - 'A' + 'a');
        } else if ((unit >= 'a' && unit <= 'z') || (unit >= '0' && unit <= '9') || unit == ' ') {
            folded += static_cast<char>(unit);
        } else {
            return std::nullopt;
        }
    }
    return folded;
}

// What the sort compares: for a plain name its first eight folded bytes as
// one number (most comparisons end there) and the whole folded name.
struct SortItem {
    std::uint64_t prefix;
    std::uint32_t index;
    bool plain;
};

std::uint64_t LeadingBytes(const std::string& folded) {
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        prefix = (prefix << 8) | (i < folded.size() ? static_cast<unsigned char>(folded[i]) : 0);
    }
    return prefix;
}

void SortForPeople(std::vector<PlaceList::Entry>& entries, const QCollator& collator) {
    const bool bytesWillDo = CollatesPlainNamesAsBytes(collator.locale()) &&
                             collator.caseSensitivity() == Qt::CaseInsensitive &&
                             !collator.ignorePunctuation() && !collator.numericMode();
    std::vector<std::string> folded(entries.size());
    std::vector<SortItem> items(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        auto plain = bytesWillDo ? PlainFoldedName(entries[i].text) : std::nullopt;
        items[i] = SortItem{plain ? LeadingBytes(*plain) : 0, static_cast<std::uint32_t>(i),
                            plain.has_value()};
        if (plain) {
            folded[i] = std::move(*plain);
        }
    }
    std::stable_sort(items.begin(), items.end(), [&](const SortItem& left, const SortItem& right) {
        if (left.plain && right.plain) {
            return left.prefix != right.prefix ? left.prefix < right.prefix
                                               : folded[left.index] < folded[right.index];
        }
        return collator.compare(entries[left.index].text, entries[right.index].text) < 0;
    });
    std::vector<PlaceList::Entry> sorted;
    sorted.reserve(entries.size());
    for (const SortItem& item : items) {
        sorted.push_back(std::move(entries[item.index]));
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
