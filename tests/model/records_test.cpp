#include <gtest/gtest.h>

#include <string>

#include "model/column_prop.h"
#include "model/line_prop.h"
#include "model/sheet_obj.h"

namespace {

TEST(Records, StartWithTheirDefaults) {
    CSheetObj sheet;
    EXPECT_EQ(sheet.selection, CRect(0, 0, 0, 0));
    EXPECT_EQ(sheet.cursor, CPoint(0, 0));
    EXPECT_TRUE(sheet.name.IsEmpty());
    EXPECT_EQ(sheet.GetLineCount(), 0);
    EXPECT_EQ(sheet.GetColumnCount(), 0);
    EXPECT_EQ(sheet.topLine, 0);
    EXPECT_EQ(sheet.headerLineCount, 0);
    EXPECT_EQ(sheet.scrollX, 0);
    EXPECT_EQ(sheet.data, 0u);

    CColumnProp column;
    EXPECT_TRUE(column.IsTextColumn());
    EXPECT_EQ(column.maxLength, -1);
    EXPECT_EQ(column.numeric, 0);
    EXPECT_EQ(column.digits, 7);
    EXPECT_EQ(column.decimals, 0);
    EXPECT_EQ(column.index, -1);
    EXPECT_TRUE(column.extent.IsRectNull());
    EXPECT_TRUE(column.listStrings.empty());
    EXPECT_TRUE(column.defaultString.IsEmpty());
    EXPECT_TRUE(column.title.IsEmpty());
    EXPECT_EQ(column.defaultWidth, 0);
    EXPECT_EQ(column.data, 0u);

    CLineProp line;
    EXPECT_TRUE(line.GetText().IsEmpty());
    EXPECT_EQ(line.GetData(), 0u);
}

TEST(Records, CarryRunTimeClassNames) {
    CSheetObj sheet;
    CLineProp line;
    CColumnProp column;
    const CObject* objects[] = {&sheet, &line, &column};
    const char* names[] = {"CSheetObj", "CLineProp", "CColumnProp"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_NE(objects[i]->GetRuntimeClass(), nullptr);
        EXPECT_STREQ(objects[i]->GetRuntimeClass()->m_lpszClassName, names[i]);
        EXPECT_TRUE(objects[i]->IsKindOf(RUNTIME_CLASS(CObject)));
    }
    EXPECT_FALSE(line.IsKindOf(RUNTIME_CLASS(CColumnProp)));
}

TEST(Records, LineAccessorsAndAssignment) {
    CLineProp line;
    EXPECT_TRUE(line.SetText(u"a\tb\r\n"));
    line.SetData(0xFFFFFFFFu);
    EXPECT_EQ(line.GetText(), u"a\tb\r\n");
    EXPECT_EQ(line.GetData(), 0xFFFFFFFFu);
    EXPECT_TRUE(line.SetText(nullptr));
    EXPECT_TRUE(line.GetText().IsEmpty());

    CLineProp source;
    source.SetText(u"x");
    source.SetData(7);
    line = source;
    EXPECT_EQ(line.GetText(), u"x");
    EXPECT_EQ(line.GetData(), 7u);
    line = line;  // self-assignment keeps the record
    EXPECT_EQ(line.GetText(), u"x");
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
    EXPECT_EQ(target.data, 42u);
    EXPECT_EQ(target.maxLength, 12);
    ASSERT_EQ(target.listStrings.size(), 2u);
    EXPECT_EQ(target.listStrings[0], u"one");
    EXPECT_EQ(target.listStrings[1], u"two");
    EXPECT_EQ(target.numeric, 1);
    EXPECT_EQ(target.digits, 5);
    EXPECT_EQ(target.decimals, 2);
    EXPECT_EQ(target.defaultString, u"one");
    EXPECT_EQ(target.defaultWidth, 80);
    EXPECT_EQ(target.title, u"Title");
    EXPECT_EQ(target.index, 3);
    EXPECT_EQ(target.extent, CRect(10, 0, 90, 20));
    // The copy is deep: changing the source later leaves the target alone.
    source.listStrings[0] = u"changed";
    EXPECT_EQ(target.listStrings[0], u"one");
}

struct ModeCase {
    bool hasList;
    BYTE numeric;
    bool list;
    bool number;
    bool text;
};

TEST(Records, EditModeFollowsListThenNumericFlag) {
    const ModeCase cases[] = {
        {false, 0, false, false, true},
        {false, 1, false, true, false},
        {true, 0, true, false, false},
        // A list wins over a numeric flag set before the strings were added.
        {true, 1, true, false, false},
        // Only exactly 1 makes a numeric column; other bytes are kept as given.
        {false, 2, false, false, true},
        {false, 255, false, false, true},
    };
    for (const auto& c : cases) {
        CColumnProp column;
        if (c.hasList) column.listStrings.emplace_back(u"choice");
        column.numeric = c.numeric;
        SCOPED_TRACE(testing::Message() << "list " << c.hasList << " numeric " << int(c.numeric));
        EXPECT_EQ(column.IsListColumn(), c.list);
        EXPECT_EQ(column.IsNumericColumn(), c.number);
        EXPECT_EQ(column.IsTextColumn(), c.text);
        EXPECT_EQ(column.numeric, c.numeric);
    }
}

struct InitialCase {
    std::vector<std::u16string> strings;
    WCHAR initial;
    std::u16string found;
};

TEST(Records, FindListStringByInitialComparesUpperCaseFirstCharacters) {
    const InitialCase cases[] = {
        {{u"Apple", u"Banana", u"berry"}, u'b', u"Banana"},
        {{u"Apple", u"Banana", u"berry"}, u'B', u"Banana"},
        {{u"apple", u"banana"}, u'A', u"apple"},
        {{u"", u"x"}, u'y', u""},
        {{u""}, 0, u""},
        {{}, u'a', u""},
        {{u"\u00E4rger", u"\u00C4pfel"}, u'\u00C4', u"\u00E4rger"},
        {{u"\u03C3igma"}, u'\u03A3', u"\u03C3igma"},
        // Surrogates are not case-mapped; they match only themselves.
        {{u"\U0001F600x"}, 0xD83D, u"\U0001F600x"},
    };
    for (const auto& c : cases) {
        CColumnProp column;
        for (const auto& s : c.strings) column.listStrings.emplace_back(s.c_str());
        SCOPED_TRACE(testing::Message() << "initial U+" << std::hex << int(c.initial));
        EXPECT_EQ(column.FindListStringByInitial(c.initial), c.found.c_str());
    }
}

}  // namespace
