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

#include <cstdio>
#include <string>

#include "bench/ratio_report.h"
#include "tq3view/testing.h"
#include "view/table_view.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kColumns = 10;
constexpr int kColumnWidth = 185;
constexpr int kLines = 1000000;

class BenchView : public CTableView {
public:
    BenchView() = default;
};

std::u16string LineText(int line) {
    std::string text;
    for (int c = 0; c < kColumns; ++c) {
        if (c > 0) text += '\t';
        text += 'r' + std::to_string(line) + 'c' + std::to_string(c);
    }
    return std::u16string(text.begin(), text.end());
}

// One frame whose view has a client area of exactly 1920x1080 and the focus.
struct Scene {
    tq3::testing::Desktop desktop{kWidth + 200, kHeight + 200};
    tq3::testing::TestApp app;
    BenchView* view = new BenchView;
    CFrameWnd* frame = nullptr;

    Scene() {
        frame = tq3::testing::CreateFrameWithView(view, RECT{0, 0, kWidth, kHeight});
        view->InsertSheet(0, u"Points");
        for (int c = 0; c < kColumns; ++c) {
            view->InsertColumn(0, c, u"Column", 0);
            view->GetColumnProp(0, c)->extent = CRect(c * kColumnWidth, 0, (c + 1) * kColumnWidth, view->GetLineHeight());
        }
        for (int l = 0; l < kLines; ++l) view->InsertLine(0, l, LineText(l).c_str());
        view->SetSelSheet(0);
        CRect client;
        view->GetClientRect(&client);
        CRect outer;
        frame->GetWindowRect(&outer);
        frame->MoveWindow(0, 0, outer.Width() + kWidth - client.Width(), outer.Height() + kHeight - client.Height());
        view->SetFocus();
        desktop.RunUntilIdle();
    }

    int Page() {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        view->GetScrollInfo(SB_VERT, &info, SIF_ALL);
        return static_cast<int>(info.nPage);
    }
    void Put(int line, int column) {
        view->SetSel(CRect(column, line, column, line), CPoint(column, line));
        desktop.RunUntilIdle();
    }
};

void BM_FullRepaint(benchmark::State& state) {
    Scene scene;
    scene.Put(5, 2);
    for (auto _ : state) {
        ::RedrawWindow(scene.view->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
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
    using tq3::bench::PrintRatio;
    benchmark::Initialize(&argc, argv);
    tq3::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios of processor time per iteration, 1,000,000 lines at 1920x1080:\n");
    PrintRatio(reporter, "arrow within the page / full repaint", "BM_ArrowWithinThePage", "BM_FullRepaint", 0.1);
    PrintRatio(reporter, "arrow scrolling one line / full repaint", "BM_ArrowScrollingOneLine", "BM_FullRepaint", 1.2);
    PrintRatio(reporter, "shift+ctrl+end, all lines / full repaint", "BM_SelectAllLines", "BM_FullRepaint", 1.2);
    benchmark::Shutdown();
    return 0;
}
