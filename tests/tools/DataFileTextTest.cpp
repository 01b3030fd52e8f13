#include "tools/tzgen/DataFileText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/FieldReader.h"
#include "catalogue/TimeZone.h"

namespace {

using tzgen::CleanFieldText;
using tzgen::LocationLine;
using tzgen::QuoteField;

TEST(DataFileText, QuotesOnlyFieldsThatHoldAComma) {
    EXPECT_EQ(QuoteField("Berlin"), "Berlin");
    EXPECT_EQ(QuoteField("St. John's"), "St. John's");
    EXPECT_EQ(QuoteField("Washington, D. C."), "\"Washington, D. C.\"");
    EXPECT_EQ(QuoteField(","), "\",\"");
    EXPECT_EQ(QuoteField(""), "");
}

TEST(DataFileText, CleaningRemovesWhatTheReaderWouldMisread) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\"Quoted\" Town", "'Quoted' Town"},
        {"  Padded  ", "Padded"},
        {"Line\nBreak", "Line Break"},
        {std::string("Ctrl\x1AZ"), "Ctrl Z"},
        {"Tab\tbed", "Tab bed"},
        {"\r\n", ""},
        {"São Paulo", "São Paulo"},
    };
    for (const auto& [raw, clean] : cases) {
        EXPECT_EQ(CleanFieldText(raw), clean) << raw;
    }
}

// Whatever a name holds, the program's own reader gets back the cleaned name.
TEST(DataFileText, LocationLinesReadBackThroughTheProgramsReader) {
    for (const std::string raw : {"Córdoba (Argentina)", "Washington, D. C.", "\"A, B\" C",
                                  " Blank, ", "a,b,c", "Ushuaia\r", "Nul\x01"}) {
        const std::string place = CleanFieldText(raw);
        const std::string zone = "Zone, With Comma";
        const std::string line = LocationLine(zone, place);
        std::string_view zoneRead;
        std::string_view placeRead;
        ASSERT_TRUE(ParseLocationLine(line, zoneRead, placeRead)) << raw;
        EXPECT_EQ(zoneRead, zone);
        EXPECT_EQ(placeRead, place);
    }
}

TEST(DataFileText, ZoneLinesReadBackThroughTheProgramsReader) {
    tzgen::EncodedZone zone;
    zone.standard = {-240, 4, 2, 1, 1, 0, 0};
    zone.daylight = {60, 9, 2, 1, 1, 24, 30};
    const std::string line =
        tzgen::ZoneLine("America/Santiago", "UTC-04:00/-03:00 Chile - most of Chile",
                        "TZ <-04>4<-03>,M9.1.6/24,M4.1.6/24; a note", zone);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    const CTimeZone read(line);
    EXPECT_EQ(read.m_strName, "America/Santiago");
    EXPECT_EQ(read.m_strLabel, "UTC-04:00/-03:00 Chile - most of Chile");
    EXPECT_EQ(read.m_strRemark, "TZ <-04>4<-03>,M9.1.6/24,M4.1.6/24; a note");
    EXPECT_EQ(read.m_standard, zone.standard);
    EXPECT_EQ(read.m_daylight, zone.daylight);
}

}  // namespace
