// Layout of the strips, scroll ranges and every scroll code, the wheel, the cell
// under a point, the rectangle of a cell and scrolling a cell into view.
#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

TEST_F(TableViewTest, StripsTakeTheirRegionsAndFollowTheCaption) {
    AddSheets(1, 3, 10);
    view->SetSelSheet(0);
    SetClientSize(500, 300);
    const int lh = view->GetLineHeight();
    auto ChildRect = [&](CWnd& child) {
        CRect r;
        child.GetWindowRect(&r);
        view->ScreenToClient(&r);
        return r;
    };
    ASSERT_EQ(view->GetLineHeaderWidth(), 60);
    EXPECT_EQ(ChildRect(view->GetLineHeader()), CRect(0, 0, 60, 300 - lh - 10));
    EXPECT_EQ(ChildRect(view->GetColumnHeader()), CRect(60, 0, 60 + 600, lh));
    EXPECT_EQ(ChildRect(view->GetSheetTab()), CRect(0, 300 - lh - 10, 600, 300 - lh - 10 + 300));

    // A caption of a few letters still fits in 60 pixels; a long one widens the strip.
    const CRect box(0, 0, 60, lh);
    const tq3::testing::Capture blank = tq3::testing::CaptureWindow(view->GetLineHeader().m_hWnd, box);
    view->SetWindowTextW(u"No");
    desktop.RunUntilIdle();
    EXPECT_EQ(view->GetLineHeaderWidth(), 60);
    // The caption box shows the new text although its width stayed.
    EXPECT_GT(tq3::testing::CountDiffering(tq3::testing::CaptureWindow(view->GetLineHeader().m_hWnd, box), blank), 0);
    const std::u16string caption = u"Configuration of the input points";
    view->SetWindowTextW(caption.c_str());
    desktop.RunUntilIdle();
    EXPECT_EQ(view->GetLineHeader().caption, CString(caption.c_str()));
    CString text;
    view->GetWindowText(text);
    EXPECT_EQ(text, CString(caption.c_str())) << "the view's own window text too";
    const int wide = view->GetLineHeader().GetLineHeaderWidth();  // measured as the strip's tests check
    ASSERT_GT(wide, 60);
    EXPECT_EQ(view->GetLineHeaderWidth(), wide);
    EXPECT_EQ(ChildRect(view->GetLineHeader()).Width(), wide);
    EXPECT_EQ(ChildRect(view->GetColumnHeader()).left, wide);
    EXPECT_EQ(view->GetCellRect(0, 0).left, wide);
}

// A client height of 16 line heights and 12 pixels (300 at line height 18) leaves a
// cell area of 14 full rows and a part row, so with 100 lines the top line reaches
// 99 - 14 + 1.
TEST_F(TableViewTest, VerticalRangeAndEveryScrollCode) {
    AddSheets(1, 2, 100);
    view->SetSelSheet(0);
    SetClientSize(400, FourteenRowsAndAPart());
    SCROLLINFO bar = Bar(SB_VERT);
    EXPECT_EQ(bar.nMin, -32768);
    EXPECT_EQ(bar.nMax, -32669);
    EXPECT_EQ(bar.nPage, 14u);
    EXPECT_EQ(bar.nPos, -32768);

    struct Step {
        int from;
        UINT code;
        int pos;  // biased, for the thumb codes
        int to;
    };
    const Step steps[] = {
        {0, SB_LINEUP, 0, 0},          {5, SB_LINEUP, 0, 4},
        {85, SB_LINEDOWN, 0, 86},      {86, SB_LINEDOWN, 0, 86},
        {20, SB_PAGEUP, 0, 6},         {10, SB_PAGEUP, 0, 0},
        {60, SB_PAGEDOWN, 0, 74},      {72, SB_PAGEDOWN, 0, 86},
        {50, SB_TOP, 0, 0},            {3, SB_BOTTOM, 0, 86},
        {0, SB_THUMBPOSITION, 40 - 32768, 40}, {40, SB_THUMBTRACK, -32768, 0},
        {40, SB_ENDSCROLL, 0, 40},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(::testing::Message() << "from " << s.from << " code " << s.code);
        view->GetSheetObj(0)->topLine = s.from;
        view->SetSelSheet(0);
        ASSERT_EQ(TopLine(), s.from);
        VScroll(s.code, s.pos);
        EXPECT_EQ(view->GetSheetObj(0)->topLine, s.to);
        EXPECT_EQ(view->GetScrollPos(SB_VERT), s.to - 32768);
        EXPECT_EQ(view->GetLineHeader().previousTopLine, s.from);
    }
}

