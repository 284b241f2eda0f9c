// The structure interface: sheets, lines, columns, data words, the selected sheet,
// and what the header strips and the tab strip are told.
#include "framework/controls/commctrl.h"
#include "tests/table_view/table_view_fixture.h"
#include "tests/support/spy_expect.h"

namespace tq3::test {
namespace {

using tq3::testing::MessageSpy;
using tq3::testing::Notify;

TEST_F(TableViewTest, InsertSheetAcceptsPositionsUpToTheCount) {
    struct Case {
        int existing, at, result;
        const char16_t* firstName;  // name of sheet 0 afterwards
    };
    const Case cases[] = {
        {0, 5, 0, u"new"},  // the first sheet goes anywhere
        {2, 3, -1, u"s0"},  // past the end
        {2, 2, 2, u"s0"},   // appended
        {2, 0, 2, u"new"},  // put first
        {2, -1, -1, u"s0"},
    };
    for (const Case& c : cases) {
        view->DeleteAllSheets();
        AddSheets(c.existing);
        EXPECT_EQ(view->InsertSheet(c.at, u"new"), c.result) << c.existing << " sheets, at " << c.at;
        EXPECT_EQ(view->GetSheetName(0), CString(c.firstName)) << c.existing << " sheets, at " << c.at;
        EXPECT_EQ(view->GetSheetTab().GetItemCount(), view->GetSheetCount());
        EXPECT_EQ(view->GetSheetTab().GetItemText(0), CString(c.firstName));
    }
    EXPECT_TRUE(view->calls.empty()) << "structure operations call no hook";
}

TEST_F(TableViewTest, InsertLineAppendsAndRefusesGaps) {
    AddSheets(2, 2);
    EXPECT_EQ(view->InsertLine(0, 7, u"a\tb"), 1) << "the first line goes anywhere";
    EXPECT_EQ(view->InsertLine(0, 1, u"c\td"), 2) << "appended: the new count";
    EXPECT_EQ(view->InsertLine(0, 2, u"e\tf"), 3);
    EXPECT_EQ(view->InsertLine(0, 7, u"x"), -1);
    EXPECT_EQ(view->InsertLine(0, 1, u"g\th"), 1) << "before line 1: its position";
    EXPECT_EQ(view->GetTabbedString(0, 1), CString(u"g\th"));
    EXPECT_EQ(view->GetTabbedString(0, 2), CString(u"c\td"));
    EXPECT_EQ(view->InsertLine(2, 0, u"x"), -1);
    EXPECT_EQ(view->GetLineCount(0), 4);
    EXPECT_EQ(view->GetLineData(0, 0), 0u) << "a new line's word is 0";

    // Only the displayed sheet's count reaches the line header.
    view->SetSelSheet(0);
    EXPECT_EQ(view->GetLineHeader().headerLineCount, 4);
    EXPECT_EQ(view->InsertLine(1, 0, u"x"), 1);
    EXPECT_EQ(view->GetLineHeader().headerLineCount, 4);
    EXPECT_EQ(view->InsertLine(0, 4, u"x"), 5);
    EXPECT_EQ(view->GetLineHeader().headerLineCount, 5);
}

TEST_F(TableViewTest, InsertColumnResultsAndTheColumnHeader) {
    AddSheets(2);
    view->SetSelSheet(0);
    for (int c = 0; c < 3; ++c) EXPECT_EQ(view->InsertColumn(0, c, u"c", 0), c);
    EXPECT_EQ(view->InsertColumn(0, 1, u"middle", 1), 3);
    ASSERT_EQ(view->GetColumnHeader().GetColumnCount(), 4);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(view->GetColumnHeader().GetColumn(c), view->GetColumnProp(0, c)) << "column " << c;
        EXPECT_EQ(view->GetColumnProp(0, c)->index, c);
    }
    EXPECT_EQ(view->GetColumnProp(0, 1)->title, CString(u"middle"));
    EXPECT_EQ(view->GetColumnProp(0, 1)->numeric, 1);
    EXPECT_EQ(view->InsertColumn(0, 5, u"gap", 0), -1);
    EXPECT_EQ(view->InsertColumn(0, 0, nullptr), -1) << "no record to copy";

    // The first column of a sheet not on display reports the position asked for;
    // on the displayed sheet, the count before.
    EXPECT_EQ(view->InsertColumn(1, 4, u"x", 0), 4);
    EXPECT_EQ(view->GetColumnHeader().GetColumnCount(), 4) << "sheet 1 is not displayed";
    view->DeleteAllColumns(0);
    EXPECT_EQ(view->InsertColumn(0, 4, u"x", 0), 0);
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
    EXPECT_EQ(view->DeleteSheet(-1), 0);
    EXPECT_EQ(view->DeleteSheet(0), 1);
    EXPECT_EQ(view->GetSheetCount(), 1);
    EXPECT_EQ(view->GetSheetName(0), CString(u"s1"));
    EXPECT_EQ(view->GetSheetTab().GetItemText(0), CString(u"s1"));
    ASSERT_EQ(view->GetColumnHeader().GetColumnCount(), 2);
    EXPECT_EQ(view->GetColumnHeader().GetColumn(1)->title, CString(u"b1"));
    EXPECT_EQ(view->GetSelSheet(), 0);
    EXPECT_TRUE(view->calls.empty());

