// Data files far larger than any real one: a million zones and two million
// places load, list, search and convert through the window and olvanta-cli.
// Under AddressSanitizer, which makes every allocation several times dearer,
// the files are a tenth of that size, so that the sanitizer run stays short.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/WindowFixture.h"
#include "cli/RunCli.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kScale = 10;
#else
constexpr int kScale = 1;
#endif
constexpr int kZoneCount = 1'000'000 / kScale;
constexpr int kPlaceCount = 2'000'000 / kScale;

// Whole hours from -12 to +12, so that each label is easy to foresee.
int HoursOfZone(int zone) {
    return zone % 25 - 12;
}

std::string ZoneLine(int zone) {
    return "Zone" + std::to_string(zone) + ",,," + std::to_string(HoursOfZone(zone) * 60) + "\n";
}

QString BaseLabelOf(int zone) {
    const int hours = HoursOfZone(zone);
    return QString("Base location: GMT%1%2").arg(hours >= 0 ? "+" : "").arg(hours);
}

class LargeDataTest : public WindowFixture {
protected:
    // olvanta-cli's output, one entry per line.
    std::vector<std::string> ListedByCli() {
        std::ostringstream out;
        std::ostringstream err;
        const CliEnvironment environment{m_data.Path(), m_clock};
        EXPECT_EQ(RunCli({"--list"}, environment, out, err), kCliSuccess);
        EXPECT_EQ(err.str(), "");
        std::vector<std::string> lines;
        std::istringstream in(out.str());
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    std::string ConvertedByCli(const std::string& base) {
        std::ostringstream out;
        std::ostringstream err;
        const CliEnvironment environment{m_data.Path(), m_clock};
        EXPECT_EQ(RunCli({"--at", "2026-03-05T12:00", base, "UTC"}, environment, out, err),
                  kCliSuccess);
        return out.str();
    }
};

TEST_F(LargeDataTest, AMillionZonesWithAFewPlaces) {
    std::string zones;
    std::string places;
    int placeCount = 0;
    for (int zone = 0; zone < kZoneCount; ++zone) {
        zones += ZoneLine(zone);
        if (zone % 1000 == 999) {
            places += "Zone" + std::to_string(zone) + ",Place " + std::to_string(zone) + "\n";
            ++placeCount;
        }
    }
    WriteData(zones, places);

    Open();
    EXPECT_EQ(BaseList()->count(), placeCount + 1);
    const int last = kZoneCount - 1;
    TypeAndLeave(BaseList(), QString("place %1").arg(last));
    EXPECT_EQ(BaseList()->currentText(), QString("Place %1").arg(last));
    EXPECT_EQ(BaseLabel(), BaseLabelOf(last));
    EXPECT_TRUE(m_messages.Messages().empty());
    m_window->close();

    EXPECT_EQ(ListedByCli().size(), static_cast<std::size_t>(placeCount + 1));
    const std::string converted = ConvertedByCli("Place " + std::to_string(last));
    EXPECT_EQ(converted.substr(0, converted.find('\n')), BaseLabelOf(last).toStdString());
}

TEST_F(LargeDataTest, TwoMillionPlacesInAThousandZones) {
    std::string zones;
    for (int zone = 0; zone < 1000; ++zone) {
        zones += ZoneLine(zone);
    }
    std::string places;
    for (int place = 0; place < kPlaceCount; ++place) {
        places += "Zone" + std::to_string(place % 1000) + ",Place " + std::to_string(place) + "\n";
    }
    WriteData(zones, places);

    Open();
    EXPECT_EQ(BaseList()->count(), kPlaceCount + 1);
    EXPECT_EQ(RemoteList()->count(), kPlaceCount + 1);
    EXPECT_EQ(BaseList()->itemText(0), "Place 0");
    EXPECT_EQ(BaseList()->itemText(kPlaceCount), "UTC");
    const int last = kPlaceCount - 1;
    TypeAndLeave(BaseList(), QString("PLACE %1").arg(last));
    EXPECT_EQ(BaseList()->currentText(), QString("Place %1").arg(last));
    EXPECT_EQ(BaseLabel(), BaseLabelOf(last % 1000));
    TypeAndLeave(RemoteList(), QStringLiteral("u"));
    EXPECT_EQ(RemoteList()->currentText(), "UTC");
    EXPECT_TRUE(m_messages.Messages().empty());
    m_window->close();
    EXPECT_EQ(StoredPosition(kRemoteValue), static_cast<std::int32_t>(kPlaceCount));

    const std::vector<std::string> listed = ListedByCli();
    ASSERT_EQ(listed.size(), static_cast<std::size_t>(kPlaceCount + 1));
    EXPECT_EQ(listed.front(), "Place 0");
    EXPECT_EQ(listed.back(), "UTC");
    const std::string converted = ConvertedByCli("Place " + std::to_string(last));
    EXPECT_EQ(converted.substr(0, converted.find('\n')), BaseLabelOf(last % 1000).toStdString());
}

}  // namespace
