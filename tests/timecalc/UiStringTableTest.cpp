#include "timecalc/UiStringTable.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "olvanta/Config.h"

namespace {

TEST(UiStringTableTest, EntriesReadBackTrimmedWithTheirWidths) {
    struct Case {
        UiString id;
        std::string text;
        std::size_t width;
    };
    const std::string support = OLVANTA_SUPPORT_URL;
    const Case cases[] = {
        {UiString::TimezonesDataError,
         "Timezones data could not be retreived! For support please visit " + support, 135},
        {UiString::LocationsDataError,
         "Locations data could not be retreived! For support please visit " + support, 135},
        {UiString::TimeDifference, "Time difference", 33},
        {UiString::BaseLocationGmtPlus, "Base location: GMT+", 33},
        {UiString::BaseLocationGmt, "Base location: GMT", 33},
        {UiString::RemoteLocationGmtPlus, "Remote location: GMT+", 33},
        {UiString::RemoteLocationGmt, "Remote location: GMT", 33},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UiText(c.id), c.text);
        EXPECT_EQ(UiStringWidth(c.id), c.width) << c.text;
    }
}

TEST(UiStringTableTest, CopyLeavesTheClearedBufferTerminated) {
    std::array<char, kUiStringBufferSize> buffer{};
    const std::size_t count = CopyUiString(UiString::TimeDifference, buffer);
    EXPECT_EQ(count, 15u);
    EXPECT_EQ(std::string(buffer.data()), "Time difference");
    EXPECT_EQ(buffer[count], '\0');
}

}  // namespace
