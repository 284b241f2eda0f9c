// Cell texts by edit mode, whole-line conversion and the column lists.
#include "framework/system/module.h"
#include "framework/system/resources.h"
#include "settings/language.h"
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

// The view finds the library it holds for the language on every set, and what was
// current before goes back whatever the hook did with the handle, unless the
// library was current already: then there is nothing of the view's to undo.
TEST_F(CellTextTest, TheCellHookFollowsTheLanguageAndTheHandleAroundIt) {
    struct LanguageKept {
        int language = tq3::LibraryLanguage();
        ~LanguageKept() { VALMExSetLanguage(language); }
    } kept;
    const HINSTANCE before = AfxGetResourceHandle();
    const HINSTANCE other = tq3::OwnModule();
    HINSTANCE during = nullptr;
    HINSTANCE switchTo = nullptr;
    view->onCellChanged = [&] {
        during = AfxGetResourceHandle();
        if (switchTo != nullptr) AfxSetResourceHandle(switchTo);
    };
    const auto held = [](int language) {
        return language >= 0 && language <= 4 ? GetModuleHandleW(tq3::ViewResourceLibraryName(language)) : tq3::OwnModule();
    };

    struct Step {
        int language;
        HINSTANCE switchTo;
    } steps[] = {{0, other}, {0, nullptr}, {2, nullptr}, {7, nullptr}, {kept.language, other}};
    int n = 0;
    for (const Step& step : steps) {
        VALMExSetLanguage(step.language);
        switchTo = step.switchTo;
        during = nullptr;
        ASSERT_EQ(view->SetCellText(0, 0, 0, n++ % 2 == 0 ? u"even" : u"odd"), 1);
        EXPECT_NE(during, nullptr) << step.language;
        EXPECT_EQ(during, held(step.language)) << step.language;
        EXPECT_EQ(AfxGetResourceHandle(), before) << step.language;
    }

    // Never set: the application's module was current, and it goes back as the
    // handle set, as a CSwitchResource puts it back. A set neither loads nor gives
    // back a library.
    const int loaded = tq3::fw::LoadedLibraryCount();
    AfxSetResourceHandle(nullptr);
    ASSERT_EQ(view->SetCellText(0, 0, 0, u"unset"), 1);
    EXPECT_EQ(during, held(kept.language));
    EXPECT_EQ(tq3::fw::currentResourceHandle, tq3::fw::ApplicationResourceModule());

    // The library current already: the hook's own switch stays.
    AfxSetResourceHandle(held(kept.language));
    ASSERT_EQ(view->SetCellText(0, 0, 0, u"current"), 1);
    EXPECT_EQ(during, held(kept.language));
    EXPECT_EQ(AfxGetResourceHandle(), other);
    EXPECT_EQ(tq3::fw::LoadedLibraryCount(), loaded);
    AfxSetResourceHandle(before);
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
        // A line long enough to be read eight characters at a time.
        {u"first field\tsecond\tthird\r\n", 2, u"THIRD", u"first field\tsecond\tTHIRD\r\n", true},
        {u"abcdefg\t\r\n", 1, u"h", u"abcdefg\th\r\n", true},
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

TEST_F(CellTextTest, FieldsTheLineDoesNotHave) {
    view->SetTabbedString(0, 0, u"a\tb\r\n");
    EXPECT_EQ(view->SetCellText(0, 0, 5, u"x"), 1);
    EXPECT_EQ(view->GetTabbedString(0, 0), CString(u"a\tb\r\n"));
    EXPECT_EQ(view->GetCellText(0, 0, 2), CString());
    EXPECT_EQ(view->GetCellText(0, 0, 1), CString(u"b"));
    EXPECT_EQ(view->GetCellText(0, 5, 0), CString());
}

TEST_F(CellTextTest, SetLineTextConvertsByColumnAndCopiesTheMaster) {
    AddSheets(1, 4, 1);  // sheet 1: four text columns
    int sameAs[] = {0, 2, 3};
    view->SetLineText(1, 0, u"m\tb\tc\td", sameAs, 3);
    EXPECT_EQ(view->GetTabbedString(1, 0), CString(u"m\tb\tm\tm\r\n"));

    view->SetLineText(1, 0, u"1\t2\t3\t4\t5", nullptr, 0);
    EXPECT_EQ(view->GetTabbedString(1, 0), CString(u"1\t2\t3\t4\r\n")) << "as many fields as columns";

    view->SetLineText(1, 0, u"a\tb", nullptr, 0);
    EXPECT_EQ(view->GetTabbedString(1, 0), CString(u"a\tb\r\n")) << "fewer fields stay fewer";

    // An empty master counts its entry as used but each column keeps its own field.
    view->SetLineText(1, 0, u"\tb\tc\td", sameAs, 3);
    EXPECT_EQ(view->GetTabbedString(1, 0), CString(u"\tb\tc\td\r\n"));
    EXPECT_TRUE(view->calls.empty()) << "no hook";
}

TEST_F(CellTextTest, SetLineTextConvertsListsAndNumbersWithoutCutting) {
    MakeList(0, {u"Apple", u"Banana"});
    view->SetColumnDefaultString(0, 0, u"(none)");
    view->SetColumnEditMode(0, 1, 1, 0, 3, 2);
    view->SetColumnEditMode(0, 2, 1, 0, 2, 0);
    view->SetLineText(0, 0, u"zebra\t12345.678\t98765", nullptr, 0);
    EXPECT_EQ(view->GetTabbedString(0, 0), CString(u"(none)\t12345.68\t98765\r\n"));
    view->SetLineText(0, 9, u"x", nullptr, 0);  // no such line: nothing happens
    view->SetLineText(0, 0, nullptr, nullptr, 0);
    EXPECT_EQ(view->GetLineCount(0), 2);
}

TEST_F(CellTextTest, EditModeFollowsTheListFirst) {
    MakeList(1, {u"x"});
    view->SetColumnEditMode(0, 1, 1, 9, 4, 1);
    CColumnProp* list = view->GetColumnProp(0, 1);
    EXPECT_EQ(list->numeric, 0) << "a list column stays a list column";
    EXPECT_EQ(list->maxLength, 9);

    view->SetColumnEditMode(0, 2, 5, 9, 4, 1);
    CColumnProp* number = view->GetColumnProp(0, 2);
    EXPECT_EQ(number->numeric, 1);
    EXPECT_EQ(number->digits, 4);
    EXPECT_EQ(number->decimals, 1);
    EXPECT_EQ(number->maxLength, -1) << "a numeric column ignores the length";
    view->SetColumnEditMode(0, 7, 1, 0, 1, 1);  // no such column: nothing happens
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
