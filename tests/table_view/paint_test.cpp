// The cell area as painted: grid lines, cell texts with their margins, alignment
// and ellipsis, long lines, the inverted selection frame, selection changes drawn
// between paints, and blank printing.
#include <string>

#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

class PaintTest : public TableViewTest {
protected:
    COLORREF At(CPoint client) { return tq3::testing::WindowPixel(view->m_hWnd, client); }
    COLORREF Window() { return GetSysColor(COLOR_WINDOW); }
    COLORREF Grid() { return GetSysColor(COLOR_BTNFACE); }

    // The box of pixels in `box` (client coordinates) that are not the window
    // colour; empty when there are none.
    CRect Ink(const CRect& box) { return tq3::testing::CaptureWindow(view->m_hWnd, box).InkBounds(Window()); }

    // Where a cell's text is written: 6 pixels in from each side, 1 from top and bottom.
    CRect TextBox(int line, int column) {
        CRect box = view->GetCellRect(line, column);
        box.DeflateRect(6, 1, 6, 1);
        return box;
    }
};

COLORREF Inverse(COLORREF c) { return tq3::testing::Inverted(c); }

// One selected cell is an inverted frame from 2 pixels outside its border to 1
// pixel inside; the frame of the cell selected before is gone.
TEST_F(PaintTest, OneCellSelectionIsAFrameTwoOutsideOneInside) {
    AddSheets(1, 4, 10);
    SetWidths(0, {100, 100, 100, 100});
    view->SetSelSheet(0);
    SetClientSize(500, 300);
    const CRect first = view->GetCellRect(1, 1);
    const CRect cell = view->GetCellRect(3, 2);
    view->SetSel(CRect(1, 1, 1, 1), CPoint(1, 1));
    desktop.RunUntilIdle();
    const COLORREF firstBorder = At(CPoint(first.left, first.CenterPoint().y));

    view->SetSel(CRect(2, 3, 2, 3), CPoint(2, 3));
    desktop.RunUntilIdle();
    const int cy = cell.CenterPoint().y;
    const int cx = cell.CenterPoint().x;
    // Offsets from the left/top edge and from the right/bottom edge, with whether
    // the pixel is inverted. Unselected cells here are window-coloured with grid
    // lines on their right and bottom edges.
    struct Probe {
        CPoint pt;
        bool inverted;
    };
    const Probe probes[] = {
        {{cell.left - 3, cy}, false},  {{cell.left - 2, cy}, true},   {{cell.left + 1, cy}, false},
        {{cell.right - 2, cy}, false}, {{cell.right - 1, cy}, true},  {{cell.right + 1, cy}, true},
        {{cell.right + 2, cy}, false}, {{cx, cell.top - 3}, false},   {{cx, cell.top - 2}, true},
        {{cx, cell.top + 1}, false},   {{cx, cell.bottom - 1}, true}, {{cx, cell.bottom + 2}, false},
    };
    // Against the same view painted without a selection there.
    std::vector<COLORREF> selected;
    for (const Probe& p : probes) selected.push_back(At(p.pt));
    view->SetSel(CRect(0, 9, 0, 9), CPoint(0, 9));
    desktop.RunUntilIdle();
    for (size_t i = 0; i < std::size(probes); ++i) {
        const COLORREF plain = At(probes[i].pt);
        SCOPED_TRACE(::testing::Message() << "at " << probes[i].pt.x - cell.left << "," << probes[i].pt.y - cell.top);
        EXPECT_EQ(selected[i], probes[i].inverted ? Inverse(plain) : plain);
    }
    EXPECT_EQ(At(CPoint(first.left, first.CenterPoint().y)), Inverse(firstBorder));
}

// A block shows wholly inverted with its margin; only the cursor cell's interior
// keeps its colours.
TEST_F(PaintTest, BlockSelectionLeavesTheCursorInteriorPlain) {
    AddSheets(1, 4, 10);
    SetWidths(0, {100, 100, 100, 100});
    view->SetSelSheet(0);
    SetClientSize(500, 300);
    view->SetSel(CRect(1, 2, 2, 4), CPoint(1, 2));
    desktop.RunUntilIdle();
    const CRect cursor = view->GetCellRect(2, 1);
    const CRect corner = view->GetCellRect(4, 2);
    const CRect outside = view->GetCellRect(6, 3);
    EXPECT_EQ(At(cursor.CenterPoint()), Window());
    // A cell's left edge is the grid line of the column before it.
    EXPECT_EQ(At(CPoint(cursor.left, cursor.CenterPoint().y)), Inverse(Grid()));
    EXPECT_EQ(At(CPoint(cursor.left + 1, cursor.CenterPoint().y)), Window());
    EXPECT_EQ(At(corner.CenterPoint()), Inverse(Window()));
    EXPECT_EQ(At(CPoint(corner.right + 1, corner.CenterPoint().y)), Inverse(Window()));
    EXPECT_EQ(At(CPoint(corner.right + 2, corner.CenterPoint().y)), Window());
    EXPECT_EQ(At(outside.CenterPoint()), Window());
}

