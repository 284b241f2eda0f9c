// The user's font choice on the 1920x1080 view of a 1,000,000-line sheet: the
// font dialog answered with OK at a new size (the dialog, the six fonts made
// again, the new layout and both repaints, the store written), the dialog alone
// answered with Cancel, the step after OK alone (at a new size, and at the size
// the view has), the view's redraw with its layout, and a full repaint of the
// same view as the yardstick.
//
// At the end the program prints the ratios: choosing and applying a font within
// three full repaints, and what the dialog alone costs beside one.
//
// The step after OK paints the view four times, whatever the fonts cost: it
// calls the view's RedrawWindow twice, and each call paints once itself
// (RDW_UPDATENOW) and once more in the layout it re-runs, which redraws the view
// at once as every layout does. BM_FourViewPaints times those four paints alone:
// the last ratio is the least that applying a font can cost.
#include <benchmark/benchmark.h>

#include "bench/ratio_report.h"
#include "bench/view_scene.h"
#include "framework/dialogs/commdlg.h"
#include "framework/system/registry.h"

namespace {

constexpr int kLines = 1000000;

// The view with the step after the dialog within reach.
class FontView : public tq3::bench::BenchView {
public:
    using CTableView::ApplyChosenFont;
};

struct Scene : tq3::bench::ViewScene {
    Scene() : ViewScene(kLines, new FontView) {
        // The settings base key, so that the choice is stored as a host's would be.
        HKEY base = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\TQ3ViewTestVendor", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &base, nullptr) == ERROR_SUCCESS) {
            RegCloseKey(base);
        }
    }

    void Choose(const char16_t* size, int answer) {
        if (size != nullptr) desktop.QueueModalAnswer(tq3::testing::AnswerType(cmb3, size));
        desktop.QueueModalAnswer(tq3::testing::AnswerCommand(answer));
        view->ChangeDrawingElements();
        desktop.RunUntilIdle();
    }
};

void BM_FullRepaint(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) scene.RepaintAll();
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

void BM_RedrawAndLayout(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.view->RedrawWindow();
        scene.desktop.RunUntilIdle();
    }
}
BENCHMARK(BM_RedrawAndLayout)->Unit(benchmark::kMicrosecond);

void BM_ApplySameFont(benchmark::State& state) {
    Scene scene;
    LOGFONTW font{};
    int points = 0;
    scene.view->GetLogFont(&font, points);
    for (auto _ : state) {
        static_cast<FontView*>(scene.view)->ApplyChosenFont(font, 90);
        scene.desktop.RunUntilIdle();
    }
}
BENCHMARK(BM_ApplySameFont)->Unit(benchmark::kMicrosecond);

// The paints the step after OK is made of: four of the view alone, then the
// strips the layout invalidated.
void BM_FourViewPaints(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        for (int paint = 0; paint < 4; ++paint) {
            ::RedrawWindow(scene.view->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }
        scene.desktop.RunUntilIdle();
    }
}
BENCHMARK(BM_FourViewPaints)->Unit(benchmark::kMicrosecond);

// Every step picks the other of two sizes, so that every step changes the font.
void BM_ChooseAndApplyFont(benchmark::State& state) {
    Scene scene;
    bool larger = false;
    for (auto _ : state) {
        larger = !larger;
        scene.Choose(larger ? u"12" : u"9", IDOK);
    }
    if (scene.view->GetPointSize() != (larger ? 120 : 90)) state.SkipWithError("the font was not applied");
}
BENCHMARK(BM_ChooseAndApplyFont)->Unit(benchmark::kMicrosecond);

// What OK does after the dialog: the fonts, the layout, the repaints, the store.
void BM_ApplyFont(benchmark::State& state) {
    Scene scene;
    LOGFONTW font{};
    int points = 0;
    scene.view->GetLogFont(&font, points);
    bool larger = false;
    for (auto _ : state) {
        larger = !larger;
        static_cast<FontView*>(scene.view)->ApplyChosenFont(font, larger ? 120 : 90);
        scene.desktop.RunUntilIdle();
    }
}
BENCHMARK(BM_ApplyFont)->Unit(benchmark::kMicrosecond);

void BM_FontDialogCancelled(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) scene.Choose(nullptr, IDCANCEL);
}
BENCHMARK(BM_FontDialogCancelled)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return tq3::bench::RunAndPrintRatios(argc, argv, "Ratios of processor time per iteration:", [](const auto& r) {
        using tq3::bench::PrintRatio;
        PrintRatio(r, "apply a new font / full repaint", "BM_ApplyFont", "BM_FullRepaint", 3.0);
        PrintRatio(r, "apply the same font / full repaint", "BM_ApplySameFont", "BM_FullRepaint", 3.0);
        PrintRatio(r, "redraw and layout / full repaint", "BM_RedrawAndLayout", "BM_FullRepaint", 3.0);
        PrintRatio(r, "choose + apply a font / full repaint", "BM_ChooseAndApplyFont", "BM_FullRepaint", 3.0);
        PrintRatio(r, "font dialog alone (Cancel) / full repaint", "BM_FontDialogCancelled", "BM_FullRepaint", 3.0);
        PrintRatio(r, "(the four view paints alone / full repaint)", "BM_FourViewPaints", "BM_FullRepaint", 3.0);
    });
}
