#include "places/PlaceList.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QStringList>
#include <string>
#include <vector>

namespace {

// A catalogue from zone lines and "zone,place" lines, as the data files hold them.
class PlaceListTest : public ::testing::Test {
protected:
    void AddZone(const std::string& line) { m_zones.Insert(std::make_unique<CTimeZone>(line)); }
    void AddPlace(const std::string& zone, const std::string& place) {
        CTimeZone* record = m_zones.Lookup(zone);
        if (record == nullptr) {
            record = m_zones.Insert(MakePlaceholderZone(zone));
        }
        record->m_places.Add(place);
    }
    PlaceList Build() const {
        QCollator collator{QLocale(QLocale::English, QLocale::UnitedStates)};
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        return PlaceList::FromCatalogue(m_zones, collator);
    }
    static std::vector<std::string> TextsOf(const PlaceList& list) {
        std::vector<std::string> texts;
        for (int position = 0; position < list.Count(); ++position) {
            texts.push_back(list.Text(position).toStdString());
        }
        return texts;
    }
    // A list holding exactly these places, all in one zone.
    PlaceList ListOf(std::initializer_list<const char*> places) {
        AddZone("Zone");
        for (const char* place : places) {
            AddPlace("Zone", place);
        }
        return Build();
    }

    // 3,000 names made of pieces that collate specially in some language, in
    // one zone.
    void AddMixedNames() {
        static constexpr const char* kPieces[] = {
            "a",  "B", "z",        "Z", " ",  "0",        "9", "st",       "St. ",         "-",
            "'",  "e", "\xC3\xA9", "E", "ss", "\xC3\x9F", "o", "\xC3\xB6", "\xE5\x8C\x97", "_",
            "ch", "h", "aa",       "v", "w",  "I",        "i", "y",        "dz",           "cs"};
        std::uint32_t state = 12345;
        const auto next = [&state] {
            state = state * 1103515245u + 12345u;
            return state >> 16;
        };
        AddZone("Zone");
        for (int i = 0; i < 3000; ++i) {
            std::string name;
            const unsigned length = 1 + next() % 6;
            for (unsigned j = 0; j < length; ++j) {
                name += kPieces[next() % std::size(kPieces)];
            }
            AddPlace("Zone", name);
        }
    }

    Catalogue m_zones;
};

using TextList = std::vector<std::string>;

TEST_F(PlaceListTest, EmptyCatalogueGivesOnlyUtc) {
    const PlaceList list = Build();
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Text(0), "UTC");
    EXPECT_EQ(list.Zone(0), nullptr);
    AddZone("Lonely");  // a zone without places adds nothing
    EXPECT_EQ(Build().Count(), 1);
}

TEST_F(PlaceListTest, SortedWithoutRegardToCaseAndUtcInItsPlace) {
    const PlaceList list = ListOf({"Vienna", "berlin", "Tokyo", "Bern", "amsterdam", "Zurich"});
    EXPECT_EQ(TextsOf(list),
              (TextList{"amsterdam", "berlin", "Bern", "Tokyo", "UTC", "Vienna", "Zurich"}));
    EXPECT_EQ(list.Zone(4), nullptr);
    EXPECT_EQ(list.Zone(0), m_zones.Lookup("Zone"));
}

const QLocale::Language kLanguages[] = {QLocale::English,    QLocale::German,    QLocale::Czech,
                                        QLocale::Danish,     QLocale::Finnish,   QLocale::Turkish,
                                        QLocale::Lithuanian, QLocale::Hungarian, QLocale::Russian};

