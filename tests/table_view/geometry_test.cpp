// The horizontal range and every scroll code, and scrolling a cell into view, past
// 16 bits of lines too.
#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

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
