// Running out of memory inside an insertion: each insertion is tried with the
// allocator failing at its first, second, third... allocation, and must either
// succeed completely or fail with -1 leaving the table and the strips as they were.
#include "tests/support/failing_allocator.h"
#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

struct Shape {
    int sheets, tabs, lines, columns, headerColumns, headerLines;
    bool operator==(const Shape&) const = default;
};

class OutOfMemoryTest : public TableViewTest {
protected:
    Shape Now() {
        return Shape{view->GetSheetCount(),
                     view->GetSheetTab().GetItemCount(),
                     view->GetLineCount(0),
                     view->GetColumnCount(0),
                     view->GetColumnHeader().GetColumnCount(),
                     view->GetLineHeader().headerLineCount};
    }

    // Runs `insert` with the n-th allocation failing, for n = 0, 1, 2... until
    // an attempt meets no failure; checks every failed attempt changed nothing.
    template <typename Insert, typename Undo>
    void SweepFailures(Insert insert, Undo undo) {
        for (long succeed = 0; succeed < 200; ++succeed) {
            const Shape before = Now();
            int result = 0;
            long refused = 0;
            {
                FailingAllocations failing(succeed);
                result = insert();
                refused = failing.Refused();
            }
            if (refused == 0) {
                EXPECT_GE(result, 0) << "no allocation failed";
                return;
            }
            if (result < 0) {
                EXPECT_EQ(Now(), before) << "failure at allocation " << succeed << " changed the table";
            } else {
                undo();
                EXPECT_EQ(Now(), before) << "after undoing the insertion that survived allocation " << succeed;
            }
        }
        ADD_FAILURE() << "the insertion kept allocating";
    }
};

TEST_F(OutOfMemoryTest, InsertionsFailCleanly) {
    AddSheets(1, 2, 2);
    view->SetSelSheet(0);
    SweepFailures([&] { return view->InsertSheet(1, u"a sheet with a name too long for any small-string buffer"); },
                  [&] { view->DeleteSheet(1); });
    SweepFailures([&] { return view->InsertLine(0, 1, u"a line text long enough to need its own block\tsecond"); },
                  [&] { view->DeleteLine(0, 1); });
    SweepFailures([&] { return view->InsertColumn(0, 1, u"a column title long enough to need its own block", 0); },
                  [&] { view->DeleteColumn(0, 1); });
}

// Painting, scrolling, a new caption and a new selection with the allocator failing
// at each allocation in turn: nothing escapes, the scroll state stays whole, and
// once memory is back the view paints as before.
TEST_F(OutOfMemoryTest, PaintingAndScrollingSurviveFailedAllocations) {
    AddSheets(1, 3, 200);
    view->SetSelSheet(0);
    desktop.RunUntilIdle();
    auto pixelAt = [&](CPoint pt) { return tq3::testing::WindowPixel(view->m_hWnd, pt); };
    view->calls.reserve(1000);  // the spy's own record never runs out
    long refused = 1;
    for (long succeed = 0; succeed < 100000 && refused > 0; succeed += 1 + succeed / 8) {
        {
            FailingAllocations failing(succeed);
            view->RedrawWindow();
            view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
            view->SetWindowTextW(u"A caption long enough to need a block of its own");
            view->SetSel(CRect(0, 1, 1, 2), CPoint(0, 1));
            refused = failing.Refused();
        }
        const int top = view->GetLineHeader().topLine;
        EXPECT_GE(top, 0);
        EXPECT_LT(top, 200);
        EXPECT_EQ(view->GetSheetObj(0)->topLine, top);
        view->SetSel(CRect(1, 5, 1, 5), CPoint(1, 5));
        view->EnsureVisible(5, 1);
        view->Invalidate(TRUE);
        desktop.RunUntilIdle();
        const CRect cell = view->GetCellRect(5, 1);
        EXPECT_EQ(pixelAt(CPoint(cell.left + 3, cell.top + 3)), GetSysColor(COLOR_WINDOW));
        EXPECT_EQ(pixelAt(CPoint(cell.left - 1, cell.top + 3)), tq3::testing::Inverted(GetSysColor(COLOR_WINDOW)))
            << "after failing at allocation " << succeed;
        view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
    }
    EXPECT_EQ(refused, 0) << "the steps kept allocating";
}

}  // namespace
}  // namespace tq3::test
