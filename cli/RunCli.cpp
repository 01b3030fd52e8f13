#include "cli/RunCli.h"

#include <QFile>
#include <cerrno>
#include <chrono>
#include <optional>
#include <system_error>

#include "catalogue/LoadCatalogue.h"
#include "cli/CliOptions.h"
#include "cli/EscapedText.h"
#include "cli/PlaceMatch.h"
#include "olvanta/Config.h"
#include "places/PlaceList.h"
#include "platform/FrameworkError.h"
#include "platform/GccRestrictFalsePositive.h"
#include "timecalc/ResultTexts.h"
#include "timecalc/UiStringTable.h"
#include "timecalc/WallClock.h"

namespace {

constexpr const char* kProgram = "olvanta-cli: ";

std::string Quoted(std::string_view text) {
    // g++ 12 at -O3 takes this string copy for an overlapping one.
    OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_BEGIN
    return "'" + EscapedText(text) + "'";
    OLVANTA_GCC_RESTRICT_FALSE_POSITIVE_END
}

std::string Quoted(const QString& text) {
    return Quoted(text.toStdString());
}

// Why `file` cannot be read, in the system's words where it has them. The
// loader only says which file failed; asking the file system again after the
// failure is cheap, and happens only on the way out.
std::string WhyUnreadable(const std::filesystem::path& file) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (error) {
        return error.message();
    }
    if (std::filesystem::is_directory(status)) {
        return std::make_error_code(std::errc::is_a_directory).message();
    }
    if (!std::filesystem::is_regular_file(status)) {
        return "not a regular file";
    }
    QFile data(QString::fromStdString(file.string()));
    if (!data.open(QIODevice::ReadOnly)) {
        return data.errorString().toStdString();
    }
    return "cannot be read (another program may be writing it)";
}

std::optional<int> LoadData(const CliOptions& options, const CliEnvironment& environment,
                            Catalogue& zones, std::ostream& err) {
    const std::filesystem::path directory = options.dataDirectory
                                                ? std::filesystem::path(*options.dataDirectory)
                                                : environment.executableDirectory;
    const CatalogueFiles files = CatalogueFiles::InDirectory(directory);
    const LoadOutcome outcome = LoadCatalogue(zones, files);
    if (outcome == LoadOutcome::Loaded) {
        return std::nullopt;
    }
    const bool zoneFile = outcome == LoadOutcome::ZoneFileUnreadable;
    const std::filesystem::path& file = zoneFile ? files.zones : files.locations;
    err << UiText(zoneFile ? UiString::TimezonesDataError : UiString::LocationsDataError) << '\n'
        << kProgram << EscapedText(file.string()) << ": " << WhyUnreadable(file) << '\n';
    return kCliDataUnreadable;
}

int ListPlaces(const PlaceList& list, std::ostream& out) {
    for (int position = 0; position < list.Count() && out; ++position) {
        out << list.Text(position).toStdString() << '\n';
    }
    return kCliSuccess;
}

void ReportNoMatch(const std::string& typed, const PlaceMatch& match, std::ostream& err) {
    err << kProgram << "no place matches " << Quoted(typed) << '\n';
    if (match.suggestions.isEmpty()) {
        return;
    }
    err << kProgram << "did you mean: ";
    for (qsizetype i = 0; i < match.suggestions.size(); ++i) {
        err << (i > 0 ? ", " : "") << Quoted(match.suggestions[i]);
    }
    err << '\n';
}

// The base place and then the remote places, or nothing once every name that
// matches nothing has been reported. A place found by its beginning is named,
// so that a caller sees which entry stood in for the text.
std::optional<std::vector<PlaceMatch>> MatchAll(const std::vector<std::string>& typed,
                                                const PlaceList& list, const Catalogue& zones,
                                                std::ostream& err) {
    std::vector<PlaceMatch> matches;
    bool matched = true;
    for (const std::string& name : typed) {
        matches.push_back(MatchPlace(list, zones, name));
        if (matches.back().kind == PlaceMatch::Kind::None) {
            ReportNoMatch(name, matches.back(), err);
            matched = false;
        }
    }
    if (!matched) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < matches.size(); ++i) {
        if (matches[i].kind == PlaceMatch::Kind::Prefix) {
            err << kProgram << Quoted(typed[i]) << " taken as " << Quoted(matches[i].entry) << '\n';
        }
    }
    return matches;
}

std::string DescribeFailure(const platform::FrameworkError& error) {
    if (error.Status() == platform::ErrorStatus::Fail) {
        return "the converted time falls outside the calendar's range (the years " +
               std::to_string(kFirstCalendarYear) + " to " + std::to_string(kLastCalendarYear) +
               ")";
    }
    return std::string("the conversion failed: ") + error.what();
}

