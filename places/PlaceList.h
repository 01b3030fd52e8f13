// The entries of one place list: every place of every zone plus "UTC", sorted
// for people, each bound to its zone record, with the list's prefix search.
#pragma once

#include <QCollator>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogue/Catalogue.h"

class PlaceList {
public:
    static constexpr const char* kUtcEntry = "UTC";

    PlaceList() = default;

    // Every place name of every zone, in the catalogue's order and each zone's
    // place order, then "UTC"; in the order of `collator`, entries that
    // collate equal keeping that order. Names are read as UTF-8; bytes that
    // are not UTF-8 show as replacement characters. The catalogue must
    // outlive the list.
    static PlaceList FromCatalogue(const Catalogue& zones, const QCollator& collator);

    // The same with the user's locale, letter case ignored.
    static PlaceList FromCatalogue(const Catalogue& zones);

    int Count() const { return static_cast<int>(m_names.size()); }
    bool Contains(int position) const { return position >= 0 && position < Count(); }
    QString Text(int position) const;
    const CTimeZone* Zone(int position) const { return Placed(position).zone; }

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

    // Sorts the whole list and makes every entry's text, which the first
    // search or the first look at many entries would otherwise do. A window
    // shows its first few entries without this, and calls it once it is on
    // screen.
    void Prepare() const;

private:
    struct Name {
        std::string_view utf8;
        const CTimeZone* zone;  // null for "UTC"
        std::uint64_t prefix;   // a plain name's first eight folded bytes
        std::uint32_t added;    // its place in catalogue order
        bool plain;             // may be ordered by its folded bytes
    };

    static std::size_t Index(int position) { return static_cast<std::size_t>(position); }
    static char32_t FoldedFirstCharacter(QStringView text);
    // `texts` holds every name's text by catalogue order, or nothing, and
    // then the texts the collator needs are made from the names.
    bool Less(const Name& left, const Name& right, const std::vector<QString>& texts) const;
    bool LessBeyondPrefix(const Name& left, const Name& right,
                          const std::vector<QString>& texts) const;
    const Name& Placed(int position) const;
    void Select(int position) const;
    void IndexFirstCharacters() const;

    QCollator m_collator;
    bool m_plainByBytes = false;  // the collator orders plain names as their bytes
    // Until the list is prepared, the names are in catalogue order but for
    // the positions that have been looked up, which hold their entries.
    // Looking an entry up changes nothing that the list shows.
    mutable std::vector<Name> m_names;
    mutable std::vector<int> m_selected;  // ascending
    mutable bool m_prepared = false;
    // Once prepared: every text, in list order, and (folded first
    // character, position) sorted, the candidates of a prefix search, so
    // that a search reads only the entries that can match.
    mutable std::vector<QString> m_texts;
    mutable std::vector<std::pair<char32_t, int>> m_byFirstCharacter;
};
