// How long a host takes from exec to its first painted frame, against how long an
// empty C++ program takes from exec to main, both started the same way: fork,
// exec, and the moment the program writes to descriptor 3 (see host/). Each
// benchmark starts its program a number of times and keeps the median.
//
// Run through startup.sh, which installs the package into a scratch prefix and
// builds both programs against it, as a host would:
//   startup_bench --first-frame=PATH --empty=PATH [--runs=N] [benchmark flags]
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/ratio_report.h"

namespace {

std::string firstFrameProgram;
std::string emptyProgram;
int runs = 31;
double medianEmpty = 0;
double medianFirstFrame = 0;

std::int64_t NowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Nanoseconds from just before the fork to the program's report; -1 when it
// reported nothing or failed.
std::int64_t TimeOneStart(const std::string& program) {
    int channel[2];
    if (pipe(channel) != 0) return -1;
    const std::int64_t start = NowNs();
    const pid_t child = fork();
    if (child == 0) {
        dup2(channel[1], 3);
        if (channel[0] != 3) close(channel[0]);
        if (channel[1] != 3) close(channel[1]);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(channel[1]);
    std::int64_t reported = -1;
    const bool got = child > 0 && read(channel[0], &reported, sizeof reported) == static_cast<ssize_t>(sizeof reported);
    close(channel[0]);
    int status = 0;
    if (child > 0) waitpid(child, &status, 0);
    if (!got || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return reported - start;
}

// The median of `runs` starts, in seconds; 0 when any start failed.
double MedianStart(const std::string& program) {
    std::vector<std::int64_t> times;
    for (int i = 0; i < runs; ++i) {
        const std::int64_t t = TimeOneStart(program);
        if (t < 0) return 0;
        times.push_back(t);
    }
    std::sort(times.begin(), times.end());
    return static_cast<double>(times[times.size() / 2]) * 1e-9;
}

void MeasureStarts(benchmark::State& state, const std::string& program, double& median) {
    if (program.empty()) {
        state.SkipWithError("no program given (run startup.sh)");
        return;
    }
    for (auto _ : state) {
        median = MedianStart(program);
        if (median <= 0) {
            state.SkipWithError(("the program did not start and report: " + program).c_str());
            return;
        }
        state.SetIterationTime(median);
    }
    state.counters["runs"] = runs;
}

void BM_ExecToMainEmptyProgram(benchmark::State& state) { MeasureStarts(state, emptyProgram, medianEmpty); }
BENCHMARK(BM_ExecToMainEmptyProgram)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ExecToFirstFrame10Lines(benchmark::State& state) {
    MeasureStarts(state, firstFrameProgram, medianFirstFrame);
}
BENCHMARK(BM_ExecToFirstFrame10Lines)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// Takes this program's own flags out of the arguments before the library sees them.
void TakeOwnFlags(int& argc, char** argv) {
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--first-frame=", 0) == 0) {
            firstFrameProgram = arg.substr(14);
        } else if (arg.rfind("--empty=", 0) == 0) {
            emptyProgram = arg.substr(8);
        } else if (arg.rfind("--runs=", 0) == 0) {
            runs = std::max(1, std::atoi(arg.c_str() + 7));
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
}

}  // namespace

int main(int argc, char** argv) {
    TakeOwnFlags(argc, argv);
    // Medians of wall time from fork to report: the ratio is printed from them,
    // not from the processor time of this program, which spends the wait asleep.
    return tq3::bench::RunAndPrintRatios(argc, argv, "Ratio of median start times:", [](const auto&) {
        if (medianEmpty <= 0 || medianFirstFrame <= 0) return;
        const double ratio = medianFirstFrame / medianEmpty;
        std::printf("%-48s %8.3f  (aim <= 2.00: %s)\n", "exec to first frame / exec to main", ratio,
                    ratio <= 2.0 ? "met" : "MISSED");
        std::printf("%-48s %8.3f ms / %.3f ms\n", "medians", medianFirstFrame * 1e3, medianEmpty * 1e3);
    });
}
