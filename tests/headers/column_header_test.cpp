// The column header strip: hit tests and cursors at the column edges, the
// notification sequences of clicks, drags and divider drags, new widths, and its
// pixels (push buttons, the filler, aligned titles, scrolling).
#include <memory>

#include "framework/window/cursor.h"
#include "headers/column_header_wnd.h"
#include "tests/headers/header_test_support.h"
#include "tests/support/spy_expect.h"

namespace tq3::test {
namespace {

using tq3::testing::Notify;

constexpr int kStripHeight = 20;

class ColumnHeaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(parent.Make(CRect(10, 10, 610, 210)));
        header.font.CreatePointFont(90, u"MS UI Gothic");
        header.titleMargin = 18;
        ASSERT_TRUE(header.Create(&parent));
        header.MoveWindow(0, 30, 400, kStripHeight);
        desktop.RunUntilIdle();
    }
    void TearDown() override {
        if (parent.m_hWnd != nullptr) parent.DestroyWindow();
    }

    // Columns of the given widths, side by side from x 0.
    void AddColumns(std::initializer_list<int> widths, BYTE numeric = 0) {
        int left = 0;
        for (int w : widths) {
            auto column = std::make_unique<CColumnProp>();
            column->title = u"title";
            column->numeric = numeric;
            column->extent = CRect(left, 0, left + w, kStripHeight);
            left += w;
            header.InsertColumn(header.GetColumnCount(), column.get());
            records.push_back(std::move(column));
        }
        header.Invalidate();
        desktop.RunUntilIdle();
    }

    tq3::fw::CursorShape CursorAfterMoveTo(int x) {
        desktop.MouseMove(header.m_hWnd, {x, 5});
        return tq3::fw::CurrentCursorShape();
    }

    void Spy() {
        spy.Watch(parent.m_hWnd, "parent");
        spy.KeepOnly({WM_NOTIFY});
        parent.heard.clear();
    }

    tq3::testing::Desktop desktop{800, 600};
    tq3::testing::TestApp app;
    NotifyParent parent;
    CColumnHeaderWnd header;
    std::vector<std::unique_ptr<CColumnProp>> records;
    tq3::testing::MessageSpy spy;
};

