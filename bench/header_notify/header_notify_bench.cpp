// The header strips driven with the mouse on the 1920x1080 view of a
// 1,000,000-line sheet: one step of a divider drag (only the tracking line is
// inverted), a click on a column title that selects the whole column of every
// line and paints it, and a full repaint of the same view as the yardstick.
//
// At the end the program prints the ratios: a tracking step within 0.05 full
// repaints, a whole-column selection within 1.2.
#include <benchmark/benchmark.h>

#include "bench/ratio_report.h"
#include "bench/view_scene.h"

namespace {

constexpr int kLines = 1000000;
using tq3::bench::kViewColumnWidth;

struct Scene : tq3::bench::ViewScene {
    Scene() : ViewScene(kLines) {}
    HWND Header() { return view->GetColumnHeader().m_hWnd; }
};

void BM_FullRepaint(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) scene.RepaintAll();
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

// The divider of column 1 held down; every step moves the pointer to the other
// of two widths within the limits.
void BM_DividerTrackingStep(benchmark::State& state) {
    Scene scene;
    const int divider = 2 * kViewColumnWidth;
    scene.desktop.MouseMove(scene.Header(), {divider, 5});
    scene.desktop.MouseDown(scene.Header(), {divider, 5});
    bool wider = false;
    for (auto _ : state) {
        wider = !wider;
        scene.desktop.MouseMove(scene.Header(), {divider + (wider ? 40 : -40), 5});
    }
    scene.desktop.MouseUp(scene.Header(), {divider + 40, 5});
    if (scene.view->GetColumnProp(0, 1)->extent.Width() != kViewColumnWidth + 40) {
        state.SkipWithError("the drag did not resize the column");
    }
}
BENCHMARK(BM_DividerTrackingStep)->Unit(benchmark::kMicrosecond);

// Every click selects the other of two columns, all lines, and paints the change.
void BM_SelectWholeColumn(benchmark::State& state) {
    Scene scene;
    bool second = false;
    for (auto _ : state) {
        second = !second;
        scene.desktop.AdvanceClock(1000);  // a new click, never a double-click
        scene.desktop.Click(scene.Header(), {(second ? 3 : 2) * kViewColumnWidth + 20, 5});
    }
    CRect sel;
    CPoint cursor;
    scene.view->GetSel(sel, cursor);
    if (sel.bottom != kLines - 1) state.SkipWithError("the column was not selected");
}
BENCHMARK(BM_SelectWholeColumn)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return tq3::bench::RunAndPrintRatios(argc, argv, "Ratios of processor time per iteration:", [](const auto& r) {
        using tq3::bench::PrintRatio;
        PrintRatio(r, "divider tracking step / full repaint", "BM_DividerTrackingStep", "BM_FullRepaint", 0.05);
        PrintRatio(r, "whole-column selection / full repaint", "BM_SelectWholeColumn", "BM_FullRepaint", 1.2);
    });
}
