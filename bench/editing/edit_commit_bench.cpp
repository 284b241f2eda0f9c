// Committing one in-cell edit to 100,000 selected lines of the 1,000,000-line
// view against the host storing the same text in the same cells with SetCellText
// in a loop: the commit alone against the loop alone, and Enter until the view is
// painted again against the loop followed by a full repaint. Every run writes a
// text that differs from the stored one, so that every line changes and the
// change hook runs for each.
//
// At the end the program prints the ratios the view is held to: each at most 1.3.
#include <benchmark/benchmark.h>

#include "bench/ratio_report.h"
#include "bench/view_scene.h"

namespace {

constexpr int kLines = 1000000;
constexpr int kSelected = 100000;
constexpr int kColumn = 3;

const char16_t* TextOf(bool flip) { return flip ? u"edited text" : u"another text"; }

struct Scene : tq3::bench::ViewScene {
    Scene() : ViewScene(kLines) {
        view->SetFocus();
        desktop.RunUntilIdle();
    }
};

void BM_SetCellTextLoop(benchmark::State& state) {
    Scene scene;
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        for (int line = 0; line < kSelected; ++line) scene.view->SetCellText(0, line, kColumn, TextOf(flip));
    }
}
BENCHMARK(BM_SetCellTextLoop)->Unit(benchmark::kMillisecond);

// The same loop followed by a full repaint, as a host shows what it stored.
void BM_SetCellTextLoopAndRepaint(benchmark::State& state) {
    Scene scene;
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        for (int line = 0; line < kSelected; ++line) scene.view->SetCellText(0, line, kColumn, TextOf(flip));
        scene.RepaintAll();
    }
}
BENCHMARK(BM_SetCellTextLoopAndRepaint)->Unit(benchmark::kMillisecond);

// The cursor back on the top line of the selection, so that Enter never
// scrolls; F2 opens the edit box on it and the text is put in, untimed.
void OpenEdit(Scene& scene, bool flip) {
    scene.view->SetSel(CRect(kColumn, 0, kColumn, kSelected - 1), CPoint(kColumn, 0));
    scene.desktop.RunUntilIdle();
    scene.desktop.KeyPress(VK_F2);
    scene.view->GetCellEdit().SetWindowText(TextOf(flip));
}

bool ReachedEveryLine(Scene& scene, bool flip) {
    return scene.view->GetCellText(0, 0, kColumn) == TextOf(flip) &&
           scene.view->GetCellText(0, kSelected - 1, kColumn) == TextOf(flip);
}

// Enter as the message loop hands it to the edit box: the box ends the edit, the
// view writes every selected line and moves the cursor one line down inside the
// selection. The paint that follows runs untimed.
void BM_CommitToSelectedLines(benchmark::State& state) {
    Scene scene;
    bool flip = false;
    for (auto _ : state) {
        state.PauseTiming();
        flip = !flip;
        OpenEdit(scene, flip);
        MSG enter{scene.view->GetCellEdit().m_hWnd, WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
        state.ResumeTiming();
        AfxPreTranslateMessage(&enter);
        state.PauseTiming();
        scene.desktop.RunUntilIdle();
        state.ResumeTiming();
    }
    if (!ReachedEveryLine(scene, flip)) state.SkipWithError("the edit did not reach every line");
}
BENCHMARK(BM_CommitToSelectedLines)->Unit(benchmark::kMillisecond);

// Enter pressed on the desktop, until the view is painted again.
void BM_CommitAndPaint(benchmark::State& state) {
    Scene scene;
    bool flip = false;
    for (auto _ : state) {
        state.PauseTiming();
        flip = !flip;
        OpenEdit(scene, flip);
        state.ResumeTiming();
        scene.desktop.KeyPress(VK_RETURN);
    }
    if (!ReachedEveryLine(scene, flip)) state.SkipWithError("the edit did not reach every line");
}
BENCHMARK(BM_CommitAndPaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    const char* title = "Ratios of processor time per iteration, 100,000 of 1,000,000 lines at 1920x1080:";
    return tq3::bench::RunAndPrintRatios(argc, argv, title, [](const auto& r) {
        tq3::bench::PrintRatio(r, "edit committed / SetCellText loop", "BM_CommitToSelectedLines",
                               "BM_SetCellTextLoop", 1.3);
        tq3::bench::PrintRatio(r, "edit committed, painted / loop, full repaint", "BM_CommitAndPaint",
                               "BM_SetCellTextLoopAndRepaint", 1.3);
    });
}
