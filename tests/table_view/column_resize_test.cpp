// Resizing a column by dragging its divider in the column header, and giving it
// back its natural width by a double-click, driven with the mouse.
#include <tuple>
#include <utility>
#include <vector>

#include "framework/controls/commctrl.h"
#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::CaptureWindow;
using tq3::testing::CountDiffering;

class ColumnResizeTest : public TableViewTest {
protected:
    void SetUp() override {
        TableViewTest::SetUp();
        AddSheets(1, 4, 30);
        SetWidths(0, {80, 80, 80, 80});
        for (int c = 0; c < 4; ++c) view->GetColumnProp(0, c)->defaultWidth = 80;
        SetClientSize(600, 400);
    }

    HWND Header() { return view->GetColumnHeader().m_hWnd; }

    // Presses on the divider at strip x `divider` (column 1's right edge unless
    // told) and moves the pointer to strip x `to`, leaving the button down.
    void PressAndDrag(int to, int divider = 160) {
        desktop.AdvanceClock(1000);  // a new press, not the second of a double-click
        desktop.MouseMove(Header(), {divider, 5});
        desktop.MouseDown(Header(), {divider, 5});
        desktop.MouseMove(Header(), {to, 5});
    }
    void ReleaseAt(int to) { desktop.MouseUp(Header(), {to, 5}); }

    // The band where the tracking line for strip x `x` shows in the view.
    RECT Band(int x) {
        const int vx = view->GetLineHeaderWidth() + x;
        const int lh = view->GetLineHeight();
        return RECT{vx - 1, lh, vx + 1, 400 - 10 - lh};
    }

    void Notify(UINT code, int item) {
        NMHEADERW header{};
        header.hdr.hwndFrom = Header();
        header.hdr.idFrom = kColumnHeaderId;
        header.hdr.code = code;
        header.iItem = item;
        view->SendMessage(WM_NOTIFY, kColumnHeaderId, reinterpret_cast<LPARAM>(&header));
        desktop.RunUntilIdle();
    }
};

TEST_F(ColumnResizeTest, DraggingADividerSetsTheWidthWithinItsLimits) {
    struct Case {
        int divider;             // strip x of the divider pressed
        int to;                  // strip x it is dropped at
        std::vector<int> widths;  // the columns' widths after it
    } const cases[] = {
        {160, 200, {80, 120, 80, 80}},
        {160, 90, {80, 25, 80, 80}},
        {160, 880, {80, 500, 80, 80}},
        {80, 130, {130, 80, 80, 80}},  // the first column is resized like any other
    };
    for (const Case& c : cases) {
        SetWidths(0, {80, 80, 80, 80});
        PressAndDrag(c.to, c.divider);
        ReleaseAt(c.to);
        EXPECT_EQ(Widths(view, 0), c.widths) << "dropped at " << c.to;
        EXPECT_EQ(view->GetColumnProp(0, 2)->extent.left, c.widths[0] + c.widths[1]) << "the columns behind move along";
        EXPECT_EQ(view->GetColumnProp(0, 1)->defaultWidth, 80);
    }
}

TEST_F(ColumnResizeTest, TheTrackingLineFollowsWithinTheLimitsAndNeverStays) {
    const auto before = CaptureWindow(view->m_hWnd);
    // How many pixels changed since `before` in all, and how many of them in the
    // band of strip x `x`.
    auto changed = [&](int x) {
        const RECT band = Band(x);
        const auto now = CaptureWindow(view->m_hWnd);
        int inBand = 0;
        for (int y = band.top; y < band.bottom; ++y) {
            for (int bx = band.left; bx < band.right; ++bx) inBand += before.At(bx, y) != now.At(bx, y) ? 1 : 0;
        }
        return std::make_pair(CountDiffering(before, now), inBand);
    };

    PressAndDrag(200);
    auto [total, inBand] = changed(200);
    EXPECT_GT(inBand, 0) << "the line shows at 200";
    EXPECT_EQ(total, inBand) << "and nothing else changed";
    // A width of 501 pixels draws nothing and the last line stays.
    desktop.MouseMove(Header(), {80 + 501, 5});
    EXPECT_EQ(changed(200), std::make_pair(total, inBand));
    // A step within the limits moves the line: the old band is clean again.
    desktop.MouseMove(Header(), {300, 5});
    EXPECT_EQ(changed(200).second, 0);
    std::tie(total, inBand) = changed(300);
    EXPECT_GT(inBand, 0);
    EXPECT_EQ(total, inBand);

    ReleaseAt(300);
    EXPECT_EQ(view->GetColumnProp(0, 1)->extent.Width(), 220);
    // After the drag the view looks exactly as a fresh paint of it.
    const auto after = CaptureWindow(view->m_hWnd);
    ::RedrawWindow(view->m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    desktop.RunUntilIdle();
    EXPECT_EQ(CountDiffering(after, CaptureWindow(view->m_hWnd)), 0);
}

TEST_F(ColumnResizeTest, ADividerDoubleClickRestoresTheNaturalWidth) {
    PressAndDrag(200);
    ReleaseAt(200);
    ASSERT_EQ(Widths(view, 0), (std::vector<int>{80, 120, 80, 80}));
    desktop.DoubleClick(Header(), {200, 5});
    EXPECT_EQ(Widths(view, 0), (std::vector<int>{80, 80, 80, 80}));
    EXPECT_EQ(view->GetColumnProp(0, 3)->extent.left, 240);
    EXPECT_EQ(::GetFocus(), view->m_hWnd);
}

// Notifications naming columns the sheet lacks, or arriving without a drag
// under way, change nothing.
TEST_F(ColumnResizeTest, NotificationsOutOfRangeChangeNothing) {
    Notify(HDN_BEGINTRACKW, 99);
    Notify(HDN_TRACKW, -1);
    Notify(HDN_ENDTRACKW, -1);
    Notify(HDN_DIVIDERDBLCLICKW, 99);
    EXPECT_EQ(Widths(view, 0), (std::vector<int>{80, 80, 80, 80}));
}

}  // namespace
}  // namespace tq3::test
