#include "catalogue/Catalogue.h"

#include <gtest/gtest.h>

#include <set>
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

}  // namespace
