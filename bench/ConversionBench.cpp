// Composing the window's texts for 10,000 random zone pairs and times, and
// forming a place list of 200,000 places with 1,000 prefix searches in it.
#include <benchmark/benchmark.h>

#include <QLocale>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include "SyntheticData.h"
#include "catalogue/LoadCatalogue.h"
#include "places/PlaceList.h"
#include "support/TempDir.h"
#include "timecalc/ResultTexts.h"

namespace {

const Catalogue& SyntheticCatalogue(std::size_t zones, std::size_t places) {
    static std::map<std::pair<std::size_t, std::size_t>, std::unique_ptr<Catalogue>> loaded;
    auto& catalogue = loaded[{zones, places}];
    if (!catalogue) {
        const TempDir directory;
        bench::WriteSyntheticCatalogue(directory.Path(), zones, places,
                                       bench::PlaceOrder::Shuffled);
        catalogue = std::make_unique<Catalogue>();
        LoadCatalogue(*catalogue, CatalogueFiles::InDirectory(directory.Path()));
    }
    return *catalogue;
}

void ComposeResultForRandomPairs(benchmark::State& state) {
    std::vector<const CTimeZone*> zones;
    SyntheticCatalogue(400, 0).ForEach([&zones](const CTimeZone& zone) { zones.push_back(&zone); });
    zones.push_back(nullptr);  // "UTC"
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, zones.size() - 1);
    std::uniform_int_distribution<TimeValue> moment(ToTimeValue({2020, 1, 3, 1, 0, 0, 0, 0}),
                                                    ToTimeValue({2030, 1, 3, 1, 0, 0, 0, 0}));
    struct Conversion {
        const CTimeZone* base;
        const CTimeZone* remote;
        TimeValue entered;
    };
    std::vector<Conversion> conversions(10'000);
    for (Conversion& conversion : conversions) {
        conversion = {zones[pick(random)], zones[pick(random)], moment(random)};
    }
    const SYSTEMTIME now = UniversalCalendarTime(1782907230);
    for (auto _ : state) {
        for (const Conversion& c : conversions) {
            benchmark::DoNotOptimize(ComposeResult(c.base, c.remote, c.entered, now));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(conversions.size()));
}

QCollator EnglishCollator() {
    QCollator collator{QLocale(QLocale::English, QLocale::UnitedStates)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

void FormPlaceListOf200000(benchmark::State& state) {
    const Catalogue& catalogue = SyntheticCatalogue(2'000, 200'000);
    const QCollator collator = EnglishCollator();
    for (auto _ : state) {
        const PlaceList list = PlaceList::FromCatalogue(catalogue, collator);
        benchmark::DoNotOptimize(list.Count());
    }
}

void ThousandPrefixSearchesIn200000(benchmark::State& state) {
    const PlaceList list =
        PlaceList::FromCatalogue(SyntheticCatalogue(2'000, 200'000), EnglishCollator());
    std::mt19937 random(11);
    std::uniform_int_distribution<int> position(0, list.Count() - 1);
    std::uniform_int_distribution<int> length(1, 6);
    std::vector<QString> typed(1'000);
    for (std::size_t i = 0; i < typed.size(); ++i) {
        // Prefixes of real entries, lower-cased, and every tenth one that
        // matches nothing, which makes the search look at every candidate.
        typed[i] = list.Text(position(random)).left(length(random)).toLower();
        if (i % 10 == 0) {
            typed[i] += QChar(0x2603);
        }
    }
    for (auto _ : state) {
        for (const QString& text : typed) {
            benchmark::DoNotOptimize(list.FindTypedPlace(text));
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(typed.size()));
}

BENCHMARK(ComposeResultForRandomPairs)->Unit(benchmark::kMillisecond);
BENCHMARK(FormPlaceListOf200000)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(ThousandPrefixSearchesIn200000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
