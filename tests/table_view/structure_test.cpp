// The structure interface: sheets, lines, columns, the selected sheet, and what
// the header strips and the tab strip are told.
#include "framework/controls/commctrl.h"
#include "tests/table_view/table_view_fixture.h"
#include "tests/support/spy_expect.h"

namespace tq3::test {
namespace {

using tq3::testing::MessageSpy;
using tq3::testing::Notify;

TEST_F(TableViewTest, InsertLineAppendsAndRefusesGaps) {
    AddSheets(2, 2);
    EXPECT_EQ(view->InsertLine(0, 7, u"a\tb"), 1) << "the first line goes anywhere";
    EXPECT_EQ(view->InsertLine(0, 1, u"c\td"), 2) << "appended: the new count";
    EXPECT_EQ(view->InsertLine(0, 7, u"x"), -1);
    EXPECT_EQ(view->InsertLine(0, 1, u"g\th"), 1) << "before line 1: its position";
    EXPECT_EQ(view->GetTabbedString(0, 1), CString(u"g\th"));
    // Only the displayed sheet's count reaches the line header.
    view->SetSelSheet(0);
    EXPECT_EQ(view->GetLineHeader().headerLineCount, 3);
    EXPECT_EQ(view->InsertLine(1, 0, u"x"), 1);
    EXPECT_EQ(view->GetLineHeader().headerLineCount, 3);
    EXPECT_EQ(view->InsertLine(0, 3, u"x"), 4);
    EXPECT_EQ(view->GetLineHeader().headerLineCount, 4);
}

TEST_F(TableViewTest, ColumnsAddedToTheDisplayedSheetAreLaidOutSideBySide) {
    AddSheets(1);
    view->SetSelSheet(0);
    view->InsertColumn(0, 0, u"Name", 0);
    view->InsertColumn(0, 1, u"A much longer title", 0);
    const CRect first = view->GetColumnProp(0, 0)->extent;
    const CRect second = view->GetColumnProp(0, 1)->extent;
    EXPECT_EQ(first.left, 0);
    EXPECT_GT(first.Width(), view->GetLineHeight()) << "title width plus the margin";
    EXPECT_EQ(second.left, first.right);
    EXPECT_GT(second.Width(), first.Width());
    EXPECT_EQ(view->GetColumnProp(0, 1)->defaultWidth, second.Width());
}

TEST_F(TableViewTest, DeleteSheetRefillsTheHeaderButKeepsTheSelection) {
    AddSheets(2);
    view->InsertColumn(1, 0, u"b0", 0);
    view->InsertColumn(1, 1, u"b1", 0);
    view->SetSelSheet(0);
    view->calls.clear();

    EXPECT_EQ(view->DeleteSheet(2), 0);
    EXPECT_EQ(view->DeleteSheet(0), 1);
    EXPECT_EQ(view->GetSheetCount(), 1);
    EXPECT_EQ(view->GetSheetTab().GetItemText(0), CString(u"s1"));
    ASSERT_EQ(view->GetColumnHeader().GetColumnCount(), 2);
    EXPECT_EQ(view->GetColumnHeader().GetColumn(1)->title, CString(u"b1"));
    EXPECT_EQ(view->GetSelSheet(), 0);
    EXPECT_TRUE(view->calls.empty());

}

TEST_F(TableViewTest, DeletingLinesOfTheDisplayedSheetResetsTheLineHeader) {
    AddSheets(2, 1, 3);
    view->SetSelSheet(0);
    view->GetLineHeader().previousTopLine = 5;
    EXPECT_EQ(view->DeleteLine(0, 3), 0);
    EXPECT_EQ(view->DeleteLine(0, 1), 1);
    EXPECT_EQ(view->GetLineCount(0), 2);
    EXPECT_EQ(view->GetLineHeader().headerLineCount, 2);
    EXPECT_EQ(view->GetLineHeader().previousTopLine, -1) << "the next paint redraws every row";

    view->GetLineHeader().previousTopLine = 5;
    EXPECT_EQ(view->DeleteLine(1, 0), 1);
    EXPECT_EQ(view->GetLineHeader().previousTopLine, 5) << "another sheet's lines do not touch the header";
    EXPECT_EQ(view->GetLineHeader().headerLineCount, 2);

    EXPECT_EQ(view->DeleteAllLines(0), 1);
    EXPECT_EQ(view->GetLineHeader().headerLineCount, 0);
    EXPECT_EQ(view->DeleteAllLines(2), 0);
}

TEST_F(TableViewTest, SelectingASheetCallsTheHooksAndTellsTheHostWindow) {
    AddSheets(3, 2, 2);
    MessageSpy spy;
    spy.Watch(frame->m_hWnd, "frame");
    spy.KeepOnly({WM_NOTIFY});

    view->SetSelSheet(-1);
    view->SetSelSheet(3);
    EXPECT_TRUE(view->calls.empty()) << "invalid indexes change nothing";
    EXPECT_TRUE(spy.Log().empty());

    view->GetSheetObj(1)->cursor = CPoint(1, 2);
    view->SetSelSheet(1);
    view->SetSelSheet(1);  // again: still switches and notifies
    EXPECT_EQ(view->calls, (std::vector<std::string>{"sheet 1", "cursor 2,1", "sheet 1", "cursor 2,1"}));
    EXPECT_EQ(view->GetSelSheet(), 1);
    EXPECT_EQ(view->GetSheetTab().GetCurSel(), 1);
    EXPECT_TRUE(Same(spy.Compare({Notify(TCN_SELCHANGE, 0).In(frame->m_hWnd), Notify(TCN_SELCHANGE, 0)})));
}

// A click on a tab switches the sheet shown through the strip's notice.
TEST_F(TableViewTest, ClickingATabSwitchesTheSheetShown) {
    AddSheets(3, 2, 4);
    view->InsertColumn(2, 2, u"Extra", 0);
    view->SetSelSheet(0);
    CSheetTabWnd& tabs = view->GetSheetTab();
    // Placed here by hand, so that the test does not lean on the view's own layout.
    tabs.MoveWindow(0, 300, 500, 20);
    desktop.RunUntilIdle();
    view->calls.clear();
    desktop.Click(tabs.m_hWnd, tabs.GetItemRect(2).CenterPoint());
    EXPECT_EQ(view->GetSelSheet(), 2);
    ASSERT_FALSE(view->calls.empty());
    EXPECT_EQ(view->calls.front(), "sheet 2");
    EXPECT_EQ(view->GetColumnHeader().GetColumnCount(), 3);
    EXPECT_EQ(CWnd::GetFocus(), view);
}

}  // namespace
}  // namespace tq3::test