// A cell area of exactly 14 rows: line, page and bottom steps stop one line before
// the thumb's limit.
TEST_F(TableViewTest, ExactRowsStopStepsBeforeTheThumbLimit) {
    AddSheets(1, 2, 100);
    view->SetSelSheet(0);
    const int lh = view->GetLineHeight();
    SetClientSize(400, 14 * lh + 2 * lh + 10);
    EXPECT_EQ(Bar(SB_VERT).nPage, 14u);
    VScroll(SB_BOTTOM);
    EXPECT_EQ(TopLine(), 85);
    VScroll(SB_LINEDOWN);
    EXPECT_EQ(TopLine(), 85);
    VScroll(SB_TOP);
    for (int page = 0; page < 7; ++page) VScroll(SB_PAGEDOWN);
    EXPECT_EQ(TopLine(), 85);
    VScroll(SB_THUMBPOSITION, 86 - 32768);
    EXPECT_EQ(TopLine(), 86);
}

TEST_F(TableViewTest, HorizontalRangeAndEveryScrollCode) {
    AddSheets(1, 4, 50);
    SetWidths(0, {200, 200, 200, 200});
    view->SetSelSheet(0);
    SetClientSize(60 + 300, 300);
    SCROLLINFO bar = Bar(SB_HORZ);
    EXPECT_EQ(bar.nMin, 0);
    EXPECT_EQ(bar.nMax, 800);
    EXPECT_EQ(bar.nPage, 300u);

    struct Step {
        int from;
        UINT code;
        int pos;
        int to;
    };
    const Step steps[] = {
        {0, SB_LINELEFT, 0, 0},          {7, SB_LINELEFT, 0, 6},       {500, SB_LINERIGHT, 0, 501},
        {100, SB_PAGELEFT, 0, 0},        {400, SB_PAGELEFT, 0, 100},   {400, SB_PAGERIGHT, 0, 501},
        {0, SB_THUMBPOSITION, 250, 250}, {0, SB_THUMBTRACK, 900, 501}, {300, SB_LEFT, 0, 0},
        {0, SB_RIGHT, 0, 500},           {42, SB_ENDSCROLL, 0, 42},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(::testing::Message() << "from " << s.from << " code " << s.code);
        view->GetSheetObj(0)->scrollX = s.from;
        view->SetSelSheet(0);
        ASSERT_EQ(ScrollX(), s.from);
        HScroll(s.code, s.pos);
        EXPECT_EQ(view->GetSheetObj(0)->scrollX, s.to);
        EXPECT_EQ(view->GetScrollPos(SB_HORZ), s.to);
    }
    // One pixel past the bar's last page is as far as a step goes.
    HScroll(SB_THUMBPOSITION, 501);
    HScroll(SB_LINERIGHT);
    EXPECT_EQ(ScrollX(), 501);
    // The tab strip reaches below the client area; both scroll bars beside it
    // still show their arrows.
    for (LONG bar : {OBJID_HSCROLL, OBJID_VSCROLL}) {
        SCROLLBARINFO info{};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(::GetScrollBarInfo(view->m_hWnd, bar, &info));
        EXPECT_GT(tq3::testing::CaptureDesktop(info.rcScrollBar).Count(RGB(0, 0, 0)), 0) << "bar " << bar;
    }
}

