// A 20-item pop-up menu: opening it until it is painted (the owner told, the
// items laid out, the window made, shown and painted) against painting the open
// menu once.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/ratio_report.h"
#include "framework/menus/menu.h"
#include "tq3view/testing.h"

namespace {

struct Scene {
    tq3::testing::Desktop desktop{800, 600};
    HWND owner = nullptr;
    HMENU menu = CreatePopupMenu();

    Scene() {
        owner = CreateWindowExW(0, u"Static", u"Owner", WS_POPUP | WS_VISIBLE, 50, 50, 600, 500, nullptr, nullptr,
                                nullptr, nullptr);
        for (UINT i = 1; i <= 20; ++i) {
            std::u16string text = u"Command &" + std::u16string(1, static_cast<char16_t>(u'A' + i)) + u"\tCtrl+" +
                                  std::u16string(1, static_cast<char16_t>(u'A' + i));
            AppendMenuW(menu, (i % 5 == 0 ? MF_SEPARATOR : MF_STRING) | (i % 7 == 0 ? MF_GRAYED : 0), i, text.c_str());
        }
        desktop.RunUntilIdle();
    }
    ~Scene() { DestroyMenu(menu); }
};

// The loop waits for the user only once the menu is painted: the answer stops
// the clock there and closes the menu; closing is not timed.
void BM_OpenMenuUntilPainted(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.desktop.QueueModalAnswer(tq3::testing::ModalAnswer{kPopupMenuClass, {}, [&state](HWND) {
                                                                      state.PauseTiming();
                                                                      EndMenu();
                                                                  }});
        TrackPopupMenu(scene.menu, TPM_RETURNCMD, 200, 100, 0, scene.owner, nullptr);
        scene.desktop.RunUntilIdle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenMenuUntilPainted)->Unit(benchmark::kMicrosecond);

void BM_PaintOpenMenu(benchmark::State& state) {
    Scene scene;
    scene.desktop.QueueModalAnswer(tq3::testing::ModalAnswer{kPopupMenuClass, {}, [&state](HWND window) {
                                                                  for (auto _ : state) {
                                                                      RedrawWindow(window, nullptr, nullptr,
                                                                                   RDW_INVALIDATE | RDW_UPDATENOW);
                                                                  }
                                                                  EndMenu();
                                                              }});
    TrackPopupMenu(scene.menu, TPM_RETURNCMD, 200, 100, 0, scene.owner, nullptr);
}
BENCHMARK(BM_PaintOpenMenu)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return tq3::bench::RunAndPrintRatios(argc, argv, "Ratios of processor time per iteration:", [](const auto& r) {
        using tq3::bench::PrintRatio;
        PrintRatio(r, "open 20-item menu until painted / paint it", "BM_OpenMenuUntilPainted", "BM_PaintOpenMenu", 3.0);
    });
}
