// The cell area as painted: a long field cut at its box, numbers at the right.
#include <string>

#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

class PaintTest : public TableViewTest {
protected:
    // The box of pixels in `box` (client coordinates) that are not the window
    // colour; empty when there are none.
    CRect Ink(const CRect& box) {
        return tq3::testing::CaptureWindow(view->m_hWnd, box).InkBounds(GetSysColor(COLOR_WINDOW));
    }

    // Where a cell's text is written: 6 pixels in from each side, 1 from top and bottom.
    CRect TextBox(int line, int column) {
        CRect box = view->GetCellRect(line, column);
        box.DeflateRect(6, 1, 6, 1);
        return box;
    }
};

// A line of more than 5,000 characters: its first cell is cut at its box, and the
// fields behind it are still found and drawn, a number at the right margin.
TEST_F(PaintTest, ALongFieldIsCutAtItsBoxAndTheFieldsBehindItAreDrawn) {
    AddSheets(1, 0, 0);
    ASSERT_GE(view->InsertColumn(0, 0, u"Name", 0), 0);
    ASSERT_GE(view->InsertColumn(0, 1, u"Value", 1), 0);
    ASSERT_GE(view->InsertColumn(0, 2, u"Note", 0), 0);
    SetWidths(0, {150, 100, 70});
    ASSERT_GE(view->InsertLine(0, 0, (std::u16string(5000, u'W') + u"\t345\tend").c_str()), 0);
    view->SetSelSheet(0);
    SetClientSize(500, 300);
    // A selection outside the sheet shows nothing, so every box below holds text only.
    view->SetSel(CRect(3, 0, 3, 0), CPoint(3, 0));
    desktop.RunUntilIdle();

    EXPECT_GE(Ink(TextBox(0, 0)).right, TextBox(0, 0).right - 8);
    const CRect number = Ink(TextBox(0, 1));
    ASSERT_FALSE(number.IsRectEmpty());
    EXPECT_LE(TextBox(0, 1).right - number.right, 2);
    EXPECT_GT(number.left - TextBox(0, 1).left, 40);
    EXPECT_FALSE(Ink(TextBox(0, 2)).IsRectEmpty());
}

}  // namespace
}  // namespace tq3::test
