// Editing cells in place as a user does: F2, typing keys and clicks injected on
// the desktop, the cells read back through the view and the hooks from the spy.
#include <climits>
#include <string>
#include <vector>

#include "framework/app/window_dc.h"
#include "tests/support/failing_allocator.h"
#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

using Calls = std::vector<std::string>;

class InCellEditTest : public TableViewTest {
protected:
    // Two sheets of 30 lines "t<line>", 1.5, beta in a text column (at most 20
    // characters), a number column with one decimal and a list of alpha, beta, gamma.
    void SetUp() override {
        TableViewTest::SetUp();
        AddSheets(2, 3, 0);
        for (int s = 0; s < 2; ++s) {
            view->SetColumnEditMode(s, 0, 0, 20, 0, 0);
            view->SetColumnEditMode(s, 1, 1, -1, 7, 1);
            for (const char16_t* choice : {u"alpha", u"beta", u"gamma"}) view->AddColumnString(s, 2, choice);
            for (int l = 0; l < 30; ++l) view->InsertLine(s, l, (u"t" + Num(l) + u"\t1.5\tbeta\r\n").c_str());
            tq3::test::SetWidths(view, s, {120, 120, 120}, 0, view->GetLineHeight());
        }
        view->SetSelSheet(0);
        SetClientSize(600, FourteenRowsAndAPart());
    }
    static std::u16string Num(int n) {
        const std::string digits = std::to_string(n);
        return std::u16string(digits.begin(), digits.end());
    }
    void Put(const CRect& sel, CPoint cursor) {
        view->SetFocus();  // ends an open edit unwritten
        TableViewTest::Put(sel, cursor);
    }
    CRect Placed(CWnd& editor) {
        CRect r;
        editor.GetWindowRect(&r);
        view->ScreenToClient(&r);
        return r;
    }
    CCellEdit& Edit() { return view->GetCellEdit(); }
    CCellCombo& Combo() { return view->GetCellCombo(); }
};

// The column's mode chooses the editor, which lies over the cell and shows its
// text; a list text that is none of the choices shows the first one.
TEST_F(InCellEditTest, TheColumnChoosesFillsAndPlacesTheEditor) {
    ASSERT_TRUE(view->SetTabbedString(0, 5, u"x\t2\tdelta\r\n"));
    struct Row {
        CPoint cell;
        int textMode;  // -1: the list
        std::u16string text;
        int current;
    } rows[] = {{{0, 3}, 1, u"t3", -1}, {{1, 3}, 0, u"1.5", -1}, {{2, 3}, -1, u"", 1}, {{2, 5}, -1, u"", 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "row " << &row - rows);
        Put({row.cell, row.cell}, row.cell);
        desktop.KeyPress(VK_F2);
        CWnd& editor = row.textMode >= 0 ? static_cast<CWnd&>(Edit()) : Combo();
        EXPECT_EQ(::GetFocus(), editor.m_hWnd);
        EXPECT_EQ(Edit().IsWindowVisible(), row.textMode >= 0);
        CRect cell = view->GetCellRect(row.cell.y, row.cell.x);
        if (row.textMode < 0) cell.bottom = cell.top + Placed(editor).Height();  // the list's field is its own height
        EXPECT_EQ(Placed(editor), cell);
        if (row.textMode >= 0) {
            EXPECT_EQ(Edit().textMode, row.textMode);
            EXPECT_EQ(Edit().GetLimitText(), 20u) << "a column without a limit keeps the last one";
            CString text;
            Edit().GetWindowText(text);
            EXPECT_EQ(text, CString(row.text.c_str()));
        } else {
            EXPECT_EQ(Combo().startIndex, row.current);
        }
    }
    desktop.KeyPress(VK_ESCAPE);  // the list's Escape writes the value it opened with
    EXPECT_EQ(Cell(5, 2), u"alpha");
}

