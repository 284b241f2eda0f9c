// Moving through a sheet as a user does: keys and the mouse injected on the
// desktop, the result read back with GetSel and from the hooks the view called.
#include <climits>
#include <string>
#include <vector>

#include "framework/window/backend.h"
#include "tests/support/spy_expect.h"
#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

using tq3::testing::kControl;
using tq3::testing::kShift;

class NavigationTest : public TableViewTest {
protected:
    // One sheet of `lines` lines and `columns` columns `width` pixels wide, its
    // cell area 14 full rows high: a page is 14 lines.
    void Build(int lines = 30, int columns = 6, int width = 100, int sheets = 1) {
        AddSheets(sheets, columns, lines);
        for (int s = 0; s < sheets; ++s) {
            for (int c = 0; c < columns; ++c) {
                view->GetColumnProp(s, c)->extent = CRect(c * width, 0, (c + 1) * width, view->GetLineHeight());
            }
        }
        view->SetSelSheet(0);
        SetClientSize(800, FourteenRowsAndAPart());
        view->SetFocus();
        desktop.RunUntilIdle();
        view->calls.clear();
    }
    static std::string Hook(CPoint p) { return "cursor " + std::to_string(p.y) + "," + std::to_string(p.x); }
    // How many times the key reached the view's window as a key message.
    static size_t Arrived(const tq3::testing::MessageSpy& spy, HWND hwnd, int vk) {
        size_t count = 0;
        for (const auto& record : spy.Find(hwnd, WM_KEYDOWN)) count += record.wParam == static_cast<WPARAM>(vk);
        return count;
    }
};

struct MoveRow {
    CRect sel;  // columns left..right, lines top..bottom
    CPoint cursor;
    int vk;
    UINT modifiers;
    CRect wantSel;
    CPoint wantCursor;
};
constexpr UINT S = kShift;
constexpr UINT C = kControl;

