#include "places/PlaceList.h"

#include <QLocale>
#include <algorithm>
#include <cstdint>
#include <numeric>
#include <optional>
#include <string_view>

namespace {

// A place name before its text is made: its UTF-8 bytes and its zone.
struct Source {
    std::string_view utf8;
    const CTimeZone* zone;  // null for "UTC"
};

std::vector<Source> SourcesInCatalogueOrder(const Catalogue& zones) {
    std::size_t count = 1;
    zones.ForEach([&count](const CTimeZone& zone) { count += zone.m_places.GetCount(); });
    std::vector<Source> sources;
    sources.reserve(count);
    zones.ForEach([&sources](const CTimeZone& zone) {
        for (std::string_view place : zone.m_places) {
            sources.push_back({place, &zone});
        }
    });
    sources.push_back({PlaceList::kUtcEntry, nullptr});
    return sources;
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
bool IsPlainCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ';
}

bool IsPlainName(std::string_view utf8) {
    return std::all_of(utf8.begin(), utf8.end(), IsPlainCharacter);
}

unsigned char Folded(char c) {
    return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
}

// The first eight folded bytes as one number, so most comparisons of plain
// names end in one integer comparison.
std::uint64_t LeadingFoldedBytes(std::string_view plain) {
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        prefix = (prefix << 8) | (i < plain.size() ? Folded(plain[i]) : 0);
    }
    return prefix;
}

bool PlainLess(std::string_view left, std::string_view right) {
    return std::lexicographical_compare(left.begin(), left.end(), right.begin(), right.end(),
                                        [](char a, char b) { return Folded(a) < Folded(b); });
}

// Where two names first differ, letter case ignored, in a plain character on
// both sides, those two characters order the names whatever else either one
// holds: what comes before is the same in both, and a difference in letters
// decides before any accent or case after it does. Empty when the collator
// has to decide.
std::optional<bool> LessByFirstDifference(std::string_view left, std::string_view right) {
    const auto [inLeft, inRight] =
        std::mismatch(left.begin(), left.end(), right.begin(), right.end(),
                      [](char a, char b) { return Folded(a) == Folded(b); });
    if (inLeft == left.end() || inRight == right.end() || !IsPlainCharacter(*inLeft) ||
        !IsPlainCharacter(*inRight)) {
        return std::nullopt;
    }
    return Folded(*inLeft) < Folded(*inRight);
}

struct SortItem {
    std::uint64_t prefix;
    std::uint32_t index;
    bool plain;
};

// The entries in the order people expect. Plain names are compared by their
// folded bytes where the collator's language allows, the others by the
// collator. The texts are made in catalogue order, which reads the catalogue
// front to back, and then moved into place.
std::vector<PlaceList::Entry> SortedEntries(const std::vector<Source>& sources,
                                            const QCollator& collator) {
    const bool bytesWillDo = CollatesPlainNamesAsBytes(collator.locale()) &&
                             collator.caseSensitivity() == Qt::CaseInsensitive &&
                             !collator.ignorePunctuation() && !collator.numericMode();
    std::vector<PlaceList::Entry> entries;
    entries.reserve(sources.size());
    std::vector<SortItem> items(sources.size());
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const std::string_view utf8 = sources[i].utf8;
        entries.push_back(
            {QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())), sources[i].zone});
        const bool plain = bytesWillDo && IsPlainName(utf8);
        items[i] =
            SortItem{plain ? LeadingFoldedBytes(utf8) : 0, static_cast<std::uint32_t>(i), plain};
    }
    std::stable_sort(items.begin(), items.end(), [&](const SortItem& left, const SortItem& right) {
        if (left.plain && right.plain) {
            return left.prefix != right.prefix
                       ? left.prefix < right.prefix
                       : PlainLess(sources[left.index].utf8, sources[right.index].utf8);
        }
        if (bytesWillDo) {
            if (const std::optional<bool> less =
                    LessByFirstDifference(sources[left.index].utf8, sources[right.index].utf8)) {
                return *less;
            }
        }
        return collator.compare(entries[left.index].text, entries[right.index].text) < 0;
    });
    std::vector<PlaceList::Entry> sorted;
    sorted.reserve(entries.size());
    for (const SortItem& item : items) {
        sorted.push_back(std::move(entries[item.index]));
    }
    return sorted;
}

}  // namespace

PlaceList PlaceList::FromCatalogue(const Catalogue& zones, const QCollator& collator) {
    PlaceList list;
    list.m_entries = SortedEntries(SourcesInCatalogueOrder(zones), collator);
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
