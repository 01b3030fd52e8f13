#include "cli/CliOptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <cctype>

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
    return SecondsFromFields(f.year, static_cast<unsigned>(f.month), static_cast<unsigned>(f.day),
                             f.hour, f.minute, f.second);
}

constexpr const char* kAtNeeds =
    "--at needs a time as HH:MM, or a date and time from 1900 on as YYYY-MM-DDTHH:MM";

// Command-line words are bytes. Latin-1 gives each byte a character of its own
// and gives it back unchanged, so a place name that is not UTF-8 reaches the
// matcher as it was typed; the option names are ASCII either way.
QString FromBytes(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToBytes(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Qt's parser, knowing olvanta-cli's options and arguments.
struct CliParser {
    QCommandLineOption at{"at",
                          "The wall-clock time at BASE: HH:MM for that time today there, or a "
                          "date and time from 1900 on as YYYY-MM-DDTHH:MM (a space may stand for "
                          "the T). Default: now at BASE.",
                          "TIME"};
    QCommandLineOption now{
        "now", "The UTC moment for the present time difference. Default: the system clock.",
        "YYYY-MM-DDTHH:MM:SSZ"};
    QCommandLineOption dataDir{
        "data-dir",
        "Read the data files from DIR instead of the directory of the resolved executable.", "DIR"};
    QCommandLineOption list{"list", "Print every place, one per line, in list order."};
    QCommandLineOption help{QStringList{"h", "help"}, "Print this help."};
    QCommandLineOption version{"version", "Print the version."};
    QCommandLineParser qt;

    CliParser() {
        qt.addOptions({at, now, dataDir, list, help, version});
        qt.addPositionalArgument("BASE", "The place whose wall-clock time is converted.");
        qt.addPositionalArgument(
            "REMOTE",
            "A place to convert it to. For one, the two labels and the result as the window "
            "shows them; for several, a line for BASE and one for each REMOTE, each with the "
            "place, its offset, the time, the date, and the time difference to BASE now and "
            "at the converted time, separated by tabs.",
            "REMOTE [REMOTE...]");
    }
};

bool IsInformationWord(const QString& word) {
    return word == "-h" || word == "--help" || word == "--version";
}

// --help or --version answers at once when the words before it are good
// ones, as the line reads from the left: "--help --bogus" asks for help,
// "--bogus --help" is a mistake. Qt reads the whole line before it says what
// it found, so the words up to the first such request are read again alone.
std::optional<CliOptions::Mode> RequestedInformation(const QStringList& words) {
    const auto request = std::find_if(words.begin() + 1, words.end(), IsInformationWord);
    if (request == words.end()) {
        return std::nullopt;
    }
    CliParser beginning;
    if (!beginning.qt.parse(QStringList(words.begin(), request + 1))) {
        return std::nullopt;
    }
    if (beginning.qt.isSet(beginning.help)) {
        return CliOptions::Mode::Help;
    }
    if (beginning.qt.isSet(beginning.version)) {
        return CliOptions::Mode::Version;
    }
    return std::nullopt;  // the request was a value or came after "--"
}

CliOptions UsageError(std::string message) {
    CliOptions options;
    options.usageError = std::move(message);
    return options;
}

// Qt keeps every value of an option given twice; olvanta-cli takes each once.
std::optional<std::string> RepeatedOption(const QCommandLineParser& parser) {
    QSet<QString> seen;
    for (const QString& name : parser.optionNames()) {
        if (seen.contains(name)) {
            return "--" + ToBytes(name) + " is given twice";
        }
        seen.insert(name);
    }
    return std::nullopt;
}

// Reads the options' values into `options`; the first one it cannot use is
// the usage error.
void ReadValues(const CliParser& parser, CliOptions& options) {
    if (parser.qt.isSet(parser.dataDir)) {
        options.dataDirectory = ToBytes(parser.qt.value(parser.dataDir));
        if (options.dataDirectory->empty()) {
            options.usageError = "--data-dir needs a directory";
            return;
        }
    }
    if (parser.qt.isSet(parser.at)) {
        // A time of day, or a date and time.
        const std::string at = ToBytes(parser.qt.value(parser.at));
        options.atMinuteOfDay = ParseTimeOfDay(at);
        options.at = options.atMinuteOfDay ? std::nullopt : ParseWallClock(at);
        if (!options.atMinuteOfDay && !options.at) {
            options.usageError = kAtNeeds;
            return;
        }
    }
    if (parser.qt.isSet(parser.now)) {
        options.nowSecondsSinceEpoch = ParseUniversalMoment(ToBytes(parser.qt.value(parser.now)));
        if (!options.nowSecondsSinceEpoch) {
            options.usageError = "--now needs a UTC moment as YYYY-MM-DDTHH:MM:SSZ";
        }
    }
}

CliOptions ReadPlaces(const QStringList& places, bool list, CliOptions options) {
    if (list) {
        if (!places.isEmpty()) {
            return UsageError("--list takes no place names");
        }
        options.mode = CliOptions::Mode::List;
        return options;
    }
    if (places.size() < 2) {
        return UsageError("at least two place names are needed, BASE and REMOTE");
    }
    options.base = ToBytes(places.first());
    for (const QString& remote : places.sliced(1)) {
        options.remotes.push_back(ToBytes(remote));
    }
    return options;
}

}  // namespace

CliOptions ParseCliOptions(const std::vector<std::string>& arguments) {
    QStringList words{"olvanta-cli"};  // Qt skips the first word, the program's name
    for (const std::string& argument : arguments) {
        words.append(FromBytes(argument));
    }
    CliParser parser;
    const bool parsed = parser.qt.parse(words);
    CliOptions options;
    if (const auto mode = RequestedInformation(words)) {
        options.mode = *mode;
        return options;
    }
    if (!parsed) {
        return UsageError(ToBytes(parser.qt.errorText()));
    }
    if (auto repeated = RepeatedOption(parser.qt)) {
        return UsageError(*repeated);
    }
    ReadValues(parser, options);
    if (options.usageError) {
        return options;
    }
    return ReadPlaces(parser.qt.positionalArguments(), parser.qt.isSet(parser.list), options);
}

std::string CliHelpText() {
    const CliParser parser;
    // Qt's own first line names the program through QCoreApplication, which
    // olvanta-cli does without; the usage stands in its place.
    const QString sections = parser.qt.helpText();
    return kCliUsageText + sections.mid(sections.indexOf('\n') + 1).toStdString();
}

std::optional<TimeValue> ParseWallClock(const std::string& text) {
    // "2026-12-08 09:30", as people write it, besides the ISO form.
    std::string iso = text;
    if (iso.size() > 10 && iso[10] == ' ') {
        iso[10] = 'T';
    }
    const auto fields = ParseFields(iso, false);
    if (!fields || fields->year < kFirstCalendarYear) {
        return std::nullopt;
    }
    return SecondsOf(*fields);
}

std::optional<std::int64_t> ParseUniversalMoment(const std::string& text) {
    const auto fields = ParseFields(text, true);
    return fields ? std::optional<std::int64_t>(SecondsOf(*fields)) : std::nullopt;
}

std::optional<int> ParseTimeOfDay(const std::string& text) {
    if (text.size() != 5 || text[2] != ':') {
        return std::nullopt;
    }
    const auto hour = Digits(text, 0, 2);
    const auto minute = Digits(text, 3, 2);
    if (!hour || !minute || *hour > 23 || *minute > 59) {
        return std::nullopt;
    }
    return *hour * 60 + *minute;
}
