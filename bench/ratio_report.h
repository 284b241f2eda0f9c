// Ratios between benchmarks of one run, printed after Google Benchmark's own table.
// A ratio measured within one run on one machine says more than an absolute time,
// and processor time rather than wall time is kept: on a machine shared with other
// work the wall time of a run includes waiting for a processor.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tq3::bench {

// Keeps each run's processor time per iteration, in microseconds.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const double time = run.GetAdjustedCPUTime() * MicrosecondsPer(run.time_unit);
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians[run.run_name.str()] = time;
            } else if (run.run_type == Run::RT_Iteration && run.iterations != 0) {
                times[run.benchmark_name()] = time;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // The time of benchmark `name`: the median of its repetitions when it had them,
    // else its one run's; null when it did not run.
    const double* TimeOf(const std::string& name) const {
        if (auto m = medians.find(name); m != medians.end()) return &m->second;
        if (auto t = times.find(name); t != times.end()) return &t->second;
        return nullptr;
    }

private:
    std::map<std::string, double> times;    // each run's, the last repetition's when repeated
    std::map<std::string, double> medians;  // the repetitions' median, when repeated

    static double MicrosecondsPer(benchmark::TimeUnit unit) {
        switch (unit) {
        case benchmark::kNanosecond: return 0.001;
        case benchmark::kMillisecond: return 1000.0;
        case benchmark::kSecond: return 1000000.0;
        default: return 1.0;
        }
    }
};

// a/b of the run's times; nothing when one side did not run.
inline std::optional<double> RatioOf(const RatioReporter& r, const std::string& a, const std::string& b) {
    const double* ta = r.TimeOf(a);
    const double* tb = r.TimeOf(b);
    if (ta == nullptr || tb == nullptr || *tb <= 0) return std::nullopt;
    return *ta / *tb;
}

// Prints a/b against its aim; a pair of which one side did not run prints nothing.
inline void PrintRatio(const RatioReporter& r, const char* what, const std::string& a, const std::string& b,
                       double aim) {
    if (const auto ratio = RatioOf(r, a, b)) {
        std::printf("%-48s %8.3f  (aim <= %.2f: %s)\n", what, *ratio, aim, *ratio <= aim ? "met" : "MISSED");
    }
}

// Prints a/b with no aim, for a figure that explains the others.
inline void PrintRatioAlone(const RatioReporter& r, const char* what, const std::string& a, const std::string& b) {
    if (const auto ratio = RatioOf(r, a, b)) std::printf("%-48s %8.3f\n", what, *ratio);
}

// The program's main: runs the benchmarks, then prints `title` and the ratios
// `print` asks for of the run's times.
template <typename PrintRatios>
int RunAndPrintRatios(int argc, char** argv, const char* title, PrintRatios print) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%s\n", title);
    print(reporter);
    benchmark::Shutdown();
    return 0;
}

}  // namespace tq3::bench