// 30 lines, 6 columns, a page of 14 lines. Every row starts from its own
// selection and cursor; the hook is expected exactly when the cursor moves.
TEST_F(NavigationTest, EveryMoveOfTheKeyboardTables) {
    Build();
    const MoveRow rows[] = {
        // Without Shift the selection collapses onto the new cursor; Home and End
        // go to the selection's top line, not the cursor's.
        {{1, 2, 3, 6}, {2, 4}, VK_UP, 0, {2, 3, 2, 3}, {2, 3}}, {{1, 0, 3, 6}, {2, 0}, VK_UP, 0, {2, 0, 2, 0}, {2, 0}},
        {{2, 4, 2, 4}, {2, 4}, VK_DOWN, C, {2, 5, 2, 5}, {2, 5}}, {{2, 29, 2, 29}, {2, 29}, VK_DOWN, 0, {2, 29, 2, 29}, {2, 29}},
        {{0, 4, 0, 4}, {0, 4}, VK_LEFT, 0, {0, 4, 0, 4}, {0, 4}}, {{5, 4, 5, 4}, {5, 4}, VK_RIGHT, 0, {5, 4, 5, 4}, {5, 4}},
        {{2, 4, 2, 4}, {2, 4}, VK_TAB, 0, {3, 4, 3, 4}, {3, 4}}, {{2, 4, 2, 4}, {2, 4}, VK_TAB, S, {1, 4, 1, 4}, {1, 4}},
        {{2, 10, 2, 10}, {2, 10}, VK_PRIOR, 0, {2, 0, 2, 0}, {2, 0}}, {{2, 10, 2, 10}, {2, 10}, VK_NEXT, 0, {2, 24, 2, 24}, {2, 24}},
        {{2, 20, 2, 20}, {2, 20}, VK_NEXT, 0, {2, 29, 2, 29}, {2, 29}}, {{2, 5, 4, 9}, {3, 7}, VK_HOME, 0, {0, 5, 0, 5}, {0, 5}},
        {{2, 5, 4, 9}, {3, 7}, VK_HOME, C, {0, 0, 0, 0}, {0, 0}}, {{2, 9, 4, 5}, {3, 7}, VK_END, 0, {5, 5, 5, 5}, {5, 5}},
        {{2, 5, 4, 9}, {3, 7}, VK_END, C, {5, 29, 5, 29}, {5, 29}},
        // Shift+Up and Shift+Down order the selection first.
        {{1, 5, 3, 8}, {3, 5}, VK_UP, S, {1, 5, 3, 7}, {3, 5}}, {{3, 5, 3, 5}, {3, 5}, VK_UP, S, {3, 4, 3, 5}, {3, 5}},
        {{2, 5, 2, 8}, {2, 6}, VK_UP, S, {2, 4, 2, 8}, {2, 6}}, {{2, 5, 2, 8}, {2, 8}, VK_UP, S, {2, 4, 2, 8}, {2, 8}},
        {{2, 8, 2, 5}, {2, 5}, VK_UP, S, {2, 5, 2, 7}, {2, 5}}, {{0, 0, 0, 0}, {0, 0}, VK_UP, S, {0, 0, 0, 0}, {0, 0}},
        {{2, 5, 2, 8}, {2, 6}, VK_DOWN, S, {2, 5, 2, 9}, {2, 6}}, {{2, 5, 2, 8}, {2, 8}, VK_DOWN, S, {2, 6, 2, 8}, {2, 8}},
        {{2, 5, 2, 8}, {2, 5}, VK_DOWN, S, {2, 5, 2, 9}, {2, 5}},
        {{2, 8, 2, 5}, {2, 8}, VK_DOWN, S, {2, 6, 2, 8}, {2, 8}},
        {{2, 29, 2, 29}, {2, 29}, VK_DOWN, S, {2, 29, 2, 29}, {2, 29}},
        // Shift+Left and Shift+Right move the stored edges (the first row stores a reversed block).
        {{3, 4, 3, 4}, {3, 4}, VK_LEFT, S, {3, 4, 2, 4}, {3, 4}}, {{1, 4, 3, 4}, {3, 4}, VK_LEFT, S, {0, 4, 3, 4}, {3, 4}},
        {{1, 4, 3, 4}, {2, 4}, VK_LEFT, S, {0, 4, 3, 4}, {2, 4}}, {{0, 4, 3, 4}, {2, 4}, VK_LEFT, S, {0, 4, 3, 4}, {2, 4}},
        {{0, 4, 0, 4}, {0, 4}, VK_LEFT, S, {0, 4, 0, 4}, {0, 4}}, {{3, 4, 4, 4}, {3, 4}, VK_RIGHT, S, {3, 4, 5, 4}, {3, 4}},
        {{3, 4, 4, 4}, {4, 4}, VK_RIGHT, S, {4, 4, 4, 4}, {4, 4}}, {{1, 4, 3, 4}, {2, 4}, VK_RIGHT, S, {1, 4, 4, 4}, {2, 4}},
        {{5, 4, 5, 4}, {5, 4}, VK_RIGHT, S, {5, 4, 5, 4}, {5, 4}},
        // Shift+Page Up orders first, Shift+Page Down does not.
        {{1, 5, 1, 10}, {1, 10}, VK_PRIOR, S, {1, 0, 1, 10}, {1, 10}}, {{1, 20, 1, 28}, {1, 20}, VK_PRIOR, S, {1, 20, 1, 14}, {1, 20}},
        {{1, 2, 1, 5}, {1, 2}, VK_NEXT, S, {1, 2, 1, 19}, {1, 2}},
        {{1, 2, 1, 16}, {1, 2}, VK_NEXT, S, {1, 2, 1, 16}, {1, 2}},
        {{1, 3, 1, 10}, {1, 10}, VK_NEXT, S, {1, 17, 1, 10}, {1, 10}},
        {{1, 20, 1, 14}, {1, 20}, VK_NEXT, S, {1, 20, 1, 20}, {1, 20}},
        {{1, 18, 1, 20}, {1, 20}, VK_NEXT, S, {1, 18, 1, 20}, {1, 20}},
        {{2, 9, 4, 5}, {3, 7}, VK_HOME, S, {0, 5, 4, 9}, {0, 7}}, {{2, 5, 4, 9}, {3, 7}, VK_HOME, S | C, {0, 0, 4, 9}, {0, 0}},
        {{2, 5, 4, 9}, {3, 7}, VK_END, S, {3, 5, 5, 9}, {3, 7}}, {{2, 5, 4, 9}, {1, 7}, VK_END, S | C, {2, 5, 5, 29}, {1, 7}},
    };
    for (const MoveRow& row : rows) {
        SCOPED_TRACE(::testing::Message() << "row " << &row - rows);
        Put(row.sel, row.cursor);
        desktop.KeyPress(row.vk, row.modifiers);
        EXPECT_EQ(Sel(), row.wantSel);
        EXPECT_EQ(Cursor(), row.wantCursor);
        EXPECT_EQ(view->calls, row.wantCursor != row.cursor ? std::vector<std::string>{Hook(row.wantCursor)}
                                                            : std::vector<std::string>{});
    }
}