TEST_F(ColumnHeaderTest, HitTestsAtColumnEdgesAndDividerZones) {
    AddColumns({80, 60});
    struct Case {
        int x;
        int column;
        int divider;
    };
    // The column owns its right edge and not its left one; a divider is caught
    // six pixels either side of the edge.
    const Case cases[] = {
        {0, -1, -1}, {1, 0, -1}, {73, 0, -1}, {74, 0, 0}, {80, 0, 0}, {81, 1, 0},
        {86, 1, 0},  {87, 1, -1}, {141, -1, 1}, {146, -1, 1}, {147, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(header.ColumnAt(c.x), c.column) << "x " << c.x;
        EXPECT_EQ(header.DividerAt(c.x), c.divider) << "x " << c.x;
        // The pointer over the strip shows what a press there would start.
        const auto expected = c.divider >= 0 ? tq3::fw::CursorShape::Custom : tq3::fw::CursorShape::Arrow;
        EXPECT_EQ(CursorAfterMoveTo(c.x), expected) << "x " << c.x;
    }
}

TEST_F(ColumnHeaderTest, ClickAndDragSequences) {
    AddColumns({80, 60, 70});
    Spy();
    // A click without movement: begin drag, item click and end drag for one column.
    desktop.Click(header.m_hWnd, {180, 5});
    EXPECT_TRUE(Same(spy.Compare({Notify(HDN_BEGINDRAG, kColumnHeaderId, 2),
        Notify(HDN_ITEMCLICKW, kColumnHeaderId, 2), Notify(HDN_ENDDRAG, kColumnHeaderId, 2)})));
    ASSERT_EQ(parent.heard.size(), 3u);
    EXPECT_EQ(parent.heard[0].from, header.m_hWnd);

    // A drag from column 0 over columns 1 and 2 and out past the last column:
    // one track per move over a column, no click, no end drag past the columns.
    spy.Clear();
    desktop.MouseDown(header.m_hWnd, {40, 5});
    EXPECT_EQ(GetCapture(), header.m_hWnd);
    desktop.MouseMove(header.m_hWnd, {100, 5});
    desktop.MouseMove(header.m_hWnd, {200, 5});
    desktop.MouseMove(header.m_hWnd, {300, 5});
    desktop.MouseUp(header.m_hWnd, {300, 5});
    EXPECT_TRUE(Same(spy.Compare({Notify(HDN_BEGINDRAG, kColumnHeaderId, 0), Notify(HDN_TRACKW, kColumnHeaderId, 1),
        Notify(HDN_TRACKW, kColumnHeaderId, 2)})));
    EXPECT_EQ(GetCapture(), nullptr);

    // Presses beside every column send nothing.
    spy.Clear();
    desktop.Click(header.m_hWnd, {350, 5});
    EXPECT_TRUE(spy.Log().empty());
}

// Dragging the first column's divider once went unnoticed by every test.
TEST_F(ColumnHeaderTest, DividerDragSequence) {
    AddColumns({80, 60});
    Spy();
    desktop.MouseMove(header.m_hWnd, {82, 5});
    ASSERT_EQ(tq3::fw::CurrentCursorShape(), tq3::fw::CursorShape::Custom);
    desktop.MouseDown(header.m_hWnd, {82, 5});
    EXPECT_EQ(GetCapture(), header.m_hWnd);
    desktop.MouseMove(header.m_hWnd, {120, 5});
    desktop.MouseUp(header.m_hWnd, {390, 5});
    EXPECT_TRUE(Same(spy.Compare({Notify(HDN_BEGINTRACKW, kColumnHeaderId, 0),
        Notify(HDN_TRACKW, kColumnHeaderId, -1), Notify(HDN_TRACKW, kColumnHeaderId, -1),
        Notify(HDN_ENDTRACKW, kColumnHeaderId, -1)})));
    EXPECT_EQ(GetCapture(), nullptr);
    // The arrow is back at the release, although the pointer is over no divider.
    EXPECT_EQ(tq3::fw::CurrentCursorShape(), tq3::fw::CursorShape::Arrow);
    // The strip only reports: the widths are the view's to change.
    EXPECT_EQ(records[0]->extent, CRect(0, 0, 80, kStripHeight));
}

TEST_F(ColumnHeaderTest, NewWidthsMoveTheFollowingColumns) {
    AddColumns({80, 60, 70});
    header.SetColumnWidth(1, 85);
    EXPECT_EQ(records[1]->extent, CRect(80, 0, 165, kStripHeight));
    EXPECT_EQ(records[2]->extent, CRect(165, 0, 235, kStripHeight));
    header.SetColumnWidth(3, 100);  // no such column: nothing moves
    EXPECT_EQ(records[2]->extent, CRect(165, 0, 235, kStripHeight));
    CRect rect(1, 2, 3, 4);
    EXPECT_FALSE(header.GetColumnRect(3, &rect));
    EXPECT_EQ(rect, CRect(0, 0, 0, 0));
}

TEST_F(ColumnHeaderTest, PaintsPushButtonsFillerAndAlignedTitles) {
    AddColumns({80, 60});
    records[1]->numeric = 1;
    records[0]->title = u"left";
    records[1]->title = u"9";
    header.Invalidate();
    desktop.RunUntilIdle();
    tq3::testing::SaveScreenshot(header.m_hWnd, OutputPath("headers", "column_header.png"));

    // Each column is a push button of its extent, and the filler one more from one
    // pixel after the last column to the right edge: the top and bottom frame rows
    // match push buttons drawn independently at those places.
    Reference ref(400, kStripHeight);
    CRect boxes[] = {CRect(0, 0, 80, kStripHeight), CRect(80, 0, 140, kStripHeight),
                     CRect(141, 0, 400, kStripHeight)};
    for (CRect& box : boxes) ref.dc.DrawFrameControl(&box, DFC_BUTTON, DFCS_BUTTONPUSH);
    EXPECT_EQ(ref.Differs(header.m_hWnd, CRect(0, 0, 400, 2)), 0);
    EXPECT_EQ(ref.Differs(header.m_hWnd, CRect(0, kStripHeight - 2, 400, kStripHeight)), 0);

    // A text title starts at the left inset; a numeric one ends at the right inset.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const CRect text = tq3::testing::CaptureWindow(header.m_hWnd, CRect(2, 2, 78, kStripHeight - 2)).InkBounds(face);
    ASSERT_FALSE(text.IsRectEmpty());
    EXPECT_GE(text.left, 6);
    EXPECT_LE(text.left, 8);
    const CRect number =
        tq3::testing::CaptureWindow(header.m_hWnd, CRect(82, 2, 138, kStripHeight - 2)).InkBounds(face);
    ASSERT_FALSE(number.IsRectEmpty());
    EXPECT_LE(number.right - 1, 140 - 6 - 1);
    EXPECT_GE(number.right - 1, 140 - 6 - 3);
}

TEST_F(ColumnHeaderTest, ScrolledPixelsEqualAFullRepaintAtTheNewOffset) {
    AddColumns({40, 60, 80});
    // The view changes the offset and sends WM_HSCROLL: the pixels move and the
    // uncovered part is painted.
    header.scrollX = 50;
    header.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 50), 0);
    desktop.RunUntilIdle();
    const CRect strip(0, 0, 400, kStripHeight);
    const tq3::testing::Capture scrolled = tq3::testing::CaptureWindow(header.m_hWnd, strip);
    header.Invalidate();
    desktop.RunUntilIdle();
    EXPECT_EQ(tq3::testing::CountDiffering(tq3::testing::CaptureWindow(header.m_hWnd, strip), scrolled), 0);
}

}  // namespace
}  // namespace tq3::test
