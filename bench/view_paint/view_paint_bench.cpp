// The table view on screen: a full repaint of a 1920x1080 view (strips, tabs, cells
// and a selection) of a sheet of 10 columns 185 pixels wide holding "r<line>c<col>"
// texts, at 100 and at 1,000,000 lines; a page down with its repaint; and, in the
// same run, a bare memset of the same number of pixels as the yardstick.
//
// At the end the program prints the ratios the view is held to: a full repaint
// within 25 memsets, the million-line repaint within 1.10 times the 100-line one
// (only visible rows cost anything), a page scroll within 1.2 full repaints.
#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>
#include <vector>

#include "bench/ratio_report.h"
#include "bench/view_scene.h"

namespace {

using tq3::bench::kViewHeight;
using tq3::bench::kViewWidth;

// The benchmarks' view with a selection of some cells.
struct Scene : tq3::bench::ViewScene {
    explicit Scene(int lines) : ViewScene(lines) {
        view->SetSel(CRect(1, 2, 3, 6), CPoint(1, 2));
        desktop.RunUntilIdle();
    }

    bool AtBottom() {
        SCROLLINFO info = VerticalScroll();
        return info.nPos >= info.nMax - static_cast<int>(info.nPage) + 1;
    }
};

void BM_Memset1080p(benchmark::State& state) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kViewWidth) * kViewHeight);
    int value = 0;
    for (auto _ : state) {
        std::memset(pixels.data(), ++value & 0xFF, pixels.size() * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(pixels.size()) * 4);
}
BENCHMARK(BM_Memset1080p)->Unit(benchmark::kMicrosecond);

double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Besides its own time, each repaint is followed by a memset of a frame outside
// the timing, and the processor time of the two is compared as the counter
// "x_memset": a machine busy with other work slows both alike, so the ratio holds
// where the separate benchmarks' times drift apart.
void BM_FullRepaint(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)));
    std::vector<std::uint32_t> frame(static_cast<std::size_t>(kViewWidth) * kViewHeight);
    double painting = 0;
    double filling = 0;
    int value = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        scene.RepaintAll();
        const double painted = ThreadSeconds();
        state.PauseTiming();
        const double before = ThreadSeconds();
        std::memset(frame.data(), ++value & 0xFF, frame.size() * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
        filling += ThreadSeconds() - before;
        painting += painted - start;
        state.ResumeTiming();
    }
    if (filling > 0) state.counters["x_memset"] = painting / filling;
}
BENCHMARK(BM_FullRepaint)->Arg(100)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_PageDownAndRepaint(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (scene.AtBottom()) {
            // A page down that moves nothing paints nothing either: the sheet goes
            // back to its top outside the timing, so every timed step scrolls.
            state.PauseTiming();
            scene.view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
            state.ResumeTiming();
        }
        scene.view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    }
}
BENCHMARK(BM_PageDownAndRepaint)->Arg(100)->Arg(1000000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return tq3::bench::RunAndPrintRatios(argc, argv, "Ratios of processor time per iteration:", [](const auto& r) {
        using tq3::bench::PrintRatio;
        PrintRatio(r, "full repaint, 100 lines / memset", "BM_FullRepaint/100", "BM_Memset1080p", 25.0);
        PrintRatio(r, "full repaint, 1,000,000 lines / memset", "BM_FullRepaint/1000000", "BM_Memset1080p", 25.0);
        PrintRatio(r, "full repaint, 1,000,000 lines / 100 lines",
                   "BM_FullRepaint/1000000", "BM_FullRepaint/100", 1.10);
        PrintRatio(r, "page down + repaint / full repaint, 100 lines",
                   "BM_PageDownAndRepaint/100", "BM_FullRepaint/100", 1.2);
        PrintRatio(r, "page down + repaint / full repaint, 1,000,000",
                   "BM_PageDownAndRepaint/1000000", "BM_FullRepaint/1000000", 1.2);
    });
}
