// Start-up of the window against a minimal Qt dialog, both offscreen: the
// time from starting the process to the first paint and to the window being
// ready (the work it queued while starting done), the resident memory, and
// typing a prefix into a list and leaving it. Runs each case N times (default
// 20) and prints medians and the ratios the goals are stated in.
//   startup_bench [RUNS] [--large]   (--large adds 1,000,000 places)
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "SyntheticData.h"
#include "platform/ExecutablePath.h"
#include "support/TempDir.h"

namespace {

struct Sample {
    double shownMs = 0;
    double readyMs = 0;  // the work the window queued while starting done
    double residentMb = 0;
    double typeLeaveMs = 0;
};

std::optional<double> Field(const std::string& output, const std::string& name) {
    const std::size_t at = output.find(name + "=");
    if (at == std::string::npos) {
        return std::nullopt;
    }
    return std::strtod(output.c_str() + at + name.size() + 1, nullptr);
}

Sample RunOnce(const std::vector<std::string>& arguments) {
    const auto start = std::chrono::duration_cast<std::chrono::nanoseconds>(
                           std::chrono::steady_clock::now().time_since_epoch())
                           .count();
    QProcess probe;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    probe.setProcessEnvironment(environment);
    QStringList probeArguments;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        probeArguments << QString::fromStdString(arguments[i]);
    }
    probe.start(QString::fromStdString(arguments[0]), probeArguments);
    const bool finished = probe.waitForFinished(120'000);
    const std::string output = probe.readAllStandardOutput().toStdString();
    const auto shown = Field(output, "shown_ns");
    const auto resident = Field(output, "rss_kb");
    if (!finished || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0 ||
        !shown || !resident) {
        std::fprintf(stderr, "probe %s failed: %s\n", arguments[1].c_str(), output.c_str());
        std::exit(1);
    }
    const double ready = Field(output, "ready_ns").value_or(*shown);
    return Sample{(*shown - static_cast<double>(start)) / 1e6,
                  (ready - static_cast<double>(start)) / 1e6, *resident / 1024.0,
                  Field(output, "type_leave_ms").value_or(0)};
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Summary {
    double shownMs;
    double readyMs;
    double residentMb;
    double typeLeaveMs;
};

// The settings directory lives as long as the program, so that every run but
// the first finds its settings as a user's later starts do.
const TempDir& SettingsDirectory() {
    static const TempDir directory;
    return directory;
}

Summary Measure(const std::string& probe, const std::string& argument, int runs) {
    std::vector<std::string> arguments{probe, argument};
    if (argument != "--minimal") {
        arguments.push_back(SettingsDirectory().Path().string());
        RunOnce(arguments);  // the first start creates the settings; not counted
    }
    std::vector<double> shown;
    std::vector<double> ready;
    std::vector<double> resident;
    std::vector<double> typing;
    for (int i = 0; i < runs; ++i) {
        const Sample sample = RunOnce(arguments);
        shown.push_back(sample.shownMs);
        ready.push_back(sample.readyMs);
        resident.push_back(sample.residentMb);
        typing.push_back(sample.typeLeaveMs);
    }
    return Summary{Median(shown), Median(ready), Median(resident), Median(typing)};
}

const char* Verdict(bool met) {
    return met ? "met" : "MISSED";
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const bool large = argc > 2 && std::string(argv[2]) == "--large";
    const std::filesystem::path bin = platform::ExecutableDirectory().parent_path() / "bin";
    const std::string probe = (bin / "olvanta-startup-probe").string();

    const TempDir empty;
    bench::WriteSyntheticCatalogue(empty.Path(), 1, 0, bench::PlaceOrder::GroupedByZone);
    const TempDir medium;
    bench::WriteSyntheticCatalogue(medium.Path(), 2'000, 200'000, bench::PlaceOrder::Shuffled);

    std::printf("%d runs each, medians; offscreen\n", runs);
    const Summary minimal = Measure(probe, "--minimal", runs);
    const Summary shipped = Measure(probe, bin.string(), runs);
    const Summary none = Measure(probe, empty.Path().string(), runs);
    const Summary places200k = Measure(probe, medium.Path().string(), runs);
    std::printf("minimal Qt dialog:            shown %7.1f ms, resident %6.1f MB\n",
                minimal.shownMs, minimal.residentMb);
    std::printf("window, shipped data:         shown %7.1f ms, ready %7.1f ms, resident %6.1f MB\n",
                shipped.shownMs, shipped.readyMs, shipped.residentMb);
    std::printf("window, no places:            shown %7.1f ms, resident %6.1f MB\n", none.shownMs,
                none.residentMb);
    std::printf(
        "window, 200,000 places:       shown %7.1f ms, ready %7.1f ms, resident %6.1f MB, "
        "type+leave %.2f ms\n",
        places200k.shownMs, places200k.readyMs, places200k.residentMb, places200k.typeLeaveMs);
    const double ratio = shipped.shownMs / minimal.shownMs;
    // The start-up goal is judged on a real X server, where mapping the window
    // costs what it costs users (window-startup, at most 1.25).
    std::printf("start-up ratio shipped/minimal, offscreen: %.2f\n", ratio);
    std::printf(
        "resident memory above the minimal dialog, shipped data: %.1f MB (goal: at most 10) %s\n",
        shipped.residentMb - minimal.residentMb,
        Verdict(shipped.residentMb - minimal.residentMb <= 10));
    std::printf(
        "200,000 places shown in %.1f ms, ready in %.1f ms (goal: at most 1000; minimal dialog "
        "%.1f ms) %s\n",
        places200k.shownMs, places200k.readyMs, minimal.shownMs,
        Verdict(places200k.readyMs <= 1000));
    std::printf(
        "200,000 places, typing a prefix and leaving the list: %.2f ms (goal: under 16) %s\n",
        places200k.typeLeaveMs, Verdict(places200k.typeLeaveMs < 16));
    std::printf("shipped data, typing a prefix and leaving the list: %.2f ms\n",
                shipped.typeLeaveMs);

    if (large) {
        const TempDir huge;
        bench::WriteSyntheticCatalogue(huge.Path(), 10'000, 1'000'000, bench::PlaceOrder::Shuffled);
        const Summary places1m = Measure(probe, huge.Path().string(), runs);
        const double perPlace = (places1m.residentMb - none.residentMb) * 1024 * 1024 / 1e6;
        // Five times the 200,000 places the goals are set for, and far beyond
        // the data users have: how the window holds up, not a goal.
        std::printf(
            "1,000,000 places shown in %.1f ms, ready in %.1f ms (minimal dialog %.1f ms)\n",
            places1m.shownMs, places1m.readyMs, minimal.shownMs);
        std::printf("1,000,000 places, typing a prefix and leaving the list: %.2f ms\n",
                    places1m.typeLeaveMs);
        std::printf(
            "resident memory per place: %.0f bytes (growth over no places; goal: at most 300) %s\n",
            perPlace, Verdict(perPlace <= 300));
    }
    return 0;
}
