// Running out of memory while the strips paint and measure: every allocation of
// a repaint and a layout is made to fail in turn. Nothing may escape the message
// handlers, and once memory is back the strips paint and answer exactly as before.
#include <array>
#include <functional>

#include "headers/column_header_wnd.h"
#include "headers/line_header_wnd.h"
#include "headers/sheet_tab_wnd.h"
#include "tests/headers/header_test_support.h"
#include "tests/support/failing_allocator.h"

namespace tq3::test {
namespace {

class StripsOutOfMemoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(parent.Make(CRect(0, 0, 600, 300)));
        columns.font.CreatePointFont(90, u"MS UI Gothic");
        lines.font.CreatePointFont(90, u"MS UI Gothic");
        tabs.font.CreatePointFont(90, u"MS UI Gothic");
        columns.titleMargin = 18;
        lines.lineHeight = 18;
        lines.headerLineCount = 50;
        lines.caption = u"No.";
        tabs.tabHeight = 18;
        ASSERT_TRUE(columns.Create(&parent) && lines.Create(&parent) && tabs.Create(&parent));
        const char16_t* titles[] = {u"Name", u"Amount", u"Kind"};
        for (int i = 0; i < 3; ++i) {
            records[i].title = titles[i];
            columns.InsertColumn(i, &records[i]);
            tabs.InsertItem(i, titles[i]);
        }
        columns.MoveWindow(60, 0, 540, 20);
        lines.MoveWindow(0, 0, 60, 260);
        tabs.MoveWindow(0, 260, 600, 20);
        columns.GetColumnRect(0, nullptr);  // lays the titles out, as the view does on insertion
        desktop.RunUntilIdle();
    }
    void TearDown() override {
        if (parent.m_hWnd != nullptr) parent.DestroyWindow();
    }

    // Runs `step` with each of its allocations refused in turn; `prepare` runs
    // before each attempt with memory to spare. Nothing may escape the handlers.
    void Sweep(const std::function<void()>& prepare, const std::function<void()>& step) {
        const SweepResult sweep = SweepAllocations({
            .prepare = prepare,
            .operation = step,
            .check = [](const SweepRun& run) { EXPECT_FALSE(run.threw) << "at allocation " << run.allowed; },
            .limit = 400,
        });
        EXPECT_TRUE(sweep.completed) << "the step never ran without an allocation failing";
    }

    // Each strip's paint handler, called as the window manager calls it.
    void PaintEach() {
        for (CWnd* strip : Strips()) strip->SendMessage(WM_PAINT);
    }
    void InvalidateEach() {
        for (CWnd* strip : Strips()) strip->Invalidate();
    }
    std::array<CWnd*, 3> Strips() { return {&columns, &lines, &tabs}; }

    tq3::testing::Desktop desktop{800, 600};
    tq3::testing::TestApp app;
    NotifyParent parent;
    CColumnHeaderWnd columns;
    CLineHeaderWnd lines;
    CSheetTabWnd tabs;
    CColumnProp records[3];
};

TEST_F(StripsOutOfMemoryTest, PaintingAndLayoutSurviveFailedAllocations) {
    CRect laidOut;
    ASSERT_TRUE(columns.GetColumnRect(2, &laidOut));
    const CRect secondTab = tabs.GetItemRect(1);
    ASSERT_FALSE(secondTab.IsRectEmpty());
    const CRect shown(0, 0, 600, 280);
    const tq3::testing::Capture before = tq3::testing::CaptureWindow(parent.m_hWnd, shown);

    Sweep([&] { InvalidateEach(); }, [&] { PaintEach(); });
    Sweep([&] { records[0].extent.SetRectEmpty(); },  // forces a layout from the titles
          [&] {
              CRect rect;
              columns.GetColumnRect(0, &rect);
          });

    // Memory is back: the layout and the pixels are what they were.
    records[0].extent.SetRectEmpty();
    CRect again;
    ASSERT_TRUE(columns.GetColumnRect(0, &again));
    ASSERT_TRUE(columns.GetColumnRect(2, &again));
    EXPECT_EQ(again, laidOut);
    EXPECT_EQ(tabs.GetItemRect(1), secondTab);
    InvalidateEach();
    desktop.RunUntilIdle();
    EXPECT_EQ(tq3::testing::CountDiffering(tq3::testing::CaptureWindow(parent.m_hWnd, shown), before), 0);
}

}  // namespace
}  // namespace tq3::test
