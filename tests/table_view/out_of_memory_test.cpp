// Running out of memory inside the view: each allocation of a cell set, of
// painting, scrolling, a caption and a selection, and of keys, is refused in turn.
// A cell set answers 0 with its line unchanged; the rest keep the scroll state
// whole and paint as before once memory is back.
#include <string>

#include "tests/support/failing_allocator.h"
#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

class OutOfMemoryTest : public TableViewTest {
protected:
    // Once memory is back the view selects and paints as before: the frame of cell
    // 5,1 is inverted outside its left edge.
    void ExpectPaintsASelection(const SweepRun& run) {
        view->SetSel(CRect(1, 5, 1, 5), CPoint(1, 5));
        view->EnsureVisible(5, 1);
        view->Invalidate(TRUE);
        desktop.RunUntilIdle();
        const CRect cell = view->GetCellRect(5, 1);
        EXPECT_EQ(tq3::testing::WindowPixel(view->m_hWnd, CPoint(cell.left - 1, cell.top + 3)),
                  tq3::testing::Inverted(GetSysColor(COLOR_WINDOW)))
            << "after failing at allocation " << run.allowed;
    }
};

// A cell set that runs out of memory answers 0 and leaves its line and the hooks
// alone; one that goes through answers 1 with the new text in place. The long
// text makes the line grow into a new block; the number column's conversion
// needs storage of its own first.
TEST_F(OutOfMemoryTest, ACellSetTakesItsTextOrAnswersZeroWithTheLineUnchanged) {
    AddSheets(1, 2, 1);
    view->SetColumnEditMode(0, 1, 1, 0, 9, 2);
    const struct Case {
        int column;
        std::u16string text;
    } cases[] = {{0, std::u16string(100, u'x')}, {1, u"12345.5"}};
    for (const Case& c : cases) {
        ASSERT_TRUE(view->SetTabbedString(0, 0, u"\t\r\n"));
        const CString before = view->GetTabbedString(0, 0);
        view->calls.reserve(4);  // the recording hook itself needs no memory
        int result = -1;
        const SweepResult sweep = SweepAllocations({
            .operation =
                [&] {
                    result = -1;
                    result = view->SetCellText(0, 0, c.column, c.text.c_str());
                },
            .check =
                [&](const SweepRun& run) {
                    EXPECT_FALSE(run.threw);
                    if (result == 0) {
                        EXPECT_GT(run.refused, 0) << "refused with memory to spare";
                        EXPECT_EQ(view->GetTabbedString(0, 0), before) << "after allocation " << run.allowed;
                        EXPECT_TRUE(view->calls.empty());
                        return;
                    }
                    EXPECT_EQ(result, 1);
                    EXPECT_NE(view->GetTabbedString(0, 0), before) << "answered 1 after allocation " << run.allowed;
                    view->SetTabbedString(0, 0, before);
                    view->calls.clear();
                },
            .limit = 100,
        });
        EXPECT_TRUE(sweep.completed) << c.column;
        EXPECT_GT(sweep.refusedRuns, 0) << c.column;
    }
}

TEST_F(OutOfMemoryTest, PaintingAndScrollingSurviveFailedAllocations) {
    AddSheets(1, 3, 200);
    view->SetSelSheet(0);
    desktop.RunUntilIdle();
    view->calls.reserve(1000);  // the spy's own record never runs out
    const SweepResult sweep = SweepAllocations({
        .operation =
            [&] {
                view->RedrawWindow();
                view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
                view->SetWindowTextW(u"A caption long enough to need a block of its own");
                view->SetSel(CRect(0, 1, 1, 2), CPoint(0, 1));
            },
        .check =
            [&](const SweepRun& run) {
                EXPECT_FALSE(run.threw);
                const int top = view->GetLineHeader().topLine;
                EXPECT_GE(top, 0);
                EXPECT_LT(top, 200);
                EXPECT_EQ(view->GetSheetObj(0)->topLine, top);
                ExpectPaintsASelection(run);
                view->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
            },
        .limit = 100000,
        .sparse = true,
    });
    EXPECT_TRUE(sweep.completed) << "the steps kept allocating";
}

// Keys meet a failed allocation, the host's hook's own included (the spy's
// record grows), as the message loop hands them over: nothing escapes, and the
// selection stays one the view can paint.
TEST_F(OutOfMemoryTest, KeysSurviveFailedAllocations) {
    AddSheets(1, 4, 100);
    view->SetSelSheet(0);
    desktop.RunUntilIdle();
    const SweepResult sweep = SweepAllocations({
        .prepare =
            [&] {
                view->calls = {};
                view->SetSel(CRect(1, 3, 2, 6), CPoint(1, 3));
            },
        .operation =
            [&] {
                for (int vk : {VK_RETURN, VK_DOWN, VK_NEXT, VK_RIGHT, VK_END, VK_PRIOR, VK_HOME, int{'A'}}) {
                    MSG msg{view->m_hWnd, WM_KEYDOWN, static_cast<WPARAM>(vk), 1, 0, {0, 0}};
                    EXPECT_TRUE(AfxPreTranslateMessage(&msg));
                }
            },
        .check =
            [&](const SweepRun& run) {
                EXPECT_FALSE(run.threw);
                CRect sel;
                CPoint cursor;
                view->GetSel(sel, cursor);
                EXPECT_TRUE(cursor.x >= 0 && cursor.x < 4 && cursor.y >= 0 && cursor.y < 100)
                    << "after failing at allocation " << run.allowed;
                ExpectPaintsASelection(run);
            },
        .limit = 100000,
        .sparse = true,
    });
    EXPECT_TRUE(sweep.completed) << "the keys kept allocating";
    EXPECT_GT(sweep.refusedRuns, 0);
}

}  // namespace
}  // namespace tq3::test