    // Deleting the last sheet shows the one before it.
    view->InsertSheet(1, u"last");
    EXPECT_EQ(view->DeleteSheet(1), 1);
    EXPECT_EQ(view->GetColumnHeader().GetColumn(0)->title, CString(u"b0"));
}

TEST_F(TableViewTest, DeleteAllSheetsEmptiesEverything) {
    AddSheets(3, 2, 2);
    view->SetSelSheet(2);
    view->DeleteAllSheets();
    EXPECT_EQ(view->GetSheetCount(), 0);
    EXPECT_EQ(view->GetSelSheet(), -1);
    EXPECT_EQ(view->GetColumnHeader().GetColumnCount(), 0);
    EXPECT_EQ(view->GetLineHeader().headerLineCount, 0);
    EXPECT_EQ(view->GetSheetTab().GetItemCount(), 0);
    // The selection is not adjusted: a new first sheet is reported at the old index.
    view->InsertSheet(0, u"again");
    EXPECT_EQ(view->GetSelSheet(), 2);
}

TEST_F(TableViewTest, DataWordsNamesAndTheirRefusals) {
    AddSheets(1, 2, 1);
    EXPECT_EQ(view->SetLineData(0, 0, 0x1234), 1);
    EXPECT_EQ(view->GetLineData(0, 0), 0x1234u);
    EXPECT_EQ(view->SetLineData(0, 1, 1), 0);
    EXPECT_EQ(view->GetLineData(0, 1), 0xFFFFFFFFu);
    EXPECT_EQ(view->SetSheetData(0, 0xCAFE), 1);
    EXPECT_EQ(view->GetSheetData(0), 0xCAFEu);
    EXPECT_EQ(view->SetSheetData(1, 1), 0);
    EXPECT_EQ(view->GetSheetData(1), 0xFFFFFFFFu);
    EXPECT_EQ(view->SetColumnData(0, 1, 77), 1);
    EXPECT_EQ(view->GetColumnData(0, 1), 77);
    EXPECT_EQ(view->SetColumnData(0, 2, 1), 0);
    EXPECT_EQ(view->GetColumnData(0, 2), -1);
    EXPECT_EQ(view->GetColumnProp(0, 2), nullptr);
    EXPECT_EQ(view->GetLineProp(0, -1), nullptr);
    EXPECT_EQ(view->GetLineCount(4), 0);
    EXPECT_EQ(view->GetColumnCount(-1), 0);
    // A new name leaves the tab's label as it was.
    EXPECT_EQ(view->SetSheetName(0, u"renamed"), 1);
    EXPECT_EQ(view->GetSheetName(0), CString(u"renamed"));
    EXPECT_EQ(view->GetSheetTab().GetItemText(0), CString(u"s0"));
    EXPECT_EQ(view->SetSheetName(1, u"x"), 0);
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

TEST_F(TableViewTest, DeletingColumnsOfAnotherSheetLeavesTheHeader) {
    AddSheets(2, 3);
    view->SetSelSheet(0);
    EXPECT_EQ(view->DeleteColumn(1, 0), 1);
    EXPECT_EQ(view->GetColumnHeader().GetColumnCount(), 3);
    EXPECT_EQ(view->DeleteColumn(0, 1), 1);
    EXPECT_EQ(view->GetColumnHeader().GetColumnCount(), 2);
    EXPECT_EQ(view->GetColumnProp(0, 1)->index, 1) << "renumbered by position";
    EXPECT_EQ(view->DeleteColumn(0, 2), 0);
    EXPECT_EQ(view->DeleteAllColumns(1), 1);
    EXPECT_EQ(view->GetColumnHeader().GetColumnCount(), 2);
    EXPECT_EQ(view->DeleteAllColumns(0), 1);
    EXPECT_EQ(view->GetColumnHeader().GetColumnCount(), 0);
}

TEST_F(TableViewTest, SelectingASheetCallsTheHooksAndTellsTheHostWindow) {
    AddSheets(3, 2, 2);
    MessageSpy spy;
    spy.Watch(frame->m_hWnd, "frame");
    spy.KeepOnly({WM_NOTIFY});
    std::vector<HWND> senders;
    spy.SetNotifyItemReader([&](const NMHDR* header) {
        senders.push_back(header->hwndFrom);
        return -1;
    });

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
    EXPECT_EQ(senders, (std::vector<HWND>{view->m_hWnd, view->m_hWnd})) << "sent by the view itself";
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

TEST_F(TableViewTest, EachSheetKeepsItsOwnPlace) {
    // Enough lines and wide enough columns that both places can be scrolled to.
    AddSheets(2, 2, 100);
    for (int c = 0; c < 2; ++c) view->GetColumnProp(0, c)->extent = CRect(c * 1000, 0, (c + 1) * 1000, 18);
    view->GetSheetObj(0)->topLine = 10;
    view->GetSheetObj(0)->scrollX = 40;
    view->GetSheetObj(1)->topLine = 3;
    view->SetSelSheet(0);
    EXPECT_EQ(view->GetLineHeader().topLine, 10);
    EXPECT_EQ(view->GetColumnHeader().scrollX, 40);
    view->SetSelSheet(1);
    EXPECT_EQ(view->GetLineHeader().topLine, 3);
    EXPECT_EQ(view->GetColumnHeader().scrollX, 0);
}

}  // namespace
}  // namespace tq3::test
