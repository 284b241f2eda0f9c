// Presenting a full repaint of a 1920x1080 frame: what a backend copies into its
// window's pixels. The reference is the one-window desktop's copy of a desktop
// surface (rows copied as they are); against it, a native window filled from its
// own top-level surface (ComposeWindow: the rows plus the screen DC's check), and
// the composed desktop a virtual desktop shows (ComposeDesktop: the bare desktop,
// then every visible top-level in z-order).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "framework/backends/headless/headless_backend.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/window/backend.h"
#include "framework/window/winuser.h"
#include "bench/ratio_report.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A 1920x1080 desktop with one frame-sized top-level window painted whole.
struct Frame {
    HWND top = nullptr;
    std::vector<tq3::fw::Pixel> target = std::vector<tq3::fw::Pixel>(static_cast<size_t>(kWidth) * kHeight);
    Frame() {
        tq3::fw::HeadlessBackend::Install(kWidth, kHeight);
        top = CreateWindowExW(0, u"STATIC", nullptr, WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr, nullptr,
                              nullptr, nullptr);
        HDC dc = GetDC(top);
        RECT all{0, 0, kWidth, kHeight};
        HBRUSH brush = CreateSolidBrush(RGB(0x30, 0x60, 0x90));
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        ReleaseDC(top, dc);
    }
};

void BM_PresentOneWindowDesktop(benchmark::State& state) {
    Frame frame;
    // The desktop surface of the one-window backend, as it was copied row by row.
    tq3::fw::Surface desktop(kWidth, kHeight, 0x306090);
    for (auto _ : state) {
        for (int y = 0; y < kHeight; ++y)
            std::memcpy(frame.target.data() + static_cast<size_t>(y) * kWidth, desktop.Row(y),
                        kWidth * sizeof(tq3::fw::Pixel));
        benchmark::DoNotOptimize(frame.target.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PresentOneWindowDesktop)->Unit(benchmark::kMicrosecond);

void BM_PresentNativeWindow(benchmark::State& state) {
    Frame frame;
    for (auto _ : state) {
        tq3::fw::ComposeWindow(frame.top, RECT{0, 0, kWidth, kHeight}, frame.target.data(), kWidth);
        benchmark::DoNotOptimize(frame.target.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PresentNativeWindow)->Unit(benchmark::kMicrosecond);

void BM_PresentComposedDesktop(benchmark::State& state) {
    Frame frame;
    for (auto _ : state) {
        tq3::fw::ComposeDesktop(RECT{0, 0, kWidth, kHeight}, frame.target.data(), kWidth);
        benchmark::DoNotOptimize(frame.target.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PresentComposedDesktop)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    const char* title = "Ratios of processor time per presented 1920x1080 frame:";
    return tq3::bench::RunAndPrintRatios(argc, argv, title, [](const auto& r) {
        using tq3::bench::PrintRatio;
        PrintRatio(r, "native window / one-window desktop",
                   "BM_PresentNativeWindow", "BM_PresentOneWindowDesktop", 1.2);
        PrintRatio(r, "composed virtual desktop / one-window desktop",
                   "BM_PresentComposedDesktop", "BM_PresentOneWindowDesktop", 1.2);
    });
}
