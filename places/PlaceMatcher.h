// Finding places as people type them: an entry matches when its text, or any
// word of it, begins with what was typed, letter case and accents ignored.
#pragma once

#include <QString>
#include <QStringView>
#include <vector>

#include "places/PlaceList.h"

class PlaceMatcher {
public:
    // The list must outlive the matcher.
    explicit PlaceMatcher(const PlaceList& list) : m_list(list) {}

    const PlaceList& List() const { return m_list; }

    // The positions of the entries that match `typed`, best first: those whose
    // whole text begins with it, then those with a later word that does, each
    // in list order. Leading blanks are not part of the text; a trailing one is
    // (it ends a word). None for a text of blanks only.
    std::vector<int> Find(QStringView typed);

    // `text` as matching compares it: accents dropped, letter case folded.
    static QString Folded(QStringView text);

private:
    static void AppendFolded(QStringView text, QString& folded);
    void FoldEntries();
    QStringView FoldedEntry(int position) const;

    const PlaceList& m_list;
    // Every entry's folded text, one after another, and where each begins
    // (one more than entries, for the end). Made by the first search, so that
    // starting the window costs nothing.
    QString m_folded;
    std::vector<qsizetype> m_starts;
};
