#include "cli/CliOptions.h"

#include <cctype>
#include <set>

#include "timecalc/CalendarMath.h"

namespace {

// Reads exactly `width` digits at `at`.
std::optional<int> Digits(const std::string& text, std::size_t at, std::size_t width) {
    if (at + width > text.size()) {
        return std::nullopt;
    }
    int value = 0;
    for (std::size_t i = at; i < at + width; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) {
            return std::nullopt;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

struct Fields {
    int year, month, day, hour, minute, second;
};

// "YYYY-MM-DDTHH:MM" followed by `tail` exactly ("" or ":SSZ").
std::optional<Fields> ParseFields(const std::string& text, bool withSecondsAndZ) {
    const std::size_t length = withSecondsAndZ ? 20 : 16;
    if (text.size() != length || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || (withSecondsAndZ && (text[16] != ':' || text[19] != 'Z'))) {
        return std::nullopt;
    }
    const auto year = Digits(text, 0, 4);
    const auto month = Digits(text, 5, 2);
    const auto day = Digits(text, 8, 2);
    const auto hour = Digits(text, 11, 2);
    const auto minute = Digits(text, 14, 2);
    const auto second = withSecondsAndZ ? Digits(text, 17, 2) : std::optional<int>(0);
    if (!year || !month || !day || !hour || !minute || !second) {
        return std::nullopt;
    }
    if (*month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(*month, *year) || *hour > 23 ||
        *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    return Fields{*year, *month, *day, *hour, *minute, *second};
}

std::int64_t SecondsOf(const Fields& f) {
    return DaysFromCivil(f.year, f.month, f.day) * 86'400 + f.hour * 3600 + f.minute * 60 +
           f.second;
}

bool IsOption(const std::string& argument) {
    return argument.size() > 1 && argument[0] == '-';
}

bool TakesNoValue(const std::string& option) {
    return option == "--help" || option == "-h" || option == "--version" || option == "--list";
}

bool TakesAValue(const std::string& option) {
    return option == "--data-dir" || option == "--at" || option == "--now";
}

// "-h" and "--help" are one option.
std::string CanonicalName(const std::string& option) {
    return option == "-h" ? "--help" : option;
}

}  // namespace

std::optional<TimeValue> ParseWallClock(const std::string& text) {
    const auto fields = ParseFields(text, false);
    if (!fields || fields->year < kFirstCalendarYear) {
        return std::nullopt;
    }
    return SecondsOf(*fields);
}

std::optional<std::int64_t> ParseUniversalMoment(const std::string& text) {
    const auto fields = ParseFields(text, true);
    return fields ? std::optional<std::int64_t>(SecondsOf(*fields)) : std::nullopt;
}

std::variant<CliOptions, CliUsageError> ParseCliOptions(const std::vector<std::string>& arguments) {
    CliOptions options;
    std::vector<std::string> places;
    std::set<std::string> given;
    bool list = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string argument = arguments[i];
        std::optional<std::string> inlineValue;
        if (const std::size_t equals = argument.find('=');
            argument.starts_with("--") && equals != std::string::npos) {
            inlineValue = argument.substr(equals + 1);
            argument.resize(equals);
        }
        const auto takeValue = [&]() -> std::optional<std::string> {
            if (inlineValue) {
                return inlineValue;
            }
            if (i + 1 < arguments.size()) {
                return arguments[++i];
            }
            return std::nullopt;
        };
        if (TakesNoValue(argument) || TakesAValue(argument)) {
            if (TakesNoValue(argument) && inlineValue) {
                return CliUsageError{argument + " takes no value"};
            }
            if (!given.insert(CanonicalName(argument)).second) {
                return CliUsageError{argument + " is given twice"};
            }
        }
        if (argument == "--help" || argument == "-h") {
            options.mode = CliOptions::Mode::Help;
            return options;
        }
        if (argument == "--version") {
            options.mode = CliOptions::Mode::Version;
            return options;
        }
        if (argument == "--list") {
            list = true;
        } else if (argument == "--data-dir") {
            const auto value = takeValue();
            if (!value || value->empty()) {
                return CliUsageError{"--data-dir needs a directory"};
            }
            options.dataDirectory = *value;
        } else if (argument == "--at") {
            const auto value = takeValue();
            options.at = value ? ParseWallClock(*value) : std::nullopt;
            if (!options.at) {
                return CliUsageError{"--at needs a date and time from 1900 on as YYYY-MM-DDTHH:MM"};
            }
        } else if (argument == "--now") {
            const auto value = takeValue();
            options.nowSecondsSinceEpoch = value ? ParseUniversalMoment(*value) : std::nullopt;
            if (!options.nowSecondsSinceEpoch) {
                return CliUsageError{"--now needs a UTC moment as YYYY-MM-DDTHH:MM:SSZ"};
            }
        } else if (argument == "--") {
            places.insert(places.end(), arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                          arguments.end());
            break;
        } else if (IsOption(argument)) {
            return CliUsageError{"unknown option '" + argument + "'"};
        } else {
            places.push_back(arguments[i]);
        }
    }
    if (list) {
        if (!places.empty()) {
            return CliUsageError{"--list takes no place names"};
        }
        options.mode = CliOptions::Mode::List;
        return options;
    }
    if (places.size() != 2) {
        return CliUsageError{"two place names are needed, BASE and REMOTE"};
    }
    options.base = places[0];
    options.remote = places[1];
    return options;
}
