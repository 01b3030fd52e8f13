#include "places/PlaceList.h"

#include <QLocale>
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace {

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

// A table, since every byte of every name is looked up when the list is made.
constexpr std::array<bool, 256> kPlainCharacters = [] {
    std::array<bool, 256> plain{};
    for (int c = 0; c < 256; ++c) {
        plain[static_cast<std::size_t>(c)] =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ';
    }
    return plain;
}();

bool IsPlainCharacter(char c) {
    return kPlainCharacters[static_cast<unsigned char>(c)];
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

// Plain names compared by their folded bytes: negative, zero or positive.
int ComparePlain(std::string_view left, std::string_view right) {
    const auto [inLeft, inRight] =
        std::mismatch(left.begin(), left.end(), right.begin(), right.end(),
                      [](char a, char b) { return Folded(a) == Folded(b); });
    if (inLeft == left.end() || inRight == right.end()) {
        return (inLeft == left.end() ? 0 : 1) - (inRight == right.end() ? 0 : 1);
    }
    return Folded(*inLeft) < Folded(*inRight) ? -1 : 1;
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

QString Utf16(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

const std::vector<QString> kTextsMadeAsNeeded;

// Selecting one entry reads its part of the list about twice; sorting reads
// the whole list about log2(count) times. The window's first look needs two
// entries, the base and the remote place; past this many, sorting is cheaper.
constexpr std::size_t kMostSelections = 8;

}  // namespace

PlaceList PlaceList::FromCatalogue(const Catalogue& zones, const QCollator& collator) {
    PlaceList list;
    list.m_collator = collator;
    list.m_plainByBytes = CollatesPlainNamesAsBytes(collator.locale()) &&
                          collator.caseSensitivity() == Qt::CaseInsensitive &&
                          !collator.ignorePunctuation() && !collator.numericMode();
    std::size_t count = 1;
    zones.ForEach([&count](const CTimeZone& zone) { count += zone.m_places.GetCount(); });
    list.m_names.reserve(count);
    const auto add = [&list](std::string_view utf8, const CTimeZone* zone) {
        const bool plain = list.m_plainByBytes && IsPlainName(utf8);
        list.m_names.push_back({utf8, zone, plain ? LeadingFoldedBytes(utf8) : 0,
                                static_cast<std::uint32_t>(list.m_names.size()), plain});
    };
    zones.ForEach([&add](const CTimeZone& zone) {
        for (std::string_view place : zone.m_places) {
            add(place, &zone);
        }
    });
    add(kUtcEntry, nullptr);
    return list;
}

PlaceList PlaceList::FromCatalogue(const Catalogue& zones) {
    QCollator collator(QLocale::system());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return FromCatalogue(zones, collator);
}

// The order people expect: plain names by their folded bytes where the
// collator's language allows, the others by the collator; names that come
// out equal in the order they were added.
bool PlaceList::Less(const Name& left, const Name& right, const std::vector<QString>& texts) const {
    // Most pairs of plain names differ in their first eight letters.
    if (left.plain && right.plain && left.prefix != right.prefix) {
        return left.prefix < right.prefix;
    }
    return LessBeyondPrefix(left, right, texts);
}

bool PlaceList::LessBeyondPrefix(const Name& left, const Name& right,
                                 const std::vector<QString>& texts) const {
    int order = 0;
    if (left.plain && right.plain) {
        order = ComparePlain(left.utf8, right.utf8);
    } else if (const std::optional<bool> less =
                   m_plainByBytes ? LessByFirstDifference(left.utf8, right.utf8) : std::nullopt) {
        return *less;
    } else if (texts.empty()) {
        order = m_collator.compare(Utf16(left.utf8), Utf16(right.utf8));
    } else {
        order = m_collator.compare(texts[left.added], texts[right.added]);
    }
    return order != 0 ? order < 0 : left.added < right.added;
}

QString PlaceList::Text(int position) const {
    const Name& name = Placed(position);
    return m_prepared ? m_texts[Index(position)] : Utf16(name.utf8);
}

const PlaceList::Name& PlaceList::Placed(int position) const {
    if (Contains(position) && !m_prepared &&
        !std::binary_search(m_selected.begin(), m_selected.end(), position)) {
        if (m_selected.size() < kMostSelections) {
            Select(position);
        } else {
            Prepare();
        }
    }
    return m_names.at(Index(position));
}

// Brings the entry of `position` into place. It lies between the entries
// already selected on either side of it, so only that stretch is read, and
// those entries stay where they are.
void PlaceList::Select(int position) const {
    const auto after = std::upper_bound(m_selected.begin(), m_selected.end(), position);
    const int first = after == m_selected.begin() ? 0 : *std::prev(after) + 1;
    const int end = after == m_selected.end() ? Count() : *after;
    std::nth_element(m_names.begin() + first, m_names.begin() + position, m_names.begin() + end,
                     [this](const Name& left, const Name& right) {
                         return Less(left, right, kTextsMadeAsNeeded);
                     });
    m_selected.insert(after, position);
}

void PlaceList::Prepare() const {
    if (m_prepared) {
        return;
    }
    // The texts first, by catalogue order: the sort may need them. Then they
    // are put in list order, which is the order searches read them in.
    std::vector<QString> byAddition(m_names.size());
    for (const Name& name : m_names) {
        byAddition[name.added] = Utf16(name.utf8);
    }
    std::sort(m_names.begin(), m_names.end(),
              [this, &byAddition](const Name& left, const Name& right) {
                  return Less(left, right, byAddition);
              });
    m_texts.reserve(m_names.size());
    for (const Name& name : m_names) {
        m_texts.push_back(std::move(byAddition[name.added]));
    }
    m_selected.clear();
    m_prepared = true;
    IndexFirstCharacters();
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

void PlaceList::IndexFirstCharacters() const {
    m_byFirstCharacter.clear();
    m_byFirstCharacter.reserve(m_names.size());
    for (int position = 0; position < Count(); ++position) {
        m_byFirstCharacter.emplace_back(FoldedFirstCharacter(m_texts[Index(position)]), position);
    }
    std::sort(m_byFirstCharacter.begin(), m_byFirstCharacter.end());
}

int PlaceList::FindPrefix(QStringView prefix, int startAfter) const {
    Prepare();
    if (m_names.empty()) {
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
        return m_texts[Index(candidate.second)].startsWith(prefix, Qt::CaseInsensitive);
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