// Typing replaces the text; the key that ends the edit writes it and moves the
// cursor as it would without an edit; Escape writes nothing.
TEST_F(InCellEditTest, TheEndingKeyCommitsAndMoves) {
    struct Row {
        int column;
        std::u16string typed;
        int vk;
        bool shift;
        std::u16string want;
        CPoint cursor;
    } rows[] = {
        {1, u"5", VK_RETURN, false, u"5.0", {1, 11}}, {1, u"5", VK_RETURN, true, u"5.0", {1, 9}},
        {0, u"ab", VK_TAB, false, u"ab", {1, 10}},    {0, u"ab", VK_TAB, true, u"ab", {0, 10}},
        {1, u"7", VK_LEFT, false, u"7.0", {0, 10}},   {0, u"ab", VK_UP, false, u"ab", {0, 9}},
        {0, u"ab", VK_DOWN, false, u"ab", {0, 11}},   {0, u"ab", VK_ESCAPE, false, u"t10", {0, 10}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "row " << &row - rows);
        ASSERT_TRUE(view->SetTabbedString(0, 10, u"t10\t1.5\tbeta\r\n"));
        Put({row.column, 10, row.column, 10}, {row.column, 10});
        desktop.Type(row.typed);
        if (row.shift) desktop.KeyDown(VK_SHIFT);  // held while the key is handled
        desktop.KeyPress(row.vk);
        if (row.shift) desktop.KeyUp(VK_SHIFT);
        EXPECT_FALSE(Edit().IsWindowVisible());
        EXPECT_EQ(Cell(10, row.column), row.want);
        Calls want;
        if (row.vk != VK_ESCAPE) want.push_back("cell 10," + std::to_string(row.column));
        if (row.cursor != CPoint(row.column, 10)) {
            want.push_back("cursor " + std::to_string(row.cursor.y) + "," + std::to_string(row.cursor.x));
        }
        EXPECT_EQ(view->calls, want);
    }
}

// One edit reaches the cursor column of every selected line, in the order the
// selection is stored, before the cursor moves; a click elsewhere commits as
// Enter does, then selects; the list commits its entry on Left and picks the
// first entry starting with a typed letter.
TEST_F(InCellEditTest, ACommitReachesEverySelectedLine) {
    Put({0, 14, 2, 12}, {1, 14});
    desktop.Type(u"8");
    desktop.KeyPress(VK_RETURN);
    EXPECT_EQ(view->calls, (Calls{"cell 14,1", "cell 13,1", "cell 12,1", "cursor 14,2"}));
    EXPECT_EQ(Cell(11, 1) + Cell(13, 0) + Cell(13, 1), u"1.5t138.0");

    Put({0, 3, 0, 3}, {0, 3});
    desktop.Type(u"hello");
    desktop.Click(view->m_hWnd, view->GetCellRect(6, 2).CenterPoint());
    EXPECT_EQ(view->calls, (Calls{"cell 3,0", "cursor 4,0", "cursor 6,2"}));

    Put({2, 2, 2, 4}, {2, 2});
    desktop.Type(u"g");
    EXPECT_EQ(Combo().GetCurSel(), 2);
    desktop.KeyPress(VK_UP);
    tq3::testing::MessageSpy spy;
    spy.Watch(Combo().m_hWnd, "list");
    desktop.KeyPress(VK_LEFT);
    EXPECT_TRUE(spy.Find(Combo().m_hWnd, WM_KEYDOWN).empty()) << "the ending key stops at the list's filter";
    EXPECT_EQ(view->calls, (Calls{"cursor 2,1"}));  // beta again: no cell changed
    Put({2, 2, 2, 4}, {2, 2});
    desktop.KeyPress(VK_F2);
    desktop.KeyPress(VK_UP);
    desktop.KeyPress(VK_LEFT);
    EXPECT_EQ(view->calls, (Calls{"cursor 2,1", "cell 2,2", "cell 3,2", "cell 4,2"}));
}

