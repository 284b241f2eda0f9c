#include <gtest/gtest.h>

#include <string>

#include "model/column_prop.h"
#include "model/line_prop.h"
#include "model/sheet_obj.h"

namespace {

TEST(Records, LineAssignmentCopiesTextAndDataAndSurvivesItself) {
    CLineProp source;
    source.SetText(u"x");
    source.SetData(0xFFFFFFFFu);
    CLineProp line;
    line = source;
    const CLineProp& itself = line;
    line = itself;
    EXPECT_EQ(line.GetText(), u"x");
    EXPECT_EQ(line.GetData(), 0xFFFFFFFFu);
}

TEST(Records, ColumnAssignmentCopiesEveryFieldAndReplacesTheList) {
    CColumnProp source;
    source.data = 42;
    source.maxLength = 12;
    source.listStrings = {CString(u"one"), CString(u"two")};
    source.numeric = 1;
    source.digits = 5;
    source.decimals = 2;
    source.defaultString = u"one";
    source.defaultWidth = 80;
    source.title = u"Title";
    source.index = 3;
    source.extent = CRect(10, 0, 90, 20);

    CColumnProp target;
    target.listStrings = {CString(u"old"), CString(u"older"), CString(u"oldest")};
    target = source;
    const CColumnProp& itself = target;
    target = itself;
    EXPECT_EQ(target.data, 42u);
    EXPECT_EQ(target.maxLength, 12);
    EXPECT_EQ(target.listStrings, source.listStrings);
    EXPECT_EQ(target.numeric, 1);
    EXPECT_EQ(target.digits, 5);
    EXPECT_EQ(target.decimals, 2);
    EXPECT_EQ(target.defaultString, u"one");
    EXPECT_EQ(target.defaultWidth, 80);
    EXPECT_EQ(target.title, u"Title");
    EXPECT_EQ(target.index, 3);
    EXPECT_EQ(target.extent, CRect(10, 0, 90, 20));
}

}  // namespace
