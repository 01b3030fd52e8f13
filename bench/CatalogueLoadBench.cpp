// Loading the catalogue against merely reading its two files line by line:
// the shipped data (goal: a load within 2 ms) and 200,000 generated places in
// 1,000 zones, grouped by zone as a data file is written and bound to zones in
// random order (goal: at most three times the plain reading). Then the memory
// a loaded catalogue of 1,000,000 places takes per place (goal: at most 300
// bytes).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <list>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "SyntheticData.h"
#include "catalogue/LoadCatalogue.h"
#include "support/TempDir.h"

namespace {

constexpr std::size_t kZones = 1'000;
constexpr std::size_t kPlaces = 200'000;
constexpr std::size_t kMemoryPlaces = 1'000'000;

CatalogueFiles ShippedFiles() {
    return CatalogueFiles::InDirectory(OLVANTA_SHIPPED_DATA);
}

CatalogueFiles SyntheticFiles(bench::PlaceOrder order, std::size_t places) {
    static std::list<TempDir> directories;  // removed when the program ends
    const TempDir& directory = directories.emplace_back();
    bench::WriteSyntheticCatalogue(directory.Path(), kZones, places, order);
    return CatalogueFiles::InDirectory(directory.Path());
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

void PlainLineReading(benchmark::State& state, const CatalogueFiles& files) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadLinesPlainly(files.zones) + ReadLinesPlainly(files.locations));
    }
}

void LoadCatalogue(benchmark::State& state, const CatalogueFiles& files) {
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

void Register(const std::string& name, const CatalogueFiles& files, benchmark::TimeUnit unit) {
    for (const auto& [kind, run] : {std::pair{"PlainLineReading/", &PlainLineReading},
                                    std::pair{"LoadCatalogue/", &LoadCatalogue}}) {
        benchmark::RegisterBenchmark((kind + name).c_str(), run, files)
            ->Unit(unit)
            ->MinTime(0.05)
            ->Repetitions(30)
            ->ReportAggregatesOnly(true);
    }
}

std::size_t BytesInUse() {
    const struct mallinfo2 info = ::mallinfo2();
    return info.uordblks + info.hblkhd;
}

// The heap a loaded catalogue holds, per place.
double BytesPerPlace() {
    const CatalogueFiles files = SyntheticFiles(bench::PlaceOrder::Shuffled, kMemoryPlaces);
    const std::size_t before = BytesInUse();
    Catalogue zones;
    if (LoadCatalogue(zones, files) != LoadOutcome::Loaded) {
        std::abort();
    }
    return static_cast<double>(BytesInUse() - before) / kMemoryPlaces;
}

}  // namespace

int main(int argc, char** argv) {
    Register("Shipped", ShippedFiles(), benchmark::kMicrosecond);
    Register("Grouped200k", SyntheticFiles(bench::PlaceOrder::GroupedByZone, kPlaces),
             benchmark::kMillisecond);
    Register("Shuffled200k", SyntheticFiles(bench::PlaceOrder::Shuffled, kPlaces),
             benchmark::kMillisecond);
    // Thirty repetitions of each, interleaved at random so that a busy spell
    // of the machine falls on both sides of a ratio; the medians are compared.
    std::vector<char*> arguments(argv, argv + argc);
    std::string interleaving = "--benchmark_enable_random_interleaving=true";
    arguments.insert(arguments.begin() + 1, interleaving.data());
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const double shipped = reporter.Seconds("LoadCatalogue/Shipped") * 1e3;
    std::printf("shipped data load: %.3f ms, plain reading %.3f ms (goal: at most 2 ms) %s\n",
                shipped, reporter.Seconds("PlainLineReading/Shipped") * 1e3,
                shipped > 0 && shipped <= 2.0 ? "met" : "MISSED");
    reporter.PrintRatio("200,000 places grouped by zone, load / plain reading",
                        "LoadCatalogue/Grouped200k", "PlainLineReading/Grouped200k", 3.0);
    reporter.PrintRatio("200,000 places in random zone order, load / plain reading",
                        "LoadCatalogue/Shuffled200k", "PlainLineReading/Shuffled200k", 3.0);
    const double perPlace = BytesPerPlace();
    std::printf("heap per place, 1,000,000 places: %.0f bytes (goal: at most 300) %s\n", perPlace,
                perPlace <= 300 ? "met" : "MISSED");
    benchmark::Shutdown();
    return 0;
}
