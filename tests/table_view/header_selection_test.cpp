// Whole columns and whole lines selected from the header strips with the mouse,
// the corner box, and the right click that selects and opens the context menu.
#include "framework/menus/menu.h"
#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::AnswerKey;
using tq3::testing::ModalAnswer;

class HeaderSelectionTest : public TableViewTest {
protected:
    void SetUp() override {
        TableViewTest::SetUp();
        AddSheets(1, 4, 10);
        SetWidths(0, {80, 80, 80, 80});
        SetClientSize(600, 400);
    }
    HWND Columns() { return view->GetColumnHeader().m_hWnd; }
    HWND Lines() { return view->GetLineHeader().m_hWnd; }
    CPoint Title(int column) { return CPoint(column * 80 + 40, 5); }
    // The middle of a line's label; the caption box takes the first row.
    CPoint Label(int line) { return CPoint(10, (line + 1) * view->GetLineHeight() + view->GetLineHeight() / 2); }
    // Presses at `from` in `strip`, drags to `to` and releases; the view then holds
    // `sel` with the cursor at `cursor`, and the keys.
    void Drag(HWND strip, CPoint from, CPoint to, const CRect& sel, CPoint cursor) {
        desktop.AdvanceClock(1000);
        desktop.MouseMove(strip, from);
        desktop.MouseDown(strip, from);
        desktop.MouseMove(strip, to);
        desktop.MouseUp(strip, to);
        EXPECT_EQ(Sel(), sel);
        EXPECT_EQ(Cursor(), cursor);
        EXPECT_EQ(::GetFocus(), view->m_hWnd);
    }
    // Right-clicks at `at` in `strip`; whether the context menu opened (it is
    // closed with Escape).
    bool RightClick(HWND strip, CPoint at) {
        bool opened = false;
        desktop.QueueModalAnswer(ModalAnswer{kPopupMenuClass, {}, [&](HWND window) {
                                                 opened = true;
                                                 PostMessageW(window, WM_NULL, 0, 0);
                                             }});
        desktop.QueueModalAnswer(AnswerKey(VK_ESCAPE, kPopupMenuClass));
        desktop.AdvanceClock(1000);
        desktop.Click(strip, at, tq3::testing::Button::Right);
        EXPECT_EQ(desktop.PendingModalAnswers(), 0u);
        return opened;
    }
};

// Dragged backwards, the cursor stays where the press was; a press alone takes one line.
TEST_F(HeaderSelectionTest, PressAndDragAlongTheStripsSelectWholeColumnsAndLines) {
    Drag(Columns(), Title(3), Title(1), CRect(1, 0, 3, 9), CPoint(3, 0));
    Drag(Lines(), Label(6), Label(2), CRect(0, 2, 3, 6), CPoint(0, 6));
    Drag(Lines(), Label(4), Label(4), CRect(0, 4, 3, 4), CPoint(0, 4));
}

TEST_F(HeaderSelectionTest, TheCornerBoxSelectsEveryCell) {
    view->SetSel(CRect(2, 3, 2, 5), CPoint(2, 3));
    desktop.AdvanceClock(1000);
    desktop.Click(Lines(), CPoint(10, 2));
    EXPECT_EQ(Sel(), CRect(0, 0, 3, 9));
    EXPECT_EQ(Cursor(), CPoint(0, 0));

    // A view a host placed in a window of its own, outside a frame, takes the
    // keys from the click itself: no frame hands them over.
    CWnd holder;
    ASSERT_TRUE(holder.CreateEx(0, AfxRegisterWndClass(0), u"holder", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                CRect(0, 0, 400, 300), nullptr, 0));
    auto* bare = new SpyTableView;
    ASSERT_TRUE(bare->Create(nullptr, u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 380, 260), &holder, 1, nullptr));
    AddSheet(bare, u"s0", 2, 3);
    bare->SetSelSheet(0);
    holder.SetFocus();
    desktop.RunUntilIdle();
    desktop.AdvanceClock(1000);
    desktop.Click(bare->GetLineHeader().m_hWnd, CPoint(10, 2));
    CRect all;
    CPoint cursor;
    bare->GetSel(all, cursor);
    EXPECT_EQ(all, CRect(0, 0, 1, 2));
    EXPECT_EQ(::GetFocus(), bare->m_hWnd);
    holder.DestroyWindow();
}

TEST_F(HeaderSelectionTest, ARightClickSelectsTheItemAndOpensTheMenu) {
    EXPECT_TRUE(RightClick(Lines(), Label(4)));
    EXPECT_EQ(Sel(), CRect(0, 4, 3, 4));
    EXPECT_EQ(Cursor(), CPoint(0, 4));
    EXPECT_TRUE(RightClick(Columns(), Title(2)));
    EXPECT_EQ(Sel(), CRect(2, 0, 2, 9));
    EXPECT_EQ(Cursor(), CPoint(2, 0));
}

}  // namespace
}  // namespace tq3::test
