#include "places/PlaceList.h"

#include <QLocale>
#include <algorithm>
#include <string_view>

#include "places/FoldedText.h"

namespace {

QString Utf16(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

enum class Match { None, WholeText, LaterWord };

Match MatchOf(QStringView text, QStringView folded) {
    if (text.startsWith(folded)) {
        return Match::WholeText;
    }
    for (qsizetype at = text.indexOf(folded, 1); at > 0; at = text.indexOf(folded, at + 1)) {
        if (!text[at - 1].isLetterOrNumber()) {
            return Match::LaterWord;
        }
    }
    return Match::None;
}

}  // namespace

PlaceList PlaceList::FromCatalogue(const Catalogue& zones, const QCollator& collator) {
    std::vector<Entry> added;
    zones.ForEach([&added](const CTimeZone& zone) {
        for (std::string_view place : zone.m_places) {
            added.push_back({Utf16(place), &zone});
        }
    });
    added.push_back({QString::fromLatin1(kUtcEntry), nullptr});

    std::stable_sort(added.begin(), added.end(),
                     [&collator](const Entry& left, const Entry& right) {
                         return collator.compare(left.text, right.text) < 0;
                     });
    PlaceList list;
    list.m_entries = std::move(added);
    list.IndexFirstCharacters();
    list.FoldTexts();
    return list;
}

void PlaceList::FoldTexts() {
    m_foldedStarts.reserve(m_entries.size() + 1);
    for (const Entry& entry : m_entries) {
        m_foldedStarts.push_back(m_folded.size());
        AppendFolded(entry.text, m_folded);
    }
    m_foldedStarts.push_back(m_folded.size());
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
    m_byFirstCharacter.reserve(m_entries.size());
    for (int position = 0; position < Count(); ++position) {
        m_byFirstCharacter.emplace_back(FoldedFirstCharacter(m_entries[Index(position)].text),
                                        position);
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
        return m_entries[Index(candidate.second)].text.startsWith(prefix, Qt::CaseInsensitive);
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
        if (m_entries[Index(position)].text.compare(text, Qt::CaseInsensitive) == 0) {
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

QStringView PlaceList::FoldedText(int position) const {
    const qsizetype start = m_foldedStarts[Index(position)];
    return QStringView(m_folded).sliced(start, m_foldedStarts[Index(position) + 1] - start);
}

std::vector<int> PlaceList::FindSuggestions(QStringView typed) const {
    while (!typed.isEmpty() && typed.front().isSpace()) {
        typed = typed.sliced(1);
    }
    const QString folded = Folded(typed);
    if (folded.isEmpty()) {
        return {};
    }
    std::vector<int> found;
    std::vector<int> byLaterWord;
    for (int position = 0; position < Count(); ++position) {
        switch (MatchOf(FoldedText(position), folded)) {
            case Match::WholeText: found.push_back(position); break;
            case Match::LaterWord: byLaterWord.push_back(position); break;
            case Match::None: break;
        }
    }
    found.insert(found.end(), byLaterWord.begin(), byLaterWord.end());
    return found;
}