TEST_F(TableViewTest, WheelMovesThreeLinesPerMessage) {
    AddSheets(1, 2, 100);
    view->SetSelSheet(0);
    SetClientSize(400, FourteenRowsAndAPart());
    const CPoint inside(200, 100);
    struct Step {
        int delta;
        int to;
    };
    // A delta of many notches is still one message, hence three lines.
    const Step steps[] = {{-360, 3}, {-1, 6}, {240, 3}, {1, 0}, {120, 0}};
    for (const Step& s : steps) {
        desktop.Wheel(view->m_hWnd, inside, s.delta);
        EXPECT_EQ(TopLine(), s.to) << "delta " << s.delta;
    }
    VScroll(SB_THUMBPOSITION, 84 - 32768);
    desktop.Wheel(view->m_hWnd, inside, -120);
    EXPECT_EQ(TopLine(), 86);
    desktop.Wheel(view->m_hWnd, inside, -120);
    EXPECT_EQ(TopLine(), 86);
}

TEST_F(TableViewTest, LayoutKeepsRowsFilledBelowTheLastLine) {
    AddSheets(1, 2, 100);
    view->SetSelSheet(0);
    SetClientSize(400, FourteenRowsAndAPart());
    VScroll(SB_BOTTOM);
    ASSERT_EQ(TopLine(), 86);
    // Two more rows of room: the top line moves back so that no row is left empty.
    SetClientSize(400, FourteenRowsAndAPart() + 2 * view->GetLineHeight());
    EXPECT_EQ(TopLine(), 100 - 16);
    EXPECT_EQ(view->GetSheetObj(0)->topLine, 100 - 16);
    // Deleting lines, then laying out again, does the same.
    for (int i = 0; i < 10; ++i) view->DeleteLine(0, 0);
    view->RedrawWindow();
    desktop.RunUntilIdle();
    EXPECT_EQ(TopLine(), 90 - 16);
    // Once all lines fit, the first is on top.
    for (int i = 0; i < 80; ++i) view->DeleteLine(0, 0);
    view->RedrawWindow();
    desktop.RunUntilIdle();
    EXPECT_EQ(TopLine(), 0);
    EXPECT_EQ(view->GetLineHeader().headerLineCount, 10);
}

TEST_F(TableViewTest, PointsMapToCellsUnderTheHeaderAndAtTheEdges) {
    AddSheets(1, 3, 50);
    SetWidths(0, {100, 80, 120});
    view->SetSelSheet(0);
    SetClientSize(60 + 200, 300);
    const int lh = view->GetLineHeight();
    const int lhw = view->GetLineHeaderWidth();

    struct Case {
        int top;      // top line
        int scroll;   // scrollX
        CPoint pt;
        BOOL hit;
        int line;
        int column;
    };
    const Case cases[] = {
        {0, 0, {lhw, lh}, TRUE, 0, 0},                   // first pixel of the first cell
        {0, 0, {lhw + 100, 2 * lh}, TRUE, 1, 1},         // the next cell starts at the right edge
        {0, 0, {lhw + 300, lh}, FALSE, -1, -1},          // right of the last column
        {0, 0, {lhw - 1, lh}, FALSE, -1, -1},            // over the line header
        {0, 0, {lhw + 5, 5}, FALSE, -1, -1},             // under the header, top line 0
        {5, 0, {lhw + 5, 5}, TRUE, 4, 0},                // under the header: the line above
        {0, 0, {lhw + 5, 51 * lh}, FALSE, -1, -1},       // below the last line
        {0, 100, {lhw + 5, lh}, TRUE, 0, 1},             // scrolled: 105 is in column 1
        {0, 100, {lhw - 10, lh}, TRUE, 0, 0},            // left of the area, scrolled out
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "top " << c.top << " scroll " << c.scroll << " at " << c.pt.x << ","
                                          << c.pt.y);
        view->GetSheetObj(0)->topLine = c.top;
        view->GetSheetObj(0)->scrollX = c.scroll;
        view->SetSelSheet(0);
        int line = 7;
        int column = 7;
        EXPECT_EQ(view->PointToCellPos(c.pt, line, column), c.hit);
        EXPECT_EQ(line, c.line);
        EXPECT_EQ(column, c.column);
    }
}

