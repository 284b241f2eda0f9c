// The strips inside a table view: a click on a tab switches the view's sheet
// through the strip's notice, and the column header follows the sheet shown.
#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

class StripsInViewTest : public TableViewTest {};

TEST_F(StripsInViewTest, ClickingATabSwitchesTheSheetShown) {
    AddSheets(3, 2, 4);
    view->InsertColumn(2, 2, u"Extra", 0);
    view->SetSelSheet(0);
    CSheetTabWnd& tabs = view->GetSheetTab();
    // Placed here by hand, so that the test does not lean on the view's own layout.
    tabs.MoveWindow(0, 300, 500, 20);
    desktop.RunUntilIdle();
    view->calls.clear();

    desktop.Click(tabs.m_hWnd, tabs.GetItemRect(2).CenterPoint());
    EXPECT_EQ(tabs.GetCurSel(), 2);
    EXPECT_EQ(view->GetSelSheet(), 2);
    ASSERT_FALSE(view->calls.empty());
    EXPECT_EQ(view->calls.front(), "sheet 2");
    EXPECT_EQ(view->GetColumnHeader().GetColumnCount(), 3);
    EXPECT_EQ(CWnd::GetFocus(), view);

    // A click beside the tabs changes nothing.
    view->calls.clear();
    desktop.Click(tabs.m_hWnd, {490, 5});
    EXPECT_TRUE(view->calls.empty());
    EXPECT_EQ(view->GetSelSheet(), 2);
}

}  // namespace
}  // namespace tq3::test
