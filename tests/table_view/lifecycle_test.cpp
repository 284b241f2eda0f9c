// What a view's window keeps across its life: the first update lays the columns
// out from the widths stored for the sheet, and destroying the window stores the
// font.
#include "framework/system/registry.h"
#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

TEST_F(TableViewTest, WidthsAreReadAtTheFirstUpdateAndTheFontStoredAtTheEnd) {
    MakeSettingsBaseKey();
    AddSheets(1, 2, 3);
    view->SetSheetData(0, 0x2A);
    view->GetColumnHeader().SetColumnWidth(0, 120);
    view->GetColumnHeader().SetColumnWidth(1, 80);
    ASSERT_TRUE(view->WriteWidthOfColumns());
    LOGFONTW shown{};
    int points = 0;
    view->GetLogFont(&shown, points);
    HKEY font = nullptr;
    ASSERT_NE(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\TQ3ViewTestVendor\\LogFont", 0, KEY_READ, &font),
              ERROR_SUCCESS);
    frame->DestroyWindow();
    desktop.RunUntilIdle();
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\TQ3ViewTestVendor\\LogFont", 0, KEY_READ, &font),
              ERROR_SUCCESS);
    RegCloseKey(font);

    // A second view filled before its window exists.
    view = new SpyTableView;
    ASSERT_EQ(view->InsertSheet(0, u"again"), 0);
    view->SetSheetData(0, 0x2A);
    ASSERT_GE(view->InsertColumn(0, 0, u"first", 0), 0);
    ASSERT_GE(view->InsertColumn(0, 1, u"second", 0), 0);
    ASSERT_GE(view->InsertLine(0, 0, u"a\tb"), 0);
    EXPECT_FALSE(view->RedrawWindow()) << "nothing to redraw yet";
    frame = tq3::testing::CreateFrameWithView(view);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(view->GetColumnProp(0, 0)->extent.Width(), 120);
    EXPECT_EQ(view->GetColumnProp(0, 1)->extent.Width(), 80);
    EXPECT_EQ(view->GetCellRect(0, 1).left, view->GetLineHeaderWidth() + 120);
    EXPECT_EQ(view->GetSelSheet(), 0);

    LOGFONTW stored{};
    int storedPoints = 0;
    ASSERT_TRUE(view->ReadLogFont(&stored, storedPoints));
    EXPECT_EQ(storedPoints, points);
    EXPECT_EQ(std::u16string(stored.lfFaceName), std::u16string(shown.lfFaceName));
}

}  // namespace
}  // namespace tq3::test
