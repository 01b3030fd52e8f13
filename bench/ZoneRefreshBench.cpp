// The zone refresh as dpkg's trigger runs it: olvanta-tzrefresh started as a
// process, over this machine's zoneinfo and the shipped locations file, into
// a fresh directory each time so that it always writes. Prints every run and
// the median.
//   zone_refresh_bench [RUNS]   (default 10)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/RunProgram.h"
#include "support/TempDir.h"

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const std::string locations = std::string(OLVANTA_SHIPPED_DATA) + "/tmzn.tzd.Locations";
    std::vector<double> milliseconds;
    for (int run = 0; run < runs; ++run) {
        TempDir out;
        const auto start = std::chrono::steady_clock::now();
        const int status =
            RunProgram(OLVANTA_TZREFRESH,
                       {"--locations", locations, "--out", (out.Path() / "tmzn.tzd").string()},
                       {(out.Path() / "stdout").string(), (out.Path() / "stderr").string()});
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        if (status != 0) {
            std::fprintf(stderr, "olvanta-tzrefresh failed with status %d\n", status);
            return 1;
        }
        milliseconds.push_back(took.count());
        std::printf("run %d: %.1f ms\n", run + 1, took.count());
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    const std::size_t middle = milliseconds.size() / 2;
    const double median = milliseconds.size() % 2 != 0
                              ? milliseconds[middle]
                              : (milliseconds[middle - 1] + milliseconds[middle]) / 2;
    std::printf("zone refresh, shipped locations file, median of %d: %.1f ms\n", runs, median);
    return 0;
}
