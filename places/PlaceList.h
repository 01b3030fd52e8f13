// The entries of one place list: every place of every zone plus "UTC", sorted
// for people, each bound to its zone record, with the list's prefix search and
// the search for suggestions while a place is typed.
#pragma once

#include <QCollator>
#include <QString>
#include <QStringView>
#include <utility>
#include <vector>

#include "catalogue/Catalogue.h"

class PlaceList {
public:
    static constexpr const char* kUtcEntry = "UTC";

    PlaceList() = default;

    // Every place name of every zone, in the catalogue's order and each zone's
    // place order, then "UTC"; sorted in the order of `collator`, entries that
    // collate equal keeping that order. Names are read as UTF-8; bytes that
    // are not UTF-8 show as replacement characters. The catalogue must
    // outlive the list. Throws std::bad_alloc when memory runs out.
    static PlaceList FromCatalogue(const Catalogue& zones, const QCollator& collator);

    // The same with the user's locale, letter case ignored.
    static PlaceList FromCatalogue(const Catalogue& zones);

    int Count() const { return static_cast<int>(m_entries.size()); }
    bool Contains(int position) const { return position >= 0 && position < Count(); }
    QString Text(int position) const { return m_entries.at(Index(position)).text; }
    const CTimeZone* Zone(int position) const { return m_entries.at(Index(position)).zone; }

    // The first entry that begins with `prefix`, letter case ignored, looking
    // at the positions after `startAfter` to the end and then from the top
    // (-1 searches the whole list from the top); -1 when none does.
    int FindPrefix(QStringView prefix, int startAfter) const;

    // What a list does with text typed into it when it loses the focus: the
    // first entry beginning with the text, searched after position 0 (so
    // position 0 comes last); failing that, the same with the text's first
    // character alone; -1 when neither finds an entry.
    int FindTypedPlace(QStringView typed) const;

    // The first entry whose whole text equals `text`, letter case ignored.
    int FindExact(QStringView text) const;

    // The entries whose text, or a later word of it, begins with `typed`,
    // letter case and accents ignored, best first: those whose whole text
    // begins with it, then the others, each in list order. Leading blanks are
    // not part of the text; a trailing one is (it ends a word). None for a
    // text of blanks only.
    std::vector<int> FindSuggestions(QStringView typed) const;

private:
    struct Entry {
        QString text;
        const CTimeZone* zone;  // null for "UTC"
    };

    static std::size_t Index(int position) { return static_cast<std::size_t>(position); }
    static char32_t FoldedFirstCharacter(QStringView text);
    void IndexFirstCharacters();
    void FoldTexts();

    QStringView FoldedText(int position) const;

    std::vector<Entry> m_entries;
    // Every entry's text folded for suggestions, one after another in list
    // order so that a search reads them front to back, and where each begins
    // (and, last, where the last ends). Made with the list: on the first
    // keystroke it would hold up a list of 200,000 places for tens of
    // milliseconds.
    QString m_folded;
    std::vector<qsizetype> m_foldedStarts;
    // (folded first character, position), sorted: the candidates of a prefix
    // search, so that a search reads only the entries that can match.
    std::vector<std::pair<char32_t, int>> m_byFirstCharacter;
};