// The base place's wall-clock time to convert: --at, or now there.
TimeValue EnteredTime(const CliOptions& options, const CTimeZone* base,
                      const platform::Clock& clock) {
    if (options.at) {
        return *options.at;
    }
    const TimeValue now = CurrentWallClockAt(base, clock);
    if (!options.atMinuteOfDay) {
        return now;
    }
    using namespace std::chrono;
    const sys_days today = floor<days>(sys_seconds(seconds(now)));
    return duration_cast<seconds>(today.time_since_epoch()).count() + *options.atMinuteOfDay * 60;
}

std::string DifferenceText(std::optional<int> minutes) {
    return minutes ? FormatMinutes(*minutes) : "";
}

// The window's two labels and result area, as they stand. With --at, the
// difference at the entered time follows on a line of its own: the window's
// difference is the present one.
void PrintLikeTheWindow(const ResultTexts& texts, bool timeEntered, std::ostream& out) {
    out << texts.baseLabel.value_or(kBaseLabelInitialText) << '\n'
        << texts.remoteLabel.value_or(kRemoteLabelInitialText) << '\n'
        << texts.result << '\n';
    if (timeEntered) {
        out << UiText(UiString::TimeDifference)
            << " at the entered time : " << DifferenceText(texts.differenceAtEntered) << '\n';
    }
}

// The offset part of a label, "GMT-5   DST:1"; empty where the window shows none.
std::string OffsetOf(const std::optional<std::string>& label) {
    return label ? label->substr(label->find(": ") + 2) : "";
}

// One line of fields separated by tabs: the place, its offset, the time, the
// date, and the difference to the base place now and at the converted time.
void PrintLine(const PlaceMatch& place, const std::string& typed, const ResultTexts& texts,
               std::ostream& out) {
    const std::string name =
        place.kind == PlaceMatch::Kind::ZoneName ? typed : place.entry.toStdString();
    out << EscapedText(name) << '\t' << OffsetOf(texts.remoteLabel) << '\t' << texts.remoteClock
        << '\t' << texts.remoteDate << '\t' << DifferenceText(texts.differenceNow) << '\t'
        << DifferenceText(texts.differenceAtEntered) << '\n';
}

int Convert(const CliOptions& options, const PlaceList& list, const Catalogue& zones,
            const CliEnvironment& environment, std::ostream& out, std::ostream& err) {
    std::vector<std::string> typed{options.base};
    typed.insert(typed.end(), options.remotes.begin(), options.remotes.end());
    const auto places = MatchAll(typed, list, zones, err);
    if (!places) {
        return kCliUsage;
    }
    try {
        const CTimeZone* base = places->front().zone;
        const TimeValue entered = EnteredTime(options, base, environment.clock);
        const SYSTEMTIME now = options.nowSecondsSinceEpoch
                                   ? UniversalCalendarTime(*options.nowSecondsSinceEpoch)
                                   : CurrentUniversalTime(environment.clock);
        if (places->size() == 2) {
            PrintLikeTheWindow(ComposeResult(base, places->back().zone, entered, now),
                               options.at || options.atMinuteOfDay, out);
            return kCliSuccess;
        }
        // Every place is converted before anything is printed, so that a
        // conversion outside the calendar leaves the output empty. The base
        // place is converted to itself for its own line.
        std::vector<ResultTexts> results;
        for (const PlaceMatch& place : *places) {
            results.push_back(ComposeResult(base, place.zone, entered, now));
        }
        for (std::size_t i = 0; i < places->size(); ++i) {
            PrintLine((*places)[i], typed[i], results[i], out);
        }
        return kCliSuccess;
    } catch (const platform::FrameworkError& error) {
        err << kProgram << DescribeFailure(error) << '\n';
        return kCliConversion;
    }
}

int Run(const CliOptions& options, const CliEnvironment& environment, std::ostream& out,
        std::ostream& err) {
    switch (options.mode) {
        case CliOptions::Mode::Help: out << CliHelpText(); return kCliSuccess;
        case CliOptions::Mode::Version:
            out << "olvanta-cli " << OLVANTA_VERSION << '\n';
            return kCliSuccess;
        case CliOptions::Mode::List:
        case CliOptions::Mode::Convert: break;
    }
    Catalogue zones;
    if (const auto failure = LoadData(options, environment, zones, err)) {
        return *failure;
    }
    const PlaceList list = PlaceList::FromCatalogue(zones);
    return options.mode == CliOptions::Mode::List
               ? ListPlaces(list, out)
               : Convert(options, list, zones, environment, out, err);
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments, const CliEnvironment& environment,
           std::ostream& out, std::ostream& err) {
    const CliOptions options = ParseCliOptions(arguments);
    if (options.usageError) {
        err << kProgram << EscapedText(*options.usageError) << '\n' << kCliUsageText;
        return kCliUsage;
    }
    // Whatever the system reports for a failed write is then the reason.
    errno = 0;
    const int status = Run(options, environment, out, err);
    // A full disk or a closed pipe shows only when the output is flushed.
    if (!out.flush()) {
        const int reason = errno != 0 ? errno : EIO;
        err << kProgram << "cannot write output: " << std::generic_category().message(reason)
            << '\n';
        return kCliWriteFailed;
    }
    return status;
}
