#include "catalogue/Catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

namespace {

std::unique_ptr<CTimeZone> Zone(std::string_view line) {
    return std::make_unique<CTimeZone>(line);
}

TEST(CatalogueTest, NamesAreKeysByteForByte) {
    Catalogue zones;
    ASSERT_NE(zones.Insert(Zone("Zone,first")), nullptr);
    ASSERT_NE(zones.Insert(Zone("zone,lower case")), nullptr);
    ASSERT_NE(zones.Insert(Zone("Zone ,trailing blank")), nullptr);
    EXPECT_EQ(zones.Size(), 3u);
    EXPECT_EQ(zones.Lookup("Zone")->m_strLabel, "first");
    EXPECT_EQ(zones.Lookup("zone")->m_strLabel, "lower case");
    EXPECT_EQ(zones.Lookup("Zone ")->m_strLabel, "trailing blank");
    EXPECT_EQ(zones.Lookup("ZONE"), nullptr);
}

TEST(CatalogueTest, FirstRecordOfANameStays) {
    Catalogue zones;
    CTimeZone* first = zones.Insert(Zone("Zone,first,,60"));
    EXPECT_EQ(zones.Insert(Zone("Zone,second,,120")), nullptr);
    EXPECT_EQ(zones.Lookup("Zone"), first);
    EXPECT_EQ(first->m_standard.bias, 60);
    EXPECT_EQ(zones.Size(), 1u);
}

TEST(CatalogueTest, RecordNumbersFollowInsertionAndSurviveTheTableGrowing) {
    Catalogue zones;
    for (int i = 0; i < 5'000; ++i) {
        ASSERT_NE(zones.Insert(Zone("Zone" + std::to_string(i))), nullptr);
        ASSERT_EQ(zones.Insert(Zone("Zone" + std::to_string(i / 2))), nullptr);
    }
    for (int i = 0; i < 5'000; i += 7) {
        const std::string name = "Zone" + std::to_string(i);
        const std::size_t number = zones.RecordNumberOf(name, Catalogue::Hash(name));
        ASSERT_EQ(number, static_cast<std::size_t>(i));
        EXPECT_EQ(&zones.RecordAt(number), zones.Lookup(name));
    }
    EXPECT_EQ(zones.RecordNumberOf("Zone5000", Catalogue::Hash("Zone5000")), Catalogue::kNoRecord);
    EXPECT_THROW(zones.RecordAt(5'000), std::out_of_range);
    zones.ClearCatalogue();
    EXPECT_EQ(zones.RecordNumberOf("Zone1", Catalogue::Hash("Zone1")), Catalogue::kNoRecord);
}

TEST(CatalogueTest, EnumeratesEveryRecordOnceAndClears) {
    Catalogue zones;
    for (const char* name : {"A", "B", "C", "D"}) {
        zones.Insert(Zone(name));
    }
    std::multiset<std::string> seen;
    zones.ForEach([&seen](const CTimeZone& zone) { seen.insert(zone.m_strName); });
    EXPECT_EQ(seen, (std::multiset<std::string>{"A", "B", "C", "D"}));

    zones.ClearCatalogue();
    EXPECT_TRUE(zones.Empty());
    EXPECT_EQ(zones.Lookup("A"), nullptr);
    zones.ClearCatalogue();  // clearing an empty catalogue does nothing
    EXPECT_TRUE(zones.Empty());
}

TEST(CatalogueTest, EveryByteOfANameCountsInItsHash) {
    // The hash reads names in fixed-size pieces that overlap at the end; a
    // byte that no piece covered would make names differing only there
    // collide every time.
    for (std::size_t size = 1; size <= 40; ++size) {
        const std::string name(size, 'a');
        const std::uint64_t hash = Catalogue::Hash(name);
        for (std::size_t at = 0; at < size; ++at) {
            std::string changed = name;
            changed[at] = 'b';
            EXPECT_NE(Catalogue::Hash(changed), hash) << "size " << size << ", byte " << at;
        }
        EXPECT_NE(Catalogue::Hash(std::string(size + 1, 'a')), hash) << "size " << size;
    }
    EXPECT_NE(Catalogue::Hash(""), Catalogue::Hash(std::string(1, '\0')));
}

}  // namespace
