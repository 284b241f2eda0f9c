// Moving through a 1,000,000-line sheet in a 1920x1080 view, each key injected on
// the desktop and timed until everything it caused is painted: an arrow key that
// moves the cursor within the page, an arrow key that scrolls one line, and
// Shift+Ctrl+End selecting every line from the top; a full repaint of the view is
// the yardstick of the same run.
//
// At the end the program prints the ratios the view is held to: an arrow key
// within the page at most a tenth of a full repaint (only the difference is
// inverted), a scrolling arrow key and the selection of all lines within 1.2 full
// repaints.
#include <benchmark/benchmark.h>

#include "bench/ratio_report.h"
#include "bench/view_scene.h"

namespace {

constexpr int kLines = 1000000;

// The benchmarks' million-line view with the focus.
struct Scene : tq3::bench::ViewScene {
    Scene() : ViewScene(kLines) {
        view->SetFocus();
        desktop.RunUntilIdle();
    }

    int Page() { return static_cast<int>(VerticalScroll().nPage); }
    void Put(int line, int column) {
        view->SetSel(CRect(column, line, column, line), CPoint(column, line));
        desktop.RunUntilIdle();
    }
};

void BM_FullRepaint(benchmark::State& state) {
    Scene scene;
    scene.Put(5, 2);
    for (auto _ : state) {
        scene.RepaintAll();
    }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

// Down and Up in turn between two lines in the middle of the page.
void BM_ArrowWithinThePage(benchmark::State& state) {
    Scene scene;
    scene.Put(scene.Page() / 2, 2);
    bool down = true;
    for (auto _ : state) {
        scene.desktop.KeyPress(down ? VK_DOWN : VK_UP);
        down = !down;
    }
}
BENCHMARK(BM_ArrowWithinThePage)->Unit(benchmark::kMicrosecond);

// Down with the cursor on the last full row: every press scrolls one line.
void BM_ArrowScrollingOneLine(benchmark::State& state) {
    Scene scene;
    scene.Put(scene.Page() - 1, 2);
    for (auto _ : state) scene.desktop.KeyPress(VK_DOWN);
}
BENCHMARK(BM_ArrowScrollingOneLine)->Unit(benchmark::kMicrosecond);

// From the top-left cell, Shift+Ctrl+End selects every line and shows the last.
void BM_SelectAllLines(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        state.PauseTiming();
        scene.Put(0, 0);
        state.ResumeTiming();
        scene.desktop.KeyPress(VK_END, tq3::testing::kShift | tq3::testing::kControl);
    }
}
BENCHMARK(BM_SelectAllLines)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    const char* title = "Ratios of processor time per iteration, 1,000,000 lines at 1920x1080:";
    return tq3::bench::RunAndPrintRatios(argc, argv, title, [](const auto& r) {
        using tq3::bench::PrintRatio;
        PrintRatio(r, "arrow within the page / full repaint", "BM_ArrowWithinThePage", "BM_FullRepaint", 0.1);
        PrintRatio(r, "arrow scrolling one line / full repaint", "BM_ArrowScrollingOneLine", "BM_FullRepaint", 1.2);
        PrintRatio(r, "shift+ctrl+end, all lines / full repaint", "BM_SelectAllLines", "BM_FullRepaint", 1.2);
    });
}
