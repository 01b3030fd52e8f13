#include "tools/tzsource/TzifFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/UtcSeconds.h"
#include "tools/ZoneSource.h"

namespace {

using tzsource::ParseTzif;
using tzsource::TzifError;
using tzsource::ZoneHistory;

// A TZif file built byte by byte, for inputs zic would never write.
struct TzifBuilder {
    char version = '2';
    std::vector<std::int64_t> times;
    std::vector<std::uint8_t> types;
    std::vector<std::int32_t> offsets{0};
    std::string footer = "UTC0";

    static void Put32(std::string& out, std::uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            out += static_cast<char>((value >> shift) & 0xFF);
        }
    }
    std::string Header() const {
        std::string out = "TZif";
        out += version;
        out += std::string(15, '\0');
        for (std::uint32_t count : {0u, 0u, 0u, static_cast<std::uint32_t>(times.size()),
                                    static_cast<std::uint32_t>(offsets.size()), 4u}) {
            Put32(out, count);
        }
        return out;
    }
    std::string Block(bool wide) const {
        std::string out;
        for (std::int64_t time : times) {
            if (wide) {
                Put32(out, static_cast<std::uint32_t>(static_cast<std::uint64_t>(time) >> 32));
            }
            Put32(out, static_cast<std::uint32_t>(time));
        }
        for (std::uint8_t type : types) {
            out += static_cast<char>(type);
        }
        for (std::int32_t offset : offsets) {
            Put32(out, static_cast<std::uint32_t>(offset));
            out += '\0';  // not daylight time
            out += '\0';  // abbreviation at 0
        }
        out += std::string("ABC") + '\0';
        return out;
    }
    std::string Bytes() const {
        std::string out = Header() + Block(false);
        if (version != '\0') {
            out += Header() + Block(true) + "\n" + footer + "\n";
        }
        return out;
    }
};

TEST(TzifFile, ReadsWhatZicCompiles) {
    TempDir dir;
    const auto zoneinfo = CompileZones(dir, kTestZoneSource);
    const ZoneHistory north(tzsource::ReadTzifFile((zoneinfo / "Europe/Nordby").string()));
    EXPECT_EQ(north.Data().footer, "CET-1CEST,M3.5.0,M10.5.0/3");
    ASSERT_TRUE(north.Footer().has_value());
    EXPECT_EQ(north.OffsetAt(Utc(2026, 3, 29, 0, 59)), 3600);
    EXPECT_EQ(north.OffsetAt(Utc(2026, 3, 29, 1)), 7200);
    EXPECT_EQ(north.OffsetAt(Utc(2026, 10, 25, 1)), 3600);
    const auto changes = north.Changes(Utc(2026, 1, 1, 0), Utc(2028, 1, 1, 0));
    ASSERT_EQ(changes.size(), 4u);
    EXPECT_EQ(changes[2].instant, Utc(2027, 3, 28, 1));

    const ZoneHistory plain(tzsource::ReadTzifFile((zoneinfo / "Asia/Plainpur").string()));
    EXPECT_EQ(plain.OffsetAt(Utc(2026, 6, 1, 0)), 19800);
    EXPECT_TRUE(plain.Changes(Utc(2026, 1, 1, 0), Utc(2027, 1, 1, 0)).empty());
}

TEST(TzifFile, TableComesBeforeTheFooter) {
    TzifBuilder builder;
    builder.times = {Utc(2026, 2, 15, 2), Utc(2026, 3, 22, 2)};
    builder.types = {1, 0};
    builder.offsets = {3600, 0};
    builder.footer = "<+01>-1";
    const ZoneHistory history(ParseTzif(builder.Bytes()));
    EXPECT_EQ(history.OffsetAt(Utc(2026, 1, 1, 0)), 3600);
    EXPECT_EQ(history.OffsetAt(Utc(2026, 3, 1, 0)), 0);
    EXPECT_EQ(history.OffsetAt(Utc(2026, 4, 1, 0)), 3600);
    EXPECT_EQ(history.OffsetAt(Utc(2030, 3, 1, 0)), 3600);
    EXPECT_EQ(history.Changes(Utc(2026, 1, 1, 0), Utc(2027, 1, 1, 0)).size(), 2u);
    EXPECT_EQ(history.TableEnd(), Utc(2026, 3, 22, 2));
}

TEST(TzifFile, VersionOneFilesHaveNoFooter) {
    TzifBuilder builder;
    builder.version = '\0';
    builder.times = {Utc(2000, 1, 1, 0)};
    builder.types = {1};
    builder.offsets = {0, -3600};
    const auto data = ParseTzif(builder.Bytes());
    EXPECT_TRUE(data.footer.empty());
    EXPECT_EQ(ZoneHistory(data).OffsetAt(Utc(2026, 1, 1, 0)), -3600);
}

TEST(TzifFile, RejectsMalformedFilesWithoutCrashing) {
    TzifBuilder good;
    good.times = {Utc(2000, 1, 1, 0), Utc(2001, 1, 1, 0)};
    good.types = {1, 0};
    good.offsets = {0, 3600};
    const std::string bytes = good.Bytes();
    ASSERT_NO_THROW(ParseTzif(bytes));
    // Every prefix of a good file is a file cut short.
    for (std::size_t length = 0; length + 1 < bytes.size(); ++length) {
        EXPECT_THROW(ParseTzif(bytes.substr(0, length)), TzifError) << length;
    }
    TzifBuilder badType = good;
    badType.types = {1, 2};
    TzifBuilder descending = good;
    descending.times = {Utc(2001, 1, 1, 0), Utc(2000, 1, 1, 0)};
    TzifBuilder badVersion = good;
    badVersion.version = '9';
    TzifBuilder noTypes = good;
    noTypes.offsets.clear();
    noTypes.times.clear();
    noTypes.types.clear();
    std::string badMagic = bytes;
    badMagic[0] = 'X';
    for (const std::string& bad :
         {badType.Bytes(), descending.Bytes(), badVersion.Bytes(), noTypes.Bytes(), badMagic}) {
        EXPECT_THROW(ParseTzif(bad), TzifError);
    }
    EXPECT_THROW(tzsource::ReadTzifFile("/nonexistent/zone"), TzifError);
}

TEST(TzifFile, MalformedFooterLeavesTheTableInForce) {
    TzifBuilder builder;
    builder.times = {Utc(2000, 1, 1, 0)};
    builder.types = {1};
    builder.offsets = {0, 7200};
    builder.footer = "garbage";
    const ZoneHistory history(ParseTzif(builder.Bytes()));
    EXPECT_FALSE(history.Footer().has_value());
    EXPECT_EQ(history.OffsetAt(Utc(2026, 1, 1, 0)), 7200);
}

}  // namespace
