#include "cli/RunCli.h"

#include <optional>

#include "catalogue/LoadCatalogue.h"
#include "cli/CliOptions.h"
#include "olvanta/Config.h"
#include "places/PlaceList.h"
#include "platform/FrameworkError.h"
#include "timecalc/ResultTexts.h"
#include "timecalc/UiStringTable.h"
#include "timecalc/WallClock.h"

namespace {

std::optional<int> LoadData(const CliOptions& options, const CliEnvironment& environment,
                            Catalogue& zones, std::ostream& err) {
    const std::filesystem::path directory = options.dataDirectory
                                                ? std::filesystem::path(*options.dataDirectory)
                                                : environment.executableDirectory;
    switch (LoadCatalogue(zones, CatalogueFiles::InDirectory(directory))) {
        case LoadOutcome::Loaded: return std::nullopt;
        case LoadOutcome::ZoneFileUnreadable:
            err << UiText(UiString::TimezonesDataError) << '\n';
            return kCliDataUnreadable;
        case LoadOutcome::LocationsFileUnreadable:
            err << UiText(UiString::LocationsDataError) << '\n';
            return kCliDataUnreadable;
    }
    return kCliDataUnreadable;
}

// The entry a person typing `typed` into the list ends up with: a whole,
// case-blind match first, otherwise what the list selects when left.
int ResolvePlace(const PlaceList& list, const std::string& typed) {
    const QString text = QString::fromUtf8(typed.data(), static_cast<qsizetype>(typed.size()));
    const int exact = list.FindExact(text);
    return exact >= 0 ? exact : list.FindTypedPlace(text);
}

// The result area writes "\r\n" line ends; a terminal wants "\n".
std::string WithUnixLineEnds(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            out += text[i];
        }
    }
    return out;
}

int ListPlaces(const PlaceList& list, std::ostream& out) {
    for (int position = 0; position < list.Count(); ++position) {
        out << list.Text(position).toStdString() << '\n';
    }
    return kCliSuccess;
}

int Convert(const CliOptions& options, const PlaceList& list, const CliEnvironment& environment,
            std::ostream& out, std::ostream& err) {
    const int base = ResolvePlace(list, options.base);
    const int remote = ResolvePlace(list, options.remote);
    for (const auto& [position, typed] :
         {std::pair{base, &options.base}, std::pair{remote, &options.remote}}) {
        if (position < 0) {
            err << "olvanta-cli: no place matches '" << *typed << "'\n";
            return kCliUsage;
        }
    }
    try {
        const TimeValue entered = options.at ? *options.at : CurrentLocalTime(environment.clock);
        const SYSTEMTIME now = options.nowSecondsSinceEpoch
                                   ? UniversalCalendarTime(*options.nowSecondsSinceEpoch)
                                   : CurrentUniversalTime(environment.clock);
        const ResultTexts texts = ComposeResult(list.Zone(base), list.Zone(remote), entered, now);
        out << texts.baseLabel.value_or(kBaseLabelInitialText) << '\n'
            << texts.remoteLabel.value_or(kRemoteLabelInitialText) << '\n'
            << WithUnixLineEnds(texts.result) << '\n';
        return kCliSuccess;
    } catch (const platform::FrameworkError& error) {
        err << "olvanta-cli: the conversion failed: " << error.what() << '\n';
        return kCliConversion;
    }
}

}  // namespace

int RunCli(const std::vector<std::string>& arguments, const CliEnvironment& environment,
           std::ostream& out, std::ostream& err) {
    const auto parsed = ParseCliOptions(arguments);
    if (const auto* usageError = std::get_if<CliUsageError>(&parsed)) {
        err << "olvanta-cli: " << usageError->message << '\n' << kCliUsageText;
        return kCliUsage;
    }
    const CliOptions& options = std::get<CliOptions>(parsed);
    if (options.mode == CliOptions::Mode::Help) {
        out << kCliUsageText;
        return kCliSuccess;
    }
    if (options.mode == CliOptions::Mode::Version) {
        out << "olvanta-cli " << OLVANTA_VERSION << '\n';
        return kCliSuccess;
    }
    Catalogue zones;
    if (const auto failure = LoadData(options, environment, zones, err)) {
        return *failure;
    }
    const PlaceList list = PlaceList::FromCatalogue(zones);
    return options.mode == CliOptions::Mode::List ? ListPlaces(list, out)
                                                  : Convert(options, list, environment, out, err);
}
