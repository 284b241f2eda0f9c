// Cell texts by edit mode, one field or a whole line replaced, and the column lists.
#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

class CellTextTest : public TableViewTest {
protected:
    void SetUp() override {
        TableViewTest::SetUp();
        AddSheets(1, 3, 2);
    }
    void MakeList(int column, std::initializer_list<const char16_t*> strings) {
        for (const char16_t* s : strings) view->AddColumnString(0, column, s);
    }
};

TEST_F(CellTextTest, EmptyOrMissingLinesRefuseEveryMode) {
    view->InsertLine(0, 2, u"");
    MakeList(1, {u"one"});
    view->SetColumnEditMode(0, 2, 1, 0, 5, 2);
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(view->SetCellText(0, 2, column, u"1"), 0) << "column " << column;
        EXPECT_EQ(view->SetCellText(0, 9, column, u"1"), 0) << "column " << column;
    }
    EXPECT_EQ(view->SetCellText(0, 0, 0, nullptr), 0);
    EXPECT_EQ(view->GetTabbedString(0, 2), CString());
    // A whole line is refused the same way where the sheet has no such line.
    EXPECT_EQ(view->SetTabbedString(0, 9, u"a\r\n"), 0);
    EXPECT_EQ(view->SetTabbedString(4, 0, u"a\r\n"), 0);
    EXPECT_EQ(view->SetTabbedString(0, 1, u"a\r\n"), 1);
    EXPECT_EQ(view->GetCellText(0, 1, 2), CString()) << "a field the line does not have";
    EXPECT_EQ(view->GetCellText(0, 9, 0), CString());
    EXPECT_TRUE(view->calls.empty());
}

// What each edit mode keeps is tested as a table of its own (model's cell rules);
// here, that the view applies the rule of the cell's column and that a refused
// text leaves the line as it was.
TEST_F(CellTextTest, CellsKeepWhatTheirColumnsRuleAllows) {
    MakeList(0, {u"0 none", u"1 one"});
    view->SetColumnEditMode(0, 1, 1, 0, 5, 2);
    view->SetColumnEditMode(0, 2, 0, 3, 0, 0);
    view->SetTabbedString(0, 0, u"\t\told");
    EXPECT_EQ(view->SetCellText(0, 0, 0, u"1x"), 1);
    EXPECT_EQ(view->SetCellText(0, 0, 1, u"-1.5"), 1);
    EXPECT_EQ(view->SetCellText(0, 0, 2, u"abcdef"), 1);
    EXPECT_EQ(view->GetTabbedString(0, 0), CString(u"1 one\t-1.50\tabc\r\n"));
    EXPECT_EQ(view->SetCellText(0, 0, 0, u"7"), 0);
    EXPECT_EQ(view->SetCellText(0, 0, 1, u"a12"), 0);
    EXPECT_EQ(view->GetTabbedString(0, 0), CString(u"1 one\t-1.50\tabc\r\n"));
}

// A set line (fields free of CR and LF, one CR LF at the end) has its field
// replaced where it stands; anything else is rebuilt. Both give the same line.
TEST_F(CellTextTest, ReplacingOneFieldOfALine) {
    struct Case {
        const char16_t* line;
        int column;
        const char16_t* text;
        const char16_t* stored;
        bool changed;
    } cases[] = {
        {u"a\tb\r\n", 1, u"xyz", u"a\txyz\r\n", true},  // the last field grows
        {u"abc\tb\r\n", 0, u"x", u"x\tb\r\n", true},     // the first shrinks
        {u"a\tb\tc\r\n", 2, u"c", u"a\tb\tc\r\n", false},  // the same text: no hook
        {u"a\tb\tc\r\n", 2, u"C", u"a\tb\tC\r\n", true},   // case counts
        {u"a\tb\r\n", 2, u"x", u"a\tb\r\n", false},       // one field short
        {u"a\rjunk\tb\r\n", 1, u"b", u"a\tb\r\n", true},   // a break before the field
        {u"a\tb\rjunk\tc\r\n", 0, u"a", u"a\tb\tc\r\n", true},  // and after it
        {u"a\tb\tc", 2, u"c", u"a\tb\tc\r\n", true},      // no CR LF yet
        {u"a\tb\tc\r\n", 1, u"x\ty", u"a\tx\ty\r\n", true},  // a TAB sets two fields
        {u"a\U0001F600\tb\r\n", 0, u"\U0001F600", u"\U0001F600\tb\r\n", true},  // a surrogate pair before the TAB
        {u"\r\n", 0, u"x", u"x\r\n", true},  // an empty set line has one field
        // A line long enough to be read eight characters at a time.
        {u"first field\tsecond\tthird\r\n", 2, u"THIRD", u"first field\tsecond\tTHIRD\r\n", true},
    };
    for (const Case& c : cases) {
        view->SetTabbedString(0, 0, c.line);
        view->calls.clear();
        EXPECT_EQ(view->SetCellText(0, 0, c.column, c.text), 1) << c.column;
        EXPECT_EQ(view->GetTabbedString(0, 0), CString(c.stored)) << c.column;
        EXPECT_EQ(view->calls, c.changed ? std::vector<std::string>{"cell 0," + std::to_string(c.column)}
                                         : std::vector<std::string>{})
            << c.column;
    }

    // A text that lies in the line itself: the fields it replaces are read before
    // they are overwritten.
    view->SetTabbedString(0, 0, u"a\tb\tc\r\n");
    const CString& line = view->GetLineProp(0, 0)->text;
    EXPECT_EQ(view->SetCellText(0, 0, 0, line.GetString() + 2), 1);
    EXPECT_EQ(view->GetTabbedString(0, 0), CString(u"b\tc\tc\r\n"));
}

