// Committing one in-cell edit to 100,000 selected lines of the 1,000,000-line
// view, from Enter pressed in the edit box until the view is painted again,
// against the host storing the same text in the same cells with SetCellText in a
// loop. Both write a text that differs from the stored one every time, so that
// every line is rebuilt and the change hook runs for each.
//
// At the end the program prints the ratio the view is held to: the commit at
// most 1.3 times the loop.
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
        view->SetSel(CRect(kColumn, 0, kColumn, kSelected - 1), CPoint(kColumn, 0));
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

// F2 opens the edit box on the cursor cell and the text is put in untimed; Enter
// writes it to every selected line, moves the cursor one line down inside the
// selection and lets the view paint.
void BM_CommitToSelectedLines(benchmark::State& state) {
    Scene scene;
    bool flip = false;
    for (auto _ : state) {
        state.PauseTiming();
        flip = !flip;
        scene.desktop.KeyPress(VK_F2);
        scene.view->GetCellEdit().SetWindowText(TextOf(flip));
        state.ResumeTiming();
        scene.desktop.KeyPress(VK_RETURN);
    }
    CString first = scene.view->GetCellText(0, 0, kColumn);
    CString last = scene.view->GetCellText(0, kSelected - 1, kColumn);
    if (first != TextOf(flip) || last != TextOf(flip)) state.SkipWithError("the edit did not reach every line");
}
BENCHMARK(BM_CommitToSelectedLines)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    const char* title = "Ratios of processor time per iteration, 100,000 of 1,000,000 lines at 1920x1080:";
    return tq3::bench::RunAndPrintRatios(argc, argv, title, [](const auto& r) {
        tq3::bench::PrintRatio(r, "edit committed / SetCellText loop", "BM_CommitToSelectedLines",
                               "BM_SetCellTextLoop", 1.3);
    });
}
