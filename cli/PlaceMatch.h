// How olvanta-cli finds the place a caller names. Unlike a list of the window
// it never falls back on a guess it does not report: a name that is no whole
// entry, no zone name and no entry's beginning matches nothing, and the
// caller gets close entries to try instead.
#pragma once

#include <QString>
#include <QStringList>
#include <string_view>

#include "catalogue/Catalogue.h"
#include "places/PlaceList.h"

struct PlaceMatch {
    enum class Kind {
        Entry,     // an entry's whole text, letter case ignored
        ZoneName,  // a zone's name exactly as the data files write it
        Prefix,    // the entry the list's prefix search finds; worth a note
        None,
    };

    Kind kind = Kind::None;
    const CTimeZone* zone = nullptr;  // null for "UTC" and for None
    QString entry;                    // the entry's text for Entry and Prefix
    QStringList suggestions;          // for None: up to five close entries
};

// Tries, in this order: an entry whose whole text is `typed`, case ignored; a
// zone named exactly `typed`; the list's prefix search started after position
// 0, as a list left with typed text does, but without its retry with the
// first character alone. `typed` is read as UTF-8, but a zone name is compared
// byte for byte. An empty `typed` matches nothing. Without a match, the
// suggestions are the entries that contain `typed` or are contained in it,
// then those a few edits away from it, case and accents ignored, each text
// once; a `typed` of more than 64 characters gets none.
PlaceMatch MatchPlace(const PlaceList& list, const Catalogue& zones, std::string_view typed);
