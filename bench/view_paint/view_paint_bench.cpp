// The table view on screen: a full repaint of a 1920x1080 view (strips, tabs, cells
// and a selection) of a sheet of 10 columns 185 pixels wide holding "r<line>c<col>"
// texts, at 100 and at 1,000,000 lines; a page down with its repaint; and, in the
// same run, a bare memset of the same number of pixels as the yardstick.
//
// At the end the program prints the ratios the view is held to: a full repaint
// within 25 memsets, the million-line repaint within 1.10 times the 100-line one
// (only visible rows cost anything), a page scroll within 1.2 full repaints.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench/ratio_report.h"
#include "tq3view/testing.h"
#include "view/table_view.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kColumns = 10;
constexpr int kColumnWidth = 185;

class BenchView : public CTableView {
public:
    BenchView() = default;
};

std::u16string LineText(int line) {
    std::string text;
    for (int c = 0; c < kColumns; ++c) {
        if (c > 0) text += '\t';
        text += 'r';
        text += std::to_string(line);
        text += 'c';
        text += std::to_string(c);
    }
    return std::u16string(text.begin(), text.end());
}

// A desktop with one frame whose view has a client area of exactly 1920x1080.
struct Scene {
    tq3::testing::Desktop desktop{kWidth + 200, kHeight + 200};
    tq3::testing::TestApp app;
    BenchView* view = new BenchView;
    CFrameWnd* frame = nullptr;

    explicit Scene(int lines) {
        frame = tq3::testing::CreateFrameWithView(view, RECT{0, 0, kWidth, kHeight});
        view->InsertSheet(0, u"Points");
        view->InsertSheet(1, u"Devices");
        view->InsertSheet(2, u"Alarms");
        for (int c = 0; c < kColumns; ++c) {
            const std::u16string title = u"Column " + std::u16string(1, static_cast<char16_t>(u'0' + c));
            view->InsertColumn(0, c, title.c_str(), 0);
            view->GetColumnProp(0, c)->extent = CRect(c * kColumnWidth, 0, (c + 1) * kColumnWidth, view->GetLineHeight());
        }
        for (int l = 0; l < lines; ++l) view->InsertLine(0, l, LineText(l).c_str());
        view->SetSelSheet(0);
        CRect client;
        view->GetClientRect(&client);
        CRect outer;
        frame->GetWindowRect(&outer);
        frame->MoveWindow(0, 0, outer.Width() + kWidth - client.Width(), outer.Height() + kHeight - client.Height());
        view->SetSel(CRect(1, 2, 3, 6), CPoint(1, 2));
        desktop.RunUntilIdle();
    }

    bool AtBottom() {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_ALL;
        view->GetScrollInfo(SB_VERT, &info, SIF_ALL);
        return info.nPos >= info.nMax - static_cast<int>(info.nPage) + 1;
    }

    void RepaintAll() {
        ::RedrawWindow(view->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
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
BENCHMARK(BM_Memset1080p)->Unit(benchmark::kMicrosecond);

void BM_FullRepaint(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)));
    for (auto _ : state) scene.RepaintAll();
}
BENCHMARK(BM_FullRepaint)->Arg(100)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_PageDownAndRepaint(benchmark::State& state) {
    Scene scene(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        if (scene.AtBottom()) {
            // A page down that moves nothing paints nothing either: the sheet goes
            // back to its top outside the timing, so every timed step scrolls.
            state.PauseTiming();
            scene.view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
            state.ResumeTiming();
        }
        scene.view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
    }
}
BENCHMARK(BM_PageDownAndRepaint)->Arg(100)->Arg(1000000)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    using tq3::bench::PrintRatio;
    benchmark::Initialize(&argc, argv);
    tq3::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios of processor time per iteration:\n");
    PrintRatio(reporter, "full repaint, 100 lines / memset", "BM_FullRepaint/100", "BM_Memset1080p", 25.0);
    PrintRatio(reporter, "full repaint, 1,000,000 lines / memset", "BM_FullRepaint/1000000", "BM_Memset1080p", 25.0);
    PrintRatio(reporter, "full repaint, 1,000,000 lines / 100 lines", "BM_FullRepaint/1000000", "BM_FullRepaint/100",
               1.10);
    PrintRatio(reporter, "page down + repaint / full repaint, 100 lines", "BM_PageDownAndRepaint/100",
               "BM_FullRepaint/100", 1.2);
    PrintRatio(reporter, "page down + repaint / full repaint, 1,000,000", "BM_PageDownAndRepaint/1000000",
               "BM_FullRepaint/1000000", 1.2);
    benchmark::Shutdown();
    return 0;
}
