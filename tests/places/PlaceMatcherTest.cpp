#include "places/PlaceMatcher.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QStringList>

namespace {

TEST(PlaceMatcherTest, FindsNamesAndTheirWordsBeginningWithTheTextBestFirst) {
    Catalogue zones;
    CTimeZone* zone = zones.Insert(std::make_unique<CTimeZone>("Zone"));
    for (const char* place :
         {"New York", "York", "Yorktown", "North York", "Brazil (S\u00E3o Paulo)", "S\u00E3o Paulo",
          "Saint Paul", "San Francisco", "San Francisco de Macor\u00EDs", "Santa Ana",
          "\u0141\u00F3d\u017A", "C\u00F4te d\u2019Ivoire"}) {
        zone->m_places.Add(place);
    }
    QCollator collator{QLocale(QLocale::English)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const PlaceList list = PlaceList::FromCatalogue(zones, collator);
    PlaceMatcher matcher(list);

    struct Case {
        const char* typed;
        QStringList found;
    };
    const Case cases[] = {
        // Whole names first, then later words, each in list order.
        {"york", {"York", "Yorktown", "New York", "North York"}},
        {"paul", {"Brazil (S\u00E3o Paulo)", "Saint Paul", "S\u00E3o Paulo"}},
        // Letter case and accents ignored, also on letters that keep a mark
        // when decomposed, and on the typographic apostrophe.
        {"sao pa", {"S\u00E3o Paulo", "Brazil (S\u00E3o Paulo)"}},
        {"SAN FR", {"San Francisco", "San Francisco de Macor\u00EDs"}},
        {"lodz", {"\u0141\u00F3d\u017A"}},
        {"C\u00D4TE D'IV", {"C\u00F4te d\u2019Ivoire"}},
        // A trailing blank ends a word; leading blanks do not count.
        {"san ", {"San Francisco", "San Francisco de Macor\u00EDs"}},
        {"  new", {"New York"}},
        // Inside a word nothing begins.
        {"ork", {}},
        {"zq", {}},
        {" ", {}},
    };
    for (const Case& c : cases) {
        QStringList found;
        for (const int position : matcher.Find(QString::fromUtf8(c.typed))) {
            found << list.Text(position);
        }
        EXPECT_EQ(found.join(" | ").toStdString(), c.found.join(" | ").toStdString()) << c.typed;
    }
}

}  // namespace
