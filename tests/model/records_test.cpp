#include <gtest/gtest.h>

#include <string>

#include "model/column_prop.h"
#include "model/line_prop.h"
#include "model/sheet_obj.h"

namespace {

// The defaults a new record starts with are the ones the view's interface
// promises: a text column of unlimited length, seven digits, no position.
TEST(Records, DefaultsAndLineAssignment) {
    CColumnProp column;
    EXPECT_TRUE(column.IsTextColumn());
    EXPECT_EQ(column.maxLength, -1);
    EXPECT_EQ(column.digits, 7);
    EXPECT_EQ(column.decimals, 0);
    EXPECT_EQ(column.index, -1);

    CLineProp line;
    EXPECT_TRUE(line.SetText(u"a\tb\r\n"));
    EXPECT_TRUE(line.SetText(nullptr));
    EXPECT_TRUE(line.GetText().IsEmpty());
    CLineProp source;
    source.SetText(u"x");
    source.SetData(0xFFFFFFFFu);
    line = source;
    const CLineProp& itself = line;
    line = itself;  // self-assignment keeps the record
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