// Enter walks the selection column by column and leaves it as stored; in a
// one-cell selection it moves like Down (Shift: Up).
TEST_F(NavigationTest, EnterWalksTheSelection) {
    Build();
    struct Walk {
        CRect sel;
        CPoint start;
        UINT modifiers;
        std::vector<CPoint> visits;
    };
    const Walk walks[] = {
        {{1, 1, 2, 2}, {1, 1}, 0, {{1, 2}, {2, 1}, {2, 2}, {1, 1}}},
        {{1, 1, 2, 2}, {1, 1}, S, {{2, 2}, {2, 1}, {1, 2}, {1, 1}}},
        {{2, 2, 1, 1}, {1, 1}, 0, {{2, 2}, {2, 2}}},  // reversed: walked by its stored edges
        {{2, 2, 1, 1}, {2, 2}, S, {{1, 1}, {1, 1}}},
        {{3, 3, 3, 3}, {3, 3}, 0, {{3, 4}}},
        {{3, 3, 3, 3}, {3, 3}, S, {{3, 2}}},
    };
    for (const Walk& walk : walks) {
        Put(walk.sel, walk.start);
        std::vector<std::string> hooks;
        for (CPoint visit : walk.visits) {
            const CPoint before = Cursor();
            desktop.KeyPress(VK_RETURN, walk.modifiers);
            // A one-cell selection moves with the cursor.
            EXPECT_EQ(Sel(), walk.visits.size() > 1 ? walk.sel : CRect(visit.x, visit.y, visit.x, visit.y));
            EXPECT_EQ(Cursor(), visit);
            if (visit != before) hooks.push_back(Hook(visit));
        }
        EXPECT_EQ(view->calls, hooks);
    }
}

// Ctrl+Page Up/Down change sheets, each keeping its own selection, and always
// pass the key on, at the first and the last sheet too.
TEST_F(NavigationTest, CtrlPageKeysChangeSheets) {
    Build(30, 6, 100, 3);
    tq3::testing::MessageSpy spy;
    spy.Watch(view->m_hWnd, "view");
    Put({1, 2, 3, 4}, {1, 2});
    desktop.KeyPress(VK_NEXT, kControl);
    Put({4, 5, 4, 5}, {4, 5});
    for (int vk : {VK_NEXT, VK_NEXT, VK_PRIOR}) desktop.KeyPress(vk, kControl);
    EXPECT_EQ(Cursor(), CPoint(4, 5));
    for (int vk : {VK_PRIOR, VK_PRIOR}) desktop.KeyPress(vk, kControl);
    EXPECT_EQ(view->GetSelSheet(), 0);
    EXPECT_EQ(Sel(), CRect(1, 2, 3, 4));
    EXPECT_EQ(view->calls, (std::vector<std::string>{"sheet 2", "cursor 0,0", "sheet 1", "cursor 5,4", "sheet 0",
                                                     "cursor 2,1"}));
    EXPECT_EQ(Arrived(spy, view->m_hWnd, VK_NEXT) + Arrived(spy, view->m_hWnd, VK_PRIOR), 6u);
}

// A key that starts an edit is taken by the view; any other reaches the window
// (and the accelerators) as a key message.
TEST_F(NavigationTest, WhichKeysStartAnEdit) {
    Build(30, 3);
    view->SetColumnEditMode(0, 1, 1, -1, 7, 2);  // numeric
    view->SetColumnEditMode(0, 2, 1, -1, 7, 2);  // numeric with a list: no number column
    ASSERT_GE(view->AddColumnString(0, 2, u"one"), 0);
    struct Row {
        int column, vk;
        UINT modifiers;
        bool numLock, edits;
    };
    const Row rows[] = {
        {0, 'A', 0, true, true},          {0, 'A', C, true, false},         {0, VK_OEM_1, C, true, true},
        {0, VK_SPACE, 0, true, true},     {0, VK_NUMPAD5, 0, false, false}, {0, VK_NUMPAD5, 0, true, true},
        {0, VK_F5, 0, true, false},       {1, '7', 0, true, true},          {1, 'A', 0, true, false},
        {1, 'A', 0, false, true},         {1, VK_OEM_MINUS, 0, true, true}, {1, VK_SUBTRACT, 0, true, true},
        {1, VK_DECIMAL, 0, true, false},  {2, 'A', 0, true, true},
    };
    tq3::testing::MessageSpy spy;
    spy.Watch(view->m_hWnd, "view");
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "row " << &row - rows);
        view->SetFocus();  // ends the edit the row before opened
        Put({row.column, 3, row.column, 3}, {row.column, 3});
        tq3::fw::SetKeyToggle(VK_NUMLOCK, row.numLock);
        spy.Clear();
        desktop.KeyPress(row.vk, row.modifiers);
        EXPECT_EQ(Arrived(spy, view->m_hWnd, row.vk), row.edits ? 0u : 1u);
    }
}