TEST_F(TableViewTest, CellRectanglesFollowScrollingAndRejectMissingCells) {
    AddSheets(1, 3, 50);
    SetWidths(0, {100, 80, 120});
    SetClientSize(300, 300);
    view->GetSheetObj(0)->topLine = 4;
    view->GetSheetObj(0)->scrollX = 30;
    view->SetSelSheet(0);
    const int lh = view->GetLineHeight();
    const int dx = view->GetLineHeaderWidth() - 30;
    ASSERT_EQ(TopLine(), 4);
    ASSERT_EQ(ScrollX(), 30);
    EXPECT_EQ(view->GetCellRect(4, 0), CRect(dx, lh, dx + 100, 2 * lh));
    EXPECT_EQ(view->GetCellRect(6, 1), CRect(dx + 100, 3 * lh, dx + 180, 4 * lh));
    EXPECT_EQ(view->GetCellRect(2, 2), CRect(dx + 180, -lh, dx + 300, 0));  // above the area
    EXPECT_EQ(view->GetCellRect(-1, 0), CRect(dx, -4 * lh, dx + 100, -3 * lh));
    EXPECT_EQ(view->GetCellRect(50, 0), CRect());
    EXPECT_EQ(view->GetCellRect(0, 3), CRect());
    // Without a sheet there is no cell at all.
    view->DeleteAllSheets();
    EXPECT_EQ(view->GetCellRect(0, 0), CRect());
    int line = 0;
    int column = 0;
    EXPECT_FALSE(view->PointToCellPos(CPoint(100, 100), line, column));
    EXPECT_EQ(line, -1);
    EXPECT_EQ(column, -1);
}

TEST_F(TableViewTest, EnsureVisibleScrollsJustEnough) {
    AddSheets(1, 6, 100);
    SetWidths(0, {150, 150, 150, 150, 150, 150});
    view->SetSelSheet(0);
    SetClientSize(60 + 400, FourteenRowsAndAPart());  // 400 pixels of columns
    struct Case {
        int top;
        int scroll;
        int line;
        int column;
        int toTop;
        int toScroll;
    };
    const Case cases[] = {
        {0, 0, 10, 1, 0, 0},       // already visible
        {0, 0, 13, 0, 0, 0},       // the last full row
        {0, 0, 14, 0, 1, 0},       // the part row: becomes the last full row
        {30, 0, 12, 0, 12, 0},     // above: becomes the top row
        {0, 0, 0, 2, 0, 50},       // right edge aligned with the area's
        {0, 400, 0, 1, 0, 150},    // left edge aligned with the area's
        {0, 0, 100, 0, 0, 0},      // no such line: nothing
        {0, 0, 0, 6, 0, 0},        // no such column: nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "line " << c.line << " column " << c.column);
        view->GetSheetObj(0)->topLine = c.top;
        view->GetSheetObj(0)->scrollX = c.scroll;
        view->SetSelSheet(0);
        view->EnsureVisible(c.line, c.column);
        desktop.RunUntilIdle();
        EXPECT_EQ(TopLine(), c.toTop);
        EXPECT_EQ(ScrollX(), c.toScroll);
    }
}

// Beyond 65,536 lines the biased positions no longer fit in 16 bits; scrolling a
// cell into view and the wheel still reach every line.
TEST_F(TableViewTest, LargeSheetsScrollPastSixteenBits) {
    AddSheets(1, 1, 0);
    for (int l = 0; l < 70000; ++l) ASSERT_GE(view->InsertLine(0, l, u"x"), 0);
    view->SetSelSheet(0);
    SetClientSize(400, FourteenRowsAndAPart());
    view->EnsureVisible(69000, 0);
    EXPECT_EQ(TopLine(), 69000 - 14 + 1);
    desktop.Wheel(view->m_hWnd, CPoint(200, 100), -120);
    EXPECT_EQ(TopLine(), 69000 - 14 + 4);
    VScroll(SB_BOTTOM);
    EXPECT_EQ(TopLine(), 70000 - 1 - 14 + 1);
    view->EnsureVisible(40000, 0);
    EXPECT_EQ(TopLine(), 40000);
    EXPECT_EQ(view->GetScrollPos(SB_VERT), 40000 - 32768);
}

}  // namespace
}  // namespace tq3::test
