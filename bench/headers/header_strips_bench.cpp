// Repaint costs of the three strips at the sizes of a 1920 x 1080 view: the column
// header with ten 185-pixel columns, the line header of a million-line sheet, and
// the tab strip with 3 sheets (a short row), 30 (enough to fill the strip) and
// 1000: only the part of the row that shows is drawn and the labels are measured
// once, so 1000 sheets should cost about what 30 do.
#include <benchmark/benchmark.h>
#include <tq3view/testing.h>

#include <memory>
#include <string>
#include <vector>

#include "headers/column_header_wnd.h"
#include "headers/line_header_wnd.h"
#include "headers/sheet_tab_wnd.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kLineHeight = 18;

class Parent : public CWnd {
public:
    BOOL Make() {
        LPCWSTR cls = AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_WINDOW));
        return CreateEx(0, cls, u"strips", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, kWidth, kHeight, nullptr,
                        nullptr);
    }
};

// Invalidates `strip` and lets it repaint, as a view's full redraw does.
void Repaint(CWnd& strip) {
    strip.Invalidate(FALSE);
    strip.UpdateWindow();
}

void BM_ColumnHeaderRepaint(benchmark::State& state) {
    tq3::testing::Desktop desktop(kWidth, kHeight);
    Parent parent;
    parent.Make();
    CColumnHeaderWnd header;
    header.font.CreatePointFont(90, u"MS UI Gothic");
    header.Create(&parent);
    std::vector<std::unique_ptr<CColumnProp>> columns;
    for (int c = 0; c < 10; ++c) {
        auto column = std::make_unique<CColumnProp>();
        column->title = (u"Column " + std::u16string(1, static_cast<char16_t>(u'A' + c))).c_str();
        column->numeric = c % 2;
        column->extent = CRect(c * 185, 0, (c + 1) * 185, kLineHeight);
        header.InsertColumn(c, column.get());
        columns.push_back(std::move(column));
    }
    header.MoveWindow(60, 0, kWidth - 60, kLineHeight);
    desktop.RunUntilIdle();
    for (auto _ : state) Repaint(header);
    parent.DestroyWindow();
}
BENCHMARK(BM_ColumnHeaderRepaint);

void BM_LineHeaderRepaint(benchmark::State& state) {
    tq3::testing::Desktop desktop(kWidth, kHeight);
    Parent parent;
    parent.Make();
    CLineHeaderWnd header;
    header.font.CreatePointFont(90, u"MS UI Gothic");
    header.lineHeight = kLineHeight;
    header.headerLineCount = 1000000;
    header.topLine = static_cast<int>(state.range(0));
    header.caption = u"No.";
    header.Create(&parent);
    header.MoveWindow(0, 0, 60, kHeight - 20);
    desktop.RunUntilIdle();
    for (auto _ : state) {
        header.previousTopLine = header.topLine;
        Repaint(header);
    }
    parent.DestroyWindow();
}
BENCHMARK(BM_LineHeaderRepaint)->Arg(0)->Arg(999000);

void BM_SheetTabRepaint(benchmark::State& state) {
    tq3::testing::Desktop desktop(kWidth, kHeight);
    Parent parent;
    parent.Make();
    CSheetTabWnd strip;
    strip.font.CreatePointFont(90, u"MS UI Gothic");
    strip.tabHeight = kLineHeight;
    strip.Create(&parent);
    for (int i = 0; i < state.range(0); ++i) {
        strip.InsertItem(i, (u"Sheet " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26))).c_str());
    }
    strip.MoveWindow(0, kHeight - 20, kWidth, 20);
    desktop.RunUntilIdle();
    for (auto _ : state) Repaint(strip);
    parent.DestroyWindow();
}
BENCHMARK(BM_SheetTabRepaint)->Arg(3)->Arg(30)->Arg(1000);

}  // namespace

BENCHMARK_MAIN();
