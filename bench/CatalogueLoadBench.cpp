// Loading the catalogue against merely reading its two files line by line:
// 10,000 zones and 1,000,000 places, once with the places grouped by zone as a
// data file is written and once bound to zones in random order. Goal: the load
// takes at most twice as long as the plain reading.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "SyntheticData.h"
#include "catalogue/LoadCatalogue.h"
#include "support/TempDir.h"

namespace {

constexpr std::size_t kZones = 10'000;
constexpr std::size_t kPlaces = 1'000'000;

CatalogueFiles FilesFor(bench::PlaceOrder order) {
    static std::map<bench::PlaceOrder, TempDir> directories;
    auto [where, fresh] = directories.try_emplace(order);
    if (fresh) {
        bench::WriteSyntheticCatalogue(where->second.Path(), kZones, kPlaces, order);
    }
    return CatalogueFiles::InDirectory(where->second.Path());
}

// The baseline: every line of both files read with the C library's getline.
std::size_t ReadLinesPlainly(const std::filesystem::path& path) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) {
        std::abort();
    }
    char* line = nullptr;
    std::size_t capacity = 0;
    std::size_t count = 0;
    while (::getline(&line, &capacity, file) >= 0) {
        ++count;
    }
    std::free(line);
    std::fclose(file);
    return count;
}

void PlainLineReading(benchmark::State& state, bench::PlaceOrder order) {
    const CatalogueFiles files = FilesFor(order);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadLinesPlainly(files.zones) + ReadLinesPlainly(files.locations));
    }
}

void LoadCatalogue(benchmark::State& state, bench::PlaceOrder order) {
    const CatalogueFiles files = FilesFor(order);
    for (auto _ : state) {
        Catalogue zones;
        if (LoadCatalogue(zones, files) != LoadOutcome::Loaded) {
            state.SkipWithError("load failed");
        }
        benchmark::DoNotOptimize(zones.Size());
        state.PauseTiming();  // freeing is not loading
        zones.ClearCatalogue();
        state.ResumeTiming();
    }
}

BENCHMARK_CAPTURE(PlainLineReading, Grouped, bench::PlaceOrder::GroupedByZone)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);
BENCHMARK_CAPTURE(LoadCatalogue, Grouped, bench::PlaceOrder::GroupedByZone)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);
BENCHMARK_CAPTURE(PlainLineReading, Shuffled, bench::PlaceOrder::Shuffled)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);
BENCHMARK_CAPTURE(LoadCatalogue, Shuffled, bench::PlaceOrder::Shuffled)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.5);

}  // namespace

int main(int argc, char** argv) {
    // Five repetitions of each, interleaved at random so that a busy spell of
    // the machine falls on both sides of a ratio; the medians are compared.
    std::vector<char*> arguments(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=5";
    std::string interleaving = "--benchmark_enable_random_interleaving=true";
    arguments.insert(arguments.begin() + 1, {repetitions.data(), interleaving.data()});
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("catalogue load / plain reading, places grouped by zone",
                        "LoadCatalogue/Grouped", "PlainLineReading/Grouped", 2.0);
    reporter.PrintRatio("catalogue load / plain reading, places in random zone order",
                        "LoadCatalogue/Shuffled", "PlainLineReading/Shuffled", 2.0);
    benchmark::Shutdown();
    return 0;
}