// A whole line takes one field per column, converted by the column's rule (the
// model's cell rules), the master's field copied to its columns unless empty.
TEST_F(CellTextTest, SetLineTextConvertsByColumnAndCopiesTheMaster) {
    AddSheets(1, 4, 1);  // sheet 1: four text columns
    int sameAs[] = {0, 2, 3};
    view->SetLineText(1, 0, u"m\tb\tc\td\te", sameAs, 3);
    EXPECT_EQ(view->GetTabbedString(1, 0), CString(u"m\tb\tm\tm\r\n"));
    view->SetLineText(1, 0, u"\tb\tc", sameAs, 3);
    EXPECT_EQ(view->GetTabbedString(1, 0), CString(u"\tb\tc\r\n")) << "fewer fields stay fewer";
    MakeList(0, {u"Apple"});
    view->SetLineText(0, 0, u"zebra\tx", nullptr, 0);
    EXPECT_EQ(view->GetTabbedString(0, 0), CString(u"\tx\r\n")) << "a list column without its default";
    EXPECT_TRUE(view->calls.empty()) << "no hook";
}

TEST_F(CellTextTest, ColumnListOperations) {
    EXPECT_EQ(view->AddColumnString(0, 0, u"a"), 0);
    EXPECT_EQ(view->AddColumnString(0, 0, u"c"), 1);
    EXPECT_EQ(view->AddColumnString(0, 9, u"x"), -1);
    EXPECT_EQ(view->InsertColumnString(0, 0, 1, u"b"), 1);
    EXPECT_EQ(view->InsertColumnString(0, 0, 10, u"d"), 1) << "an append is a success";
    EXPECT_EQ(view->InsertColumnString(0, 0, -1, u"z"), 0);
    const CColumnProp* c = view->GetColumnProp(0, 0);
    ASSERT_EQ(c->listStrings.size(), 4u);
    EXPECT_EQ(c->listStrings[1], CString(u"b"));
    EXPECT_EQ(c->listStrings[3], CString(u"d"));

    // The search starts after `start` and counts from it.
    EXPECT_EQ(view->FindColumnString(0, 0, 0, u"c"), 2);
    EXPECT_EQ(view->FindColumnString(0, 0, 1, u"c"), 1);
    EXPECT_EQ(view->FindColumnString(0, 0, 0, u"a"), -1);
    EXPECT_EQ(view->FindColumnString(0, 0, -5, u"b"), 1);
    EXPECT_EQ(view->FindColumnString(0, 0, 0, u"C"), -1);

    EXPECT_EQ(view->DeleteColumnString(0, 0, 9), 4);
    EXPECT_EQ(view->DeleteColumnString(0, 0, 0), 3);
    EXPECT_EQ(view->DeleteColumnString(0, 9, 0), -1);
    view->SetTabbedString(0, 0, u"b\t\t");
    view->ResetColumnContent(0, 0);
    EXPECT_TRUE(view->GetColumnProp(0, 0)->listStrings.empty());
    EXPECT_EQ(view->GetCellText(0, 0, 0), CString(u"b")) << "cells keep their texts";
}

}  // namespace
}  // namespace tq3::test