// A press selects the cell and holds the mouse until the release; a drag with
// the left button alone spans the cursor and the cell under the pointer,
// scrolling a step per message past the top and the left.
TEST_F(NavigationTest, MouseSelectsAndDrags) {
    Build(60, 12, 100);
    const HWND hwnd = view->m_hWnd;
    desktop.MouseDown(hwnd, Middle(2, 1));
    EXPECT_EQ(::GetCapture(), hwnd);
    desktop.MouseMove(hwnd, Middle(5, 3));
    EXPECT_EQ(Sel(), CRect(1, 2, 3, 5));
    desktop.MouseMove(hwnd, Middle(1, 0));
    desktop.MouseUp(hwnd, Middle(1, 0));
    EXPECT_EQ(::GetCapture(), nullptr);
    desktop.MouseMove(hwnd, Middle(6, 4));
    EXPECT_EQ(Sel(), CRect(0, 1, 1, 2));
    EXPECT_EQ(view->calls, std::vector<std::string>{"cursor 2,1"});
    desktop.KeyDown(VK_SHIFT);
    desktop.MouseDown(hwnd, Middle(3, 2));
    desktop.MouseMove(hwnd, Middle(6, 4));
    desktop.MouseUp(hwnd, Middle(6, 4));
    desktop.KeyUp(VK_SHIFT);
    EXPECT_EQ(Sel(), CRect(2, 3, 2, 3));
    VScroll(SB_THUMBPOSITION, 20 - 32768);
    HScroll(SB_THUMBPOSITION, 500);
    const CPoint start = Middle(20, 7);
    desktop.MouseDown(hwnd, start);
    for (int y : {3, 5, 3}) desktop.MouseMove(hwnd, CPoint(start.x, y));
    EXPECT_EQ(TopLine(), 17);
    EXPECT_EQ(Sel(), CRect(7, 17, 7, 20));
    for (int x : {10, 12}) desktop.MouseMove(hwnd, CPoint(x, start.y));  // over the line header
    desktop.MouseUp(hwnd, CPoint(12, start.y));
    EXPECT_EQ(ScrollX(), 300);
    EXPECT_EQ(Sel(), CRect(3, 17, 7, 20));
    EXPECT_EQ(Cursor(), CPoint(7, 20));
}

// Whatever a host stores is kept as given and survives every key; sheets without
// lines or columns take every key and click without harm.
TEST_F(NavigationTest, OddSelectionsAndEmptySheets) {
    Build();
    AddSheet(view, u"no lines", 3, 0);
    AddSheet(view, u"no columns", 0, 0);
    const int keys[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, VK_PRIOR, VK_NEXT, VK_HOME,
                        VK_END, VK_RETURN, VK_TAB, VK_F2, 'A', VK_SPACE};
    const std::pair<CRect, CPoint> odd[] = {{{5, 9, 1, 2}, {3, 4}},
                                            {{INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {INT_MAX, INT_MIN}},
                                            {{100, 200, 300, 400}, {-7, 500}}};
    for (int sheet : {0, 1, 2}) {
        view->SetSelSheet(sheet);
        for (const auto& [sel, cursor] : odd) {
            for (int vk : keys) {
                for (UINT modifiers : {0u, S, S | C}) {
                    view->SetSel(sel, cursor);
                    EXPECT_EQ(Sel(), sel);
                    desktop.KeyPress(vk, modifiers);
                }
            }
        }
        desktop.Click(view->m_hWnd, CPoint(200, 40));
    }
    view->SetSelSheet(1);
    desktop.KeyPress(VK_HOME, kControl);
    desktop.KeyPress(VK_NEXT);
    EXPECT_EQ(Cursor(), CPoint(0, -1));  // no line to stand on
}

}  // namespace
}  // namespace tq3::test
