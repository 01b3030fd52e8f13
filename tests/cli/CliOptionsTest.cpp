#include "cli/CliOptions.h"

#include <gtest/gtest.h>

#include "support/CalendarTimes.h"

namespace {

using Arguments = std::vector<std::string>;

CliOptions Parsed(const Arguments& arguments) {
    const CliOptions parsed = ParseCliOptions(arguments);
    if (parsed.usageError) {
        ADD_FAILURE() << "unexpected usage error: " << *parsed.usageError;
        return {};
    }
    return parsed;
}

TEST(CliOptionsTest, ReadsEveryOptionInBothSpellings) {
    const CliOptions options = Parsed({"--data-dir", "/data", "--at=2026-07-01T14:05", "--now",
                                       "2026-07-01T12:00:30Z", "Berlin", "New York"});
    EXPECT_EQ(options.mode, CliOptions::Mode::Convert);
    EXPECT_EQ(options.dataDirectory, "/data");
    EXPECT_EQ(options.at, ToTimeValue(At(2026, 7, 1, 14, 5)));
    EXPECT_EQ(options.nowSecondsSinceEpoch, 1782907230);
    EXPECT_EQ(options.base, "Berlin");
    EXPECT_EQ(options.remotes, Arguments{"New York"});

    EXPECT_EQ(Parsed({"--list", "--data-dir=/x"}).mode, CliOptions::Mode::List);
    EXPECT_EQ(Parsed({"--help", "--bogus"}).mode, CliOptions::Mode::Help);
    EXPECT_EQ(Parsed({"-h"}).mode, CliOptions::Mode::Help);
    EXPECT_EQ(Parsed({"--version"}).mode, CliOptions::Mode::Version);
    EXPECT_EQ(Parsed({"--", "-Odd", "UTC"}).base, "-Odd");

    const CliOptions several = Parsed({"--at", "09:30", "Berlin", "-", "Tokyo", "--", "-x"});
    EXPECT_EQ(several.atMinuteOfDay, 9 * 60 + 30);
    EXPECT_EQ(several.at, std::nullopt);
    EXPECT_EQ(several.base, "Berlin");
    EXPECT_EQ(several.remotes, (Arguments{"-", "Tokyo", "-x"}));
    EXPECT_EQ(Parsed({"--at=2026-12-08 09:30", "A", "B"}).at, ToTimeValue(At(2026, 12, 8, 9, 30)));
}

TEST(CliOptionsTest, RejectsWhatItCannotUse) {
    const Arguments cases[] = {
        {"--bogus", "A", "B"},
        {"A"},
        {"--list", "A"},
        {"--data-dir"},
        {"--at", "2026-07-01_14:05", "A", "B"},
        {"--at", "24:00", "A", "B"},
        {"--bogus", "--help"},
        {"--at", "2026-02-29T10:00", "A", "B"},
        {"--at", "2026-07-01T24:00", "A", "B"},
        {"--at", "2026-7-1T14:05", "A", "B"},
        {"--now", "2026-07-01T12:00:00", "A", "B"},
        {"--now", "2026-07-01T12:00:60Z", "A", "B"},
        {"--now"},
    };
    for (const Arguments& arguments : cases) {
        EXPECT_TRUE(ParseCliOptions(arguments).usageError) << arguments.front();
    }
}

TEST(CliOptionsTest, WallClockAndUniversalMomentFormats) {
    EXPECT_EQ(ParseWallClock("2024-02-29T23:59"), ToTimeValue(At(2024, 2, 29, 23, 59)));
    EXPECT_EQ(ParseWallClock("2100-02-29T00:00"), std::nullopt);
    EXPECT_EQ(ParseWallClock("2024-02-29 23:59"), ToTimeValue(At(2024, 2, 29, 23, 59)));
    EXPECT_EQ(ParseTimeOfDay("00:00"), 0);
    EXPECT_EQ(ParseTimeOfDay("23:59"), 23 * 60 + 59);
    EXPECT_EQ(ParseTimeOfDay("12:60"), std::nullopt);
    EXPECT_EQ(ParseTimeOfDay("9:30"), std::nullopt);
    EXPECT_EQ(ParseUniversalMoment("1970-01-01T00:00:00Z"), 0);
    EXPECT_EQ(ParseUniversalMoment("1969-12-31T23:59:59Z"), -1);
    EXPECT_EQ(ParseUniversalMoment("2026-07-01T12:00:00z"), std::nullopt);
}

}  // namespace
