// olvanta-tzrefresh: remakes the zone file from this machine's time zone
// database for the zones that the locations file names, with nothing else:
// no city dataset, no network. Runs at build, at install and after every
// tzdata update; it never writes the locations file.

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "catalogue/LoadCatalogue.h"
#include "platform/ExecutablePath.h"
#include "tools/tzgen/AtomicFile.h"
#include "tools/tzgen/ZoneRefresh.h"
#include "tools/tzsource/DateText.h"
#include "tools/tzsource/TzdataTables.h"

namespace {

constexpr std::string_view kUsage =
    "usage: olvanta-tzrefresh [--zoneinfo DIR] [--locations FILE] [--out FILE] [--report]\n"
    "Makes the zone file (default: tmzn.tzd beside this program, its symbolic link\n"
    "followed) for the zones that the locations file (default: tmzn.tzd.Locations\n"
    "beside this program) names, from the zoneinfo in DIR (default /usr/share/zoneinfo),\n"
    "with the rules of the twelve months from today, or from the day of\n"
    "SOURCE_DATE_EPOCH when it is set. --report lists the zones whose rules depart\n"
    "from the database. Exit status 0 when the file holds the new rules.\n";

struct Options {
    std::filesystem::path zoneinfo = "/usr/share/zoneinfo";
    std::filesystem::path locations;
    std::filesystem::path out;
    bool report = false;
};

// The options as the usage gives them; false for anything else, an empty
// value included.
std::optional<Options> ParseOptions(const QStringList& arguments) {
    Options options;
    const QCommandLineOption zoneinfo("zoneinfo", "", "DIR");
    const QCommandLineOption locations("locations", "", "FILE");
    const QCommandLineOption out("out", "", "FILE");
    const QCommandLineOption report("report", "");
    QCommandLineParser parser;
    parser.addOptions({zoneinfo, locations, out, report});
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        return std::nullopt;
    }
    for (const auto& [option, path] :
         {std::pair{&zoneinfo, &options.zoneinfo}, std::pair{&locations, &options.locations},
          std::pair{&out, &options.out}}) {
        if (parser.isSet(*option)) {
            if (parser.value(*option).isEmpty()) {
                return std::nullopt;
            }
            *path = parser.value(*option).toStdString();
        }
    }
    options.report = parser.isSet(report);
    return options;
}

// The file a chain of symbolic links ends at, so that replacing it keeps the
// links (the Debian package's tmzn.tzd is a link to /var/lib/olvanta).
std::filesystem::path FollowLinks(std::filesystem::path path) {
    std::error_code error;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(path, error); ++hops) {
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error) {
            break;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

int Fail(const std::string& message) {
    std::cerr << "olvanta-tzrefresh: " << message << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const QCoreApplication application(argc, argv);
    std::optional<Options> parsed = ParseOptions(QCoreApplication::arguments());
    if (!parsed) {
        std::cerr << kUsage;
        return 2;
    }
    Options& options = *parsed;
    try {
        if (options.locations.empty() || options.out.empty()) {
            const std::filesystem::path here = platform::ExecutableDirectory();
            if (options.locations.empty()) {
                options.locations = here / kLocationsFileName;
            }
            if (options.out.empty()) {
                options.out = here / kZoneFileName;
            }
        }
        options.out = FollowLinks(options.out);
        tzgen::RefreshInput input;
        input.zoneinfoDirectory = std::filesystem::absolute(options.zoneinfo);
        const auto locations = tzsource::ReadTextFile(options.locations.string());
        if (!locations) {
            return Fail("cannot read " + options.locations.string());
        }
        input.locationsText = *locations;
        std::error_code error;
        if (std::filesystem::is_regular_file(options.out, error)) {
            input.previousZoneFile = tzsource::ReadTextFile(options.out.string()).value_or("");
        }
        const auto start = tzgen::WindowStartNow();
        if (!start) {
            return Fail("SOURCE_DATE_EPOCH is not a number of seconds");
        }
        input.window = tzgen::RuleWindow::FromStart(*start);
        const auto refreshed = tzgen::RefreshZoneFile(input);
        if (!refreshed) {
            return Fail("no zone that " + options.locations.string() + " names is in " +
                        input.zoneinfoDirectory.string());
        }
        const tzgen::FileReplacement replaced = tzgen::ReplaceFile(options.out, refreshed->text);
        if (replaced.outcome == tzgen::FileReplacement::Outcome::Failed) {
            return Fail(replaced.failure);
        }
        for (const std::string& zone : refreshed->missing) {
            std::cerr << "olvanta-tzrefresh: no zone " << zone << " in "
                      << input.zoneinfoDirectory.string() << ": its places count as UTC\n";
        }
        if (options.report) {
            for (const std::string& line : refreshed->report) {
                std::cerr << line << "\n";
            }
        }
        std::cout << options.out.string() << ": " << refreshed->zonesMade << " zones from tzdata "
                  << refreshed->tzdataVersion << " in " << input.zoneinfoDirectory.string()
                  << " for " << tzsource::DateText(input.window.start) << " to "
                  << tzsource::DateText(input.window.end);
        if (refreshed->zonesKept > 0) {
            std::cout << ", " << refreshed->zonesKept << " of one's own kept";
        }
        std::cout << (replaced.outcome == tzgen::FileReplacement::Outcome::Unchanged
                          ? " (unchanged)\n"
                          : "\n");
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
    return 0;
}
