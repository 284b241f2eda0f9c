// Typing in an edit box holding a 1,000-character line: one character typed at
// the end, from the WM_CHAR message until the box has painted it, against drawing
// the line's text with DrawText alone into the same box with the same font.
//
// Each typed character is taken back with Backspace outside the timing, so that
// every round types at the end of the same 1,000 characters.
//
// At the end the program prints the ratio the edit box is held to: the typed
// character within 2 times the DrawText.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/ratio_report.h"
#include "framework/controls/edit.h"
#include "framework/gdi/dc.h"
#include "framework/gdi/dc_text.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/sysmetrics.h"
#include "tq3view/testing.h"

namespace {

constexpr int kLength = 1000;

// Words of two to nine letters and a space, the same on every run.
std::u16string Line() {
    std::u16string line;
    unsigned seed = 2024;
    while (line.size() < kLength) {
        seed = seed * 1103515245u + 12345u;
        const unsigned length = 2 + (seed >> 16) % 8;
        for (unsigned c = 0; c < length && line.size() < kLength - 1; ++c) {
            seed = seed * 1103515245u + 12345u;
            line.push_back(static_cast<char16_t>(u'a' + (seed >> 16) % 26));
        }
        line.push_back(u' ');
    }
    return line;
}

struct Scene {
    tq3::testing::Desktop desktop{800, 600};
    HWND edit = nullptr;
    std::u16string line = Line();

    Scene() {
        edit = CreateWindowExW(0, WC_EDITW, line.c_str(), WS_POPUP | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 20, 20,
                               400, 24, nullptr, nullptr, nullptr, nullptr);
        SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, kLength, kLength);
        desktop.RunUntilIdle();
    }
};

void BM_TypeAtTheEnd(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        SendMessageW(scene.edit, WM_CHAR, u'x', 1);
        UpdateWindow(scene.edit);
        state.PauseTiming();
        SendMessageW(scene.edit, WM_CHAR, VK_BACK, 1);
        UpdateWindow(scene.edit);
        state.ResumeTiming();
    }
    if (GetWindowTextLengthW(scene.edit) != kLength) state.SkipWithError("the typing did not go in");
    // The timed round paints: a typed W adds ink to the box.
    const COLORREF paper = GetSysColor(COLOR_WINDOW);
    const int before = tq3::testing::CaptureWindow(scene.edit).CountOther(paper);
    SendMessageW(scene.edit, WM_CHAR, u'W', 1);
    UpdateWindow(scene.edit);
    if (tq3::testing::CaptureWindow(scene.edit).CountOther(paper) <= before) state.SkipWithError("nothing painted");
}
BENCHMARK(BM_TypeAtTheEnd)->Unit(benchmark::kMicrosecond);

// The line with the typed character, drawn into the box's client area with the
// box's font, from its start: the box shows the line's end, but drawn right-aligned
// the whole line would be measured first, which costs more than this baseline.
void BM_DrawTextOfTheLine(benchmark::State& state) {
    Scene scene;
    const std::u16string typed = scene.line + u'x';
    RECT client;
    GetClientRect(scene.edit, &client);
    for (auto _ : state) {
        HDC dc = GetDC(scene.edit);
        HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        DrawTextW(dc, typed.c_str(), static_cast<int>(typed.size()), &client,
                  DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
        SelectObject(dc, old);
        ReleaseDC(scene.edit, dc);
    }
}
BENCHMARK(BM_DrawTextOfTheLine)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    return tq3::bench::RunAndPrintRatios(argc, argv, "Ratio of processor time per iteration:", [](const auto& r) {
        tq3::bench::PrintRatio(r, "one character typed, painted / DrawText of the line", "BM_TypeAtTheEnd",
                               "BM_DrawTextOfTheLine", 2.0);
    });
}
