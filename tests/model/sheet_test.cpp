// What the sheet's record lists decide themselves. The view refuses bad positions
// before it asks, so these branches are reached from here alone; the rest of the
// lists' behaviour is checked through the view's structure interface.
#include <gtest/gtest.h>

#include "model/sheet_obj.h"

namespace {

TEST(Sheet, BadPositionsAreRefusedAndColumnsAreNumberedByPosition) {
    CSheetObj sheet;
    CLineProp line;
    EXPECT_EQ(sheet.InsertLine(-1, line), -1);
    EXPECT_EQ(sheet.InsertLine(3, line), 1);
    EXPECT_EQ(sheet.DeleteLine(1), 0);
    EXPECT_EQ(sheet.GetLineCount(), 1);

    CColumnProp column;
    column.index = 77;  // replaced by the position
    int at = -1;
    EXPECT_EQ(sheet.InsertColumn(at, column), nullptr);
    at = 5;
    ASSERT_NE(sheet.InsertColumn(at, column), nullptr);
    EXPECT_EQ(at, 5);
    EXPECT_EQ(sheet.GetColumn(0)->index, 0);
    at = 0;
    ASSERT_NE(sheet.InsertColumn(at, column), nullptr);
    EXPECT_EQ(at, 1);
    EXPECT_EQ(sheet.GetColumn(1)->index, 1);
    EXPECT_EQ(sheet.DeleteColumn(2), 0);
    EXPECT_EQ(sheet.DeleteColumn(0), 1);
    EXPECT_EQ(sheet.GetColumn(0)->index, 0);
}

}  // namespace
