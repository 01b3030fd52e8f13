// The command line of olvanta-cli, parsed into what to do.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "timecalc/TimeValue.h"

inline constexpr const char* kCliUsageText =
    "usage: olvanta-cli [--data-dir DIR] [--at HH:MM | --at YYYY-MM-DDTHH:MM]\n"
    "                   [--now YYYY-MM-DDTHH:MM:SSZ] BASE REMOTE [REMOTE...]\n"
    "       olvanta-cli [--data-dir DIR] --list\n"
    "       olvanta-cli --help | --version\n"
    "BASE and REMOTE: a place as --list shows it, a zone name such as Europe/Berlin,\n"
    "or the beginning of a place's name.\n";

struct CliOptions {
    enum class Mode { Convert, List, Help, Version };

    Mode mode = Mode::Convert;
    std::optional<std::string> dataDirectory;
    std::optional<TimeValue> at;                       // the base place's wall-clock time
    std::optional<int> atMinuteOfDay;                  // --at HH:MM: today at the base place
    std::optional<std::int64_t> nowSecondsSinceEpoch;  // the current UTC moment
    std::string base;
    std::vector<std::string> remotes;  // one or more
    // Why the arguments cannot be used, in one line without the program
    // name; nothing when they can.
    std::optional<std::string> usageError;
};

// Reads the arguments after the program name.
CliOptions ParseCliOptions(const std::vector<std::string>& arguments);

// What --help prints: the usage, then every option and argument explained.
std::string CliHelpText();

// "YYYY-MM-DDTHH:MM", or with a space for the "T", as a wall-clock time value;
// nothing when malformed, not a real date and time, or before 1900, where the
// calendar begins.
std::optional<TimeValue> ParseWallClock(const std::string& text);

// "HH:MM" as minutes after midnight; nothing when malformed.
std::optional<int> ParseTimeOfDay(const std::string& text);

// "YYYY-MM-DDTHH:MM:SSZ" as seconds since the epoch; nothing when malformed.
std::optional<std::int64_t> ParseUniversalMoment(const std::string& text);