QCollator CollatorFor(QLocale::Language language) {
    QCollator collator{QLocale(language)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

TEST_F(PlaceListTest, OrderAgreesWithTheCollatorInEveryLanguage) {
    // The collator's order, also in languages with letters of their own.
    AddMixedNames();
    for (const QLocale::Language language : kLanguages) {
        const QCollator collator = CollatorFor(language);
        const PlaceList list = PlaceList::FromCatalogue(m_zones, collator);
        for (int position = 1; position < list.Count(); ++position) {
            ASSERT_LE(collator.compare(list.Text(position - 1), list.Text(position)), 0)
                << QLocale::languageToString(language).toStdString() << ": "
                << list.Text(position - 1).toStdString() << " | "
                << list.Text(position).toStdString();
        }
    }
}

TEST_F(PlaceListTest, EveryNamingIsAnEntryBoundToItsOwnZone) {
    AddZone("First");
    AddZone("Second");
    AddPlace("First", "Springfield");
    AddPlace("Second", "Springfield");
    AddPlace("First", "Springfield");
    const PlaceList list = Build();
    ASSERT_EQ(list.Count(), 4);
    std::vector<const CTimeZone*> zones;
    for (int position = 0; position < 3; ++position) {
        EXPECT_EQ(list.Text(position), "Springfield");
        zones.push_back(list.Zone(position));
    }
    // Equal texts keep the order in which they were added: catalogue order,
    // then each zone's place order.
    std::vector<const CTimeZone*> insertion;
    m_zones.ForEach([&insertion](const CTimeZone& zone) {
        for (std::size_t i = 0; i < zone.m_places.GetCount(); ++i) {
            insertion.push_back(&zone);
        }
    });
    EXPECT_EQ(zones, insertion);
}

TEST_F(PlaceListTest, TypedTextSelectsAsAListDoesWhenLeft) {
    struct Case {
        const char* name;
        std::initializer_list<const char*> places;
        const char* typed;
        const char* expected;  // null: nothing found
    };
    const Case cases[] = {
        {"position_0_is_examined_last", {"Berlin", "Bern"}, "ber", "Bern"},
        {"case_is_ignored", {"Amsterdam", "Berlin", "Bern"}, "BER", "Berlin"},
        {"first_character_retry", {"Amsterdam", "Xian"}, "Xq", "Xian"},
        {"nothing_begins_with_q", {"Amsterdam", "Berlin"}, "Q", nullptr},
        {"full_name", {"Amsterdam", "Berlin", "Bern"}, "Bern", "Bern"},
        {"wraps_to_position_0", {"Amsterdam", "Berlin"}, "am", "Amsterdam"},
        {"unicode_case", {"Amsterdam", "\xC3\x89vora"}, "\xC3\xA9v", "\xC3\x89vora"},
        {"greek_case",
         {"Amsterdam", "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1"},
         "\xCE\xB1\xCE\xB8",
         "\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1"},
        {"utc_is_found_too", {"Amsterdam"}, "utc", "UTC"},
    };
    for (const Case& c : cases) {
        m_zones.ClearCatalogue();
        const PlaceList list = ListOf(c.places);
        const int found = list.FindTypedPlace(QString::fromUtf8(c.typed));
        if (c.expected == nullptr) {
            EXPECT_EQ(found, -1) << c.name;
        } else {
            ASSERT_GE(found, 0) << c.name;
            EXPECT_EQ(list.Text(found).toStdString(), c.expected) << c.name;
        }
    }
}

TEST_F(PlaceListTest, PrefixSearchStartsAfterThePositionAndWraps) {
    const PlaceList list = ListOf({"Bamako", "Bangkok", "Berlin", "Cairo", "Bern"});
    // Bamako 0, Bangkok 1, Berlin 2, Bern 3, Cairo 4, UTC 5
    struct Case {
        const char* prefix;
        int startAfter;
        int expected;
    };
    const Case cases[] = {
        {"ba", -1, 0}, {"ba", 0, 1},    {"ba", 1, 0},      {"ba", 5, 0}, {"ber", 2, 3},
        {"ber", 3, 2}, {"c", 4, 4},     {"x", -1, -1},     {"", -1, 0},  {"", 5, 0},
        {"", 2, 3},    {"bern", -1, 3}, {"berne", -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(list.FindPrefix(QString::fromUtf8(c.prefix), c.startAfter), c.expected)
            << c.prefix << " after " << c.startAfter;
    }
}

TEST_F(PlaceListTest, ExactMatchIgnoresCaseAndPrefersTheFirstEntry) {
    const PlaceList list = ListOf({"Bern", "Berlin", "bern"});
    EXPECT_EQ(list.FindExact(u"BERN"), list.FindPrefix(u"bern", -1));
    EXPECT_EQ(list.Text(list.FindExact(u"berlin")), "Berlin");
    EXPECT_EQ(list.FindExact(u"Ber"), -1);
    EXPECT_EQ(list.Text(list.FindExact(u"utc")), "UTC");
}

TEST_F(PlaceListTest, SuggestionsAreTheEntriesOrTheirWordsBeginningWithTheTextBestFirst) {
    const PlaceList list =
        ListOf({"New York", "York", "Yorktown", "North York", "Brazil (S\u00E3o Paulo)",
                "S\u00E3o Paulo", "Saint Paul", "San Francisco", "San Francisco de Macor\u00EDs",
                "Santa Ana", "\u0141\u00F3d\u017A", "C\u00F4te d\u2019Ivoire"});
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
        for (const int position : list.FindSuggestions(QString::fromUtf8(c.typed))) {
            found << list.Text(position);
        }
        EXPECT_EQ(found.join(" | ").toStdString(), c.found.join(" | ").toStdString()) << c.typed;
    }
}

TEST_F(PlaceListTest, PositionsOutsideTheListAreNotEntries) {
    const PlaceList list = ListOf({"Bern"});
    EXPECT_TRUE(list.Contains(0));
    EXPECT_TRUE(list.Contains(1));
    EXPECT_FALSE(list.Contains(2));
    EXPECT_FALSE(list.Contains(-1));
    EXPECT_THROW(static_cast<void>(list.Text(2)), std::out_of_range);
}

TEST_F(PlaceListTest, BytesThatAreNotUtf8StillMakeAnEntry) {
    const PlaceList list = ListOf({"Bad\xFF\xFEname", std::string("Nul\0byte", 8).c_str()});
    ASSERT_EQ(list.Count(), 3);
    EXPECT_TRUE(list.Text(0).contains(QChar::ReplacementCharacter));
    EXPECT_GE(list.FindTypedPlace(u"bad"), 0);
}

}  // namespace
