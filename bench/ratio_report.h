// Ratios between benchmarks of one run, printed after Google Benchmark's own table.
// A ratio measured within one run on one machine says more than an absolute time,
// and processor time rather than wall time is kept: on a machine shared with other
// work the wall time of a run includes waiting for a processor.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace tq3::bench {

// Keeps each run's processor time per iteration, in microseconds.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
            times[run.benchmark_name()] = run.GetAdjustedCPUTime() * MicrosecondsPer(run.time_unit);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;

private:
    static double MicrosecondsPer(benchmark::TimeUnit unit) {
        switch (unit) {
        case benchmark::kNanosecond: return 0.001;
        case benchmark::kMillisecond: return 1000.0;
        case benchmark::kSecond: return 1000000.0;
        default: return 1.0;
        }
    }
};

// Prints a/b against its aim; a pair of which one side did not run prints nothing.
inline void PrintRatio(const RatioReporter& r, const char* what, const std::string& a, const std::string& b,
                       double aim) {
    auto ia = r.times.find(a);
    auto ib = r.times.find(b);
    if (ia == r.times.end() || ib == r.times.end() || ib->second <= 0) return;
    const double ratio = ia->second / ib->second;
    std::printf("%-48s %8.3f  (aim <= %.2f: %s)\n", what, ratio, aim, ratio <= aim ? "met" : "MISSED");
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
