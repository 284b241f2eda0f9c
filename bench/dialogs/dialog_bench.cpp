// The find dialog's template (the library's dialog 102): creating and showing it
// until its first paint is done, against painting the open dialog once.
#include <benchmark/benchmark.h>

#include "bench/ratio_report.h"
#include "framework/dialogs/dialog.h"
#include "framework/system/resources.h"
#include "settings/language.h"
#include "tq3view/testing.h"

namespace {

INT_PTR PlainDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

struct Scene {
    tq3::testing::Desktop desktop{1024, 768};
    HWND owner = CreateWindowExW(0, u"Static", u"Owner", WS_POPUP | WS_VISIBLE, 50, 50, 800, 600, nullptr, nullptr,
                                 nullptr, nullptr);
    // The library's built-in resources join the search once it is loaded.
    const DLGTEMPLATEW* findDialog = tq3::OwnModule() != nullptr ? tq3::fw::FindDialogResource(102) : nullptr;

    Scene() { desktop.RunUntilIdle(); }
    HWND Open() const {
        HWND dialog = CreateDialogIndirectParamW(nullptr, findDialog, owner, &PlainDialog, 0);
        ShowWindow(dialog, SW_SHOW);
        UpdateWindow(dialog);
        return dialog;
    }
};

// Destroying the dialog is not timed.
void BM_OpenFindDialogUntilPainted(benchmark::State& state) {
    Scene scene;
    if (scene.findDialog == nullptr) {
        state.SkipWithError("the library's dialog 102 is not in the resource search");
        return;
    }
    for (auto _ : state) {
        HWND dialog = scene.Open();
        state.PauseTiming();
        DestroyWindow(dialog);
        scene.desktop.RunUntilIdle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenFindDialogUntilPainted)->Unit(benchmark::kMicrosecond);

void BM_PaintOpenFindDialog(benchmark::State& state) {
    Scene scene;
    if (scene.findDialog == nullptr) {
        state.SkipWithError("the library's dialog 102 is not in the resource search");
        return;
    }
    HWND dialog = scene.Open();
    for (auto _ : state) {
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    DestroyWindow(dialog);
}
BENCHMARK(BM_PaintOpenFindDialog)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return tq3::bench::RunAndPrintRatios(argc, argv, "Ratios of processor time per iteration:", [](const auto& r) {
        tq3::bench::PrintRatio(r, "open find dialog until painted / paint it", "BM_OpenFindDialogUntilPainted",
                               "BM_PaintOpenFindDialog", 5.0);
    });
}