TEST_F(PaintTest, GridLinesUnderRowsAndRightOfColumnsMoveWithScrolling) {
    AddSheets(1, 3, 30);
    SetWidths(0, {100, 150, 400});
    view->SetSelSheet(0);
    SetClientSize(460, 300);
    view->SetSel(CRect(0, 0, 0, 0), CPoint(0, 0));
    desktop.RunUntilIdle();
    const int lh = view->GetLineHeight();
    const int lhw = view->GetLineHeaderWidth();
    CRect client;
    view->GetClientRect(&client);
    const int bottom = client.bottom - lh - 10;
    // Under every row, across the whole width; the last, part row included.
    for (int y = 2 * lh; y < bottom; y += lh) {
        EXPECT_EQ(At(CPoint(lhw + 150, y)), Grid()) << y;
        EXPECT_EQ(At(CPoint(client.right - 1, y)), Grid()) << y;
        EXPECT_EQ(At(CPoint(lhw + 150, y - lh / 2)), Window()) << y;
    }
    const int row = 5 * lh + lh / 2;
    EXPECT_EQ(At(CPoint(lhw + 100, row)), Grid());
    EXPECT_EQ(At(CPoint(lhw + 250, row)), Grid());
    EXPECT_EQ(At(CPoint(lhw + 101, row)), Window());

    HScroll(SB_THUMBPOSITION, 30);
    ASSERT_EQ(ScrollX(), 30);
    EXPECT_EQ(At(CPoint(lhw + 70, row)), Grid());
    EXPECT_EQ(At(CPoint(lhw + 220, row)), Grid());
    EXPECT_EQ(At(CPoint(lhw + 100, row)), Window());
}

TEST_F(PaintTest, TextsKeepMarginsAlignNumbersAndEndInAnEllipsis) {
    AddSheets(1, 0, 0);
    ASSERT_GE(view->InsertColumn(0, 0, u"Name", 0), 0);
    ASSERT_GE(view->InsertColumn(0, 1, u"Value", 1), 0);
    ASSERT_GE(view->InsertColumn(0, 2, u"Note", 0), 0);
    SetWidths(0, {150, 100, 70});
    const std::u16string longNote = u"A note much too long for its column";
    const std::u16string wide(5000, u'W');
    const std::u16string lines[] = {
        u"Alpha\t12\t" + longNote,
        u"Beta",  // fields missing at the end: empty cells
        wide + u"\t345\tend",
    };
    for (int l = 0; l < 3; ++l) ASSERT_GE(view->InsertLine(0, l, lines[l].c_str()), 0);
    view->SetSelSheet(0);
    SetClientSize(500, 300);
    // A selection outside the sheet shows nothing, so every box below holds text only.
    view->SetSel(CRect(3, 0, 3, 0), CPoint(3, 0));
    desktop.RunUntilIdle();

    // A text column starts at the left margin; a numeric one ends at the right.
    const CRect name = Ink(TextBox(0, 0));
    ASSERT_FALSE(name.IsRectEmpty());
    EXPECT_LE(name.left - TextBox(0, 0).left, 2);
    EXPECT_GT(TextBox(0, 0).right - name.right, 40);
    const CRect number = Ink(TextBox(0, 1));
    ASSERT_FALSE(number.IsRectEmpty());
    EXPECT_LE(TextBox(0, 1).right - number.right, 2);
    EXPECT_GT(number.left - TextBox(0, 1).left, 40);
    // Nothing is drawn in the margins.
    for (int c = 0; c < 3; ++c) {
        CRect cell = view->GetCellRect(0, c);
        EXPECT_TRUE(Ink(CRect(cell.left + 1, cell.top + 1, cell.left + 6, cell.bottom - 1)).IsRectEmpty()) << c;
        EXPECT_TRUE(Ink(CRect(cell.right - 6, cell.top + 1, cell.right - 1, cell.bottom - 1)).IsRectEmpty()) << c;
    }
    // The note too long for its column is cut at its box.
    const CRect noteBox = TextBox(0, 2);
    EXPECT_GE(Ink(noteBox).right, noteBox.right - 8);
    EXPECT_FALSE(Ink(noteBox).IsRectEmpty());

    // Missing fields are empty cells.
    EXPECT_TRUE(Ink(TextBox(1, 1)).IsRectEmpty());
    EXPECT_FALSE(Ink(TextBox(1, 0)).IsRectEmpty());

    // A line of more than 5,000 characters: its first cell is cut, and the fields
    // behind it are still found and drawn.
    EXPECT_GE(Ink(TextBox(2, 0)).right, TextBox(2, 0).right - 8);
    const CRect tail = Ink(TextBox(2, 1));
    ASSERT_FALSE(tail.IsRectEmpty());
    EXPECT_LE(TextBox(2, 1).right - tail.right, 2);
    EXPECT_FALSE(Ink(TextBox(2, 2)).IsRectEmpty());
}

class PrinterDC : public CDC {
public:
    PrinterDC() { m_bPrinting = TRUE; }
};

// Printing and previewing give blank pages; the same call on a screen context draws.
TEST_F(PaintTest, PrintedPagesStayBlank) {
    AddSheets(1, 2, 5);
    view->SetSelSheet(0);
    desktop.RunUntilIdle();
    const COLORREF paper = RGB(10, 200, 30);
    auto draw = [&](CDC& dc) {
        dc.CreateCompatibleDC(nullptr);
        CBitmap page;
        page.CreateCompatibleBitmap(&dc, 640, 480);
        CBitmap* old = dc.SelectObject(&page);
        dc.FillSolidRect(0, 0, 640, 480, paper);
        view->OnDraw(&dc);
        int changed = 0;
        for (int y = 0; y < 480; y += 7) {
            for (int x = 0; x < 640; x += 7) changed += dc.GetPixel(x, y) != paper;
        }
        dc.SelectObject(old);
        return changed;
    };
    PrinterDC printer;
    EXPECT_EQ(draw(printer), 0);
    CDC screen;
    EXPECT_GT(draw(screen), 0);
    // The background is never erased apart from the cell area's copy.
    EXPECT_NE(view->SendMessage(WM_ERASEBKGND, 0, 0), 0);
}

}  // namespace
}  // namespace tq3::test
