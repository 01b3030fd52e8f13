// A console reporter that also remembers each benchmark's mean real time per
// iteration, so a program can print the ratios its goals are stated in.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // With repetitions, the median stands for the benchmark: on a shared
    // machine a single slow repetition would otherwise decide the ratio.
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                continue;
            }
            const double seconds = run.GetAdjustedRealTime() * TimeUnitFactor(run.time_unit);
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                m_seconds[name] = seconds;
                m_fromMedian[name] = true;
            } else if (run.run_type == Run::RT_Iteration && !m_fromMedian[name]) {
                m_seconds[name] = seconds;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    double Seconds(const std::string& name) const {
        const auto found = m_seconds.find(name);
        return found == m_seconds.end() ? 0.0 : found->second;
    }

    // Prints "label: a / b = ratio (goal)" and returns whether the goal is met.
    bool PrintRatio(const char* label, const std::string& numerator, const std::string& denominator,
                    double goal) const {
        const double a = Seconds(numerator);
        const double b = Seconds(denominator);
        if (a <= 0 || b <= 0) {
            std::printf("%s: not measured in this run\n", label);
            return false;
        }
        const double ratio = a / b;
        std::printf("%s: %.2f ms / %.2f ms = %.2f (goal: at most %.2f) %s\n", label, a * 1e3,
                    b * 1e3, ratio, goal, ratio <= goal ? "met" : "MISSED");
        return ratio <= goal;
    }

private:
    static double TimeUnitFactor(benchmark::TimeUnit unit) {
        switch (unit) {
            case benchmark::kNanosecond: return 1e-9;
            case benchmark::kMicrosecond: return 1e-6;
            case benchmark::kMillisecond: return 1e-3;
            case benchmark::kSecond: return 1.0;
        }
        return 1.0;
    }

    std::map<std::string, double> m_seconds;
    std::map<std::string, bool> m_fromMedian;
};

}  // namespace bench
