#include "catalogue/TimeZone.h"

#include <gtest/gtest.h>

namespace {

TEST(TimeZoneTest, DefaultRecordIsGmtWithoutDaylightSavingTime) {
    const CTimeZone zone;
    EXPECT_TRUE(zone.m_strName.empty());
    EXPECT_TRUE(zone.m_strLabel.empty());
    EXPECT_TRUE(zone.m_strRemark.empty());
    EXPECT_EQ(zone.m_places.GetCount(), 0u);
    EXPECT_EQ(zone.m_standard, TransitionRule{});
    EXPECT_EQ(zone.m_daylight, TransitionRule{});
}

TEST(TimeZoneTest, ReadsTheDocumentedExampleLine) {
    const CTimeZone zone(
        R"("Example Zone, North",Example label,Example remark,60,10,0,1,5,3,0,60,3,0,1,5,2,0)");
    EXPECT_EQ(zone.m_strName, "Example Zone, North");
    EXPECT_EQ(zone.m_strLabel, "Example label");
    EXPECT_EQ(zone.m_strRemark, "Example remark");
    EXPECT_EQ(zone.m_standard, (TransitionRule{60, 10, 0, 1, 5, 3, 0}));
    EXPECT_EQ(zone.m_daylight, (TransitionRule{60, 3, 0, 1, 5, 2, 0}));
}

TEST(TimeZoneTest, MissingFieldsAreEmptyOrZeroAndExtraFieldsIgnored) {
    const CTimeZone onlyName("Lonely");
    EXPECT_EQ(onlyName.m_strName, "Lonely");
    EXPECT_EQ(onlyName.m_standard, TransitionRule{});
    EXPECT_EQ(onlyName.m_daylight, TransitionRule{});

    const CTimeZone extra("Z,L,R,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17");
    EXPECT_EQ(extra.m_standard, (TransitionRule{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(extra.m_daylight, (TransitionRule{8, 9, 10, 11, 12, 13, 14}));
}

TEST(TimeZoneTest, UnterminatedQuotedLabelLeavesEverythingAfterItEmptyOrZero) {
    const CTimeZone zone(R"(Z,"label without end,remark,60,10,0,1,5,3,0,60,3,0,1,5,2,0)");
    EXPECT_EQ(zone.m_strName, "Z");
    EXPECT_EQ(zone.m_strLabel, "label without end,remark,60,10,0,1,5,3,0,60,3,0,1,5,2,0");
    EXPECT_TRUE(zone.m_strRemark.empty());
    EXPECT_EQ(zone.m_standard, TransitionRule{});
    EXPECT_EQ(zone.m_daylight, TransitionRule{});
}

TEST(TimeZoneTest, PlaceholderIsNamedAndMarkedButHasNoRules) {
    const auto zone = MakePlaceholderZone("Nowhere/Town");
    EXPECT_EQ(zone->m_strName, "Nowhere/Town");
    EXPECT_EQ(zone->m_strLabel, "!Nowhere/Town");
    EXPECT_TRUE(zone->m_strRemark.empty());
    EXPECT_EQ(zone->m_standard, TransitionRule{});
    EXPECT_EQ(zone->m_daylight, TransitionRule{});
}

}  // namespace