// The dropped part of the list is never narrower than its widest entry and 20
// pixels, and an entry picked with the mouse is written.
TEST_F(InCellEditTest, TheDroppedListFitsItsEntries) {
    const CString wide(u"wide: a choice much wider than its column");
    view->AddColumnString(0, 2, wide);
    Put({2, 2, 2, 2}, {2, 2});
    desktop.KeyPress(VK_F2);
    CRect field;
    Combo().GetWindowRect(&field);
    desktop.Click(CPoint(field.right - 4, field.CenterPoint().y));  // the drop button
    CClientDC dc(&Combo());
    CFont* old = dc.SelectObject(view->GetFont());
    const int widest = dc.GetTextExtent(wide).cx;
    dc.SelectObject(old);
    CRect dropped;
    Combo().GetDroppedControlRect(&dropped);
    EXPECT_GE(dropped.Width(), widest + 20);
    desktop.Click(CPoint(dropped.left + 10, dropped.bottom - 3));
    EXPECT_EQ(Cell(2, 2), std::u16string(wide.GetString()));
    EXPECT_EQ(::GetFocus(), view->m_hWnd);
}

// What the host or the data does around an edit: the sheet removed, the column
// turned into a list, 5,000 characters, a selection stretched past the sheet.
TEST_F(InCellEditTest, HostChangesAndOddData) {
    Put({0, 3, 0, 3}, {0, 3});
    desktop.Type(u"lost");
    ASSERT_TRUE(view->DeleteSheet(0));
    desktop.KeyPress(VK_RETURN);
    EXPECT_EQ(Cell(3, 0), u"t3") << "nothing reached the sheet that took its place";

    Put({0, 3, 0, 3}, {0, 3});
    desktop.Type(u"yes");
    view->AddColumnString(0, 0, u"no");
    view->AddColumnString(0, 0, u"Yellow");
    desktop.KeyPress(VK_RETURN);
    EXPECT_EQ(Cell(3, 0), u"Yellow");

    view->ResetColumnContent(0, 0);
    view->SetColumnEditMode(0, 0, 0, 0, 0, 0);
    const std::u16string longText = std::u16string(4999, u'q') + u"z";
    ASSERT_TRUE(view->SetCellText(0, 5, 0, longText.c_str()));
    Put({0, INT_MIN, 0, INT_MAX}, {0, 5});
    desktop.KeyPress(VK_F2);
    EXPECT_EQ(Edit().GetWindowTextLength(), 5000);
    desktop.KeyPress(VK_RETURN);
    EXPECT_EQ(Cell(5, 0), longText);
    EXPECT_EQ(Cell(29, 0), longText) << "every line of the sheet was selected";
}

// Memory running out in the middle of a commit: each cell holds its old text or
// the new one whole, and the view edits again afterwards.
TEST_F(InCellEditTest, OutOfMemoryDuringACommit) {
    const std::u16string typed = u"longer than a small-string buffer";  // cut to 20 by the column
    view->calls.reserve(1000);
    const SweepResult sweep = SweepAllocations({
        .prepare =
            [&] {
                for (int l = 0; l < 12; ++l) view->SetCellText(0, l, 0, (u"t" + Num(l)).c_str());
                Put({0, 0, 0, 11}, {0, 0});
                desktop.KeyPress(VK_F2);
                Edit().SetWindowText(typed.c_str());
            },
        // Enter as the message loop hands it over; the harness's own input queue
        // is not under test.
        .operation =
            [&] {
                MSG enter{Edit().m_hWnd, WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
                EXPECT_TRUE(AfxPreTranslateMessage(&enter));
            },
        .check =
            [&](const SweepRun& run) {
                EXPECT_FALSE(run.threw);
                for (int l = 0; l < 12; ++l) {
                    const std::u16string cell = Cell(l, 0);
                    EXPECT_TRUE(cell == typed.substr(0, 20) || cell == u"t" + Num(l)) << run.allowed;
                }
                Put({1, 20, 1, 20}, {1, 20});
                desktop.Type(u"4");
                desktop.KeyPress(VK_RETURN);
                EXPECT_EQ(Cell(20, 1), u"4.0");
            },
        .sparse = true,
    });
    EXPECT_TRUE(sweep.completed);
    EXPECT_GT(sweep.refusedRuns, 0);
}

}  // namespace
}  // namespace tq3::test
