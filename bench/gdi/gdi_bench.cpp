// Drawing costs on a 1920x1080 surface, beside a bare memset of the same pixels:
// the memset is the yardstick the view's repaint budget is stated in.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/gdi/dc.h"
#include "framework/gdi/dc_text.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/edges.h"
#include "framework/gdi/rgn.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct Screen {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    Screen() {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(dc, kWidth, kHeight);
        old = SelectObject(dc, bitmap);
    }
    ~Screen() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
};

void BM_Memset1080p(benchmark::State& state) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
    int value = 0;
    for (auto _ : state) {
        std::memset(pixels.data(), ++value & 0xFF, pixels.size() * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(pixels.size()) * 4);
}
BENCHMARK(BM_Memset1080p);

void BM_FillRect1080p(benchmark::State& state) {
    Screen screen;
    HBRUSH brushes[2] = {CreateSolidBrush(RGB(255, 255, 255)), CreateSolidBrush(RGB(240, 240, 240))};
    RECT all{0, 0, kWidth, kHeight};
    int i = 0;
    for (auto _ : state) {
        FillRect(screen.dc, &all, brushes[++i & 1]);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(kWidth) * kHeight * 4);
    DeleteObject(brushes[0]);
    DeleteObject(brushes[1]);
}
BENCHMARK(BM_FillRect1080p);

// The double-buffered repaint: a full-screen memory bitmap copied to the screen.
void BM_BitBlt1080p(benchmark::State& state) {
    Screen screen, buffer;
    for (auto _ : state) {
        BitBlt(screen.dc, 0, 0, kWidth, kHeight, buffer.dc, 0, 0, SRCCOPY);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(kWidth) * kHeight * 4);
}
BENCHMARK(BM_BitBlt1080p);

// Scrolling: the surface copied onto itself, 20 rows down (the overlapping direction
// that needs bottom-up copying) and up.
void BM_ScrollBlt1080p(benchmark::State& state) {
    Screen screen;
    int dy = static_cast<int>(state.range(0));
    for (auto _ : state) {
        BitBlt(screen.dc, 0, dy, kWidth, kHeight, screen.dc, 0, 0, SRCCOPY);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(kWidth) * kHeight * 4);
}
BENCHMARK(BM_ScrollBlt1080p)->Arg(20)->Arg(-20);

// A selection of 40 rows of 20 pixels across most of the screen, less the cursor
// cell, inverted as the view shows a selection.
void BM_InvertRgn40Rows(benchmark::State& state) {
    Screen screen;
    HRGN selection = CreateRectRgn(60, 40, 1800, 40 + 40 * 20);
    HRGN cursor = CreateRectRgn(60, 40, 160, 60);
    CombineRgn(selection, selection, cursor, RGN_DIFF);
    for (auto _ : state) {
        InvertRgn(screen.dc, selection);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * (1740LL * 800 - 100 * 20) * 4);
    DeleteObject(selection);
    DeleteObject(cursor);
}
BENCHMARK(BM_InvertRgn40Rows);

// The column-resize tracker: a 2-pixel band the height of the screen, halftone PATINVERT.
void BM_HalftoneTracker(benchmark::State& state) {
    Screen screen;
    SelectObject(screen.dc, tq3::fw::gdi::HalftoneBrush());
    for (auto _ : state) {
        PatBlt(screen.dc, 700, 0, 2, kHeight, PATINVERT);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_HalftoneTracker);

// A header row of 40 push buttons, as the column header paints them.
void BM_HeaderButtons(benchmark::State& state) {
    Screen screen;
    for (auto _ : state) {
        for (int i = 0; i < 40; ++i) {
            RECT r{i * 48, 0, i * 48 + 48, 20};
            DrawFrameControl(screen.dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH);
        }
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_HeaderButtons);

// Grid lines of a full screen of cells: 54 horizontal and 20 vertical one-pixel lines.
void BM_GridLines1080p(benchmark::State& state) {
    Screen screen;
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(240, 240, 240));
    SelectObject(screen.dc, pen);
    for (auto _ : state) {
        for (int y = 20; y < kHeight; y += 20) {
            MoveToEx(screen.dc, 0, y, nullptr);
            LineTo(screen.dc, kWidth, y);
        }
        for (int x = 96; x < kWidth; x += 96) {
            MoveToEx(screen.dc, x, 0, nullptr);
            LineTo(screen.dc, x, kHeight);
        }
        benchmark::ClobberMemory();
    }
    SelectObject(screen.dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}
BENCHMARK(BM_GridLines1080p);


// 2,000 short cell texts drawn into their cells, as a full repaint of the view
// draws them: vertically centred, cut with an ellipsis. Warm: the glyph cache
// already holds every glyph; cold: the cache is emptied before each repaint.
void DrawCells(HDC dc, const std::vector<std::u16string>& texts) {
    for (int i = 0; i < 2000; ++i) {
        int row = i / 20, col = i % 20;
        RECT r{col * 96 + 2, row * 10 + 1, col * 96 + 94, row * 10 + 10};
        const std::u16string& t = texts[static_cast<std::size_t>(i) % texts.size()];
        DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
}

std::vector<std::u16string> CellTexts() {
    std::vector<std::u16string> texts;
    for (int i = 0; i < 100; ++i) {
        std::u16string t = u"Item ";
        for (char c : std::to_string(i * 37 + 1000)) t += static_cast<char16_t>(c);
        if (i % 3 == 0) t += u" 東京";
        texts.push_back(t);
    }
    return texts;
}

void BM_DrawText2000(benchmark::State& state) {
    bool cold = state.range(0) != 0;
    Screen screen;
    LOGFONTW lf{};
    lf.lfHeight = -12;
    std::memcpy(lf.lfFaceName, u"MS UI Gothic", sizeof(u"MS UI Gothic"));
    HFONT font = CreateFontIndirectW(&lf);
    // Held here so that emptying the caches drops only glyphs, not the font itself.
    tq3::fw::text::FontRef held = tq3::fw::text::RealizeFont(lf);
    SelectObject(screen.dc, font);
    SetBkMode(screen.dc, TRANSPARENT);
    std::vector<std::u16string> texts = CellTexts();
    DrawCells(screen.dc, texts);  // realise the font and warm the cache
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            tq3::fw::text::ClearFontCaches();
            state.ResumeTiming();
        }
        DrawCells(screen.dc, texts);
        benchmark::ClobberMemory();
    }
    SelectObject(screen.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}
BENCHMARK(BM_DrawText2000)->Arg(0)->Arg(1)->ArgName("cold");

}  // namespace

BENCHMARK_MAIN();
