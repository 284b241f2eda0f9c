// The find/replace dialog's requests as the view receives them: FindReplaceNotify
// records sent with WM_NOTIFY, checked by what comes back in the record, where
// the selection and the cursor go, which cells change, and what the host's hooks
// hear.
#include <iterator>
#include <string>
#include <vector>

#include "tests/find/find_request_fixture.h"

namespace tq3::test {
namespace {

using Hooks = std::vector<std::string>;

// Find Next walks a selection of several cells left to right and line by line,
// keeping the whole selection, and stops at its end without wrapping round.
TEST_F(FindRequestTest, FindNextWalksTheSelectionWithoutWrapping) {
    Fill({u"x\tab\tab\tab", u"ab\tx\tab\tx", u"x\tab\tx\tab", u"ab\tab\tab\tab"});
    const CRect selection(1, 0, 2, 2);  // columns 1..2, lines 0..2
    view->SetSel(selection, CPoint(1, 0));
    view->calls.clear();
    RECT area = selection;
    FindReplaceNotify request = Request(0, 1, u"ab", 0, &area);
    struct Step {
        int line, column;
    };
    // The cursor cell itself is passed over: (0, 1) holds ab but is where the
    // search stands. Matches outside the selection are never reported.
    const Step steps[] = {{0, 2}, {1, 2}, {2, 1}, {-1, -1}};
    for (const Step& step : steps) {
        Send(request);
        EXPECT_EQ(request.line, step.line);
        EXPECT_EQ(request.column, step.column);
        EXPECT_EQ(Sel(), selection) << "the selection stays";
    }
    EXPECT_EQ(Cursor(), CPoint(1, 2));
    EXPECT_EQ(view->calls, (Hooks{"cursor 0,2", "cursor 1,2", "cursor 2,1"}));
    EXPECT_EQ(request.match.x, -1);
}

// Replace replaces in the cell found from the request's cell and moves the
// cursor to the next match; part of a cell is replaced exactly as the text was
// typed, so a cell found by a search that ignored case may keep its text.
TEST_F(FindRequestTest, ReplaceChangesTheCellFoundAndMovesToTheNext) {
    struct Case {
        const char* what;
        const char16_t* find;
        DWORD flags;
        const char16_t* cell0;  // what line 0 holds afterwards
        int nextLine;           // the next match, -1 for none
    } cases[] = {
        {"part, same case: every occurrence", u"Ab", 0, u"xyc xyc", 1},
        {"part, other case: found but left alone", u"aB", 0, u"Abc Abc", 1},
        {"whole cell, other case: replaced", u"abc abc", kFindEntireCells, u"xy", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fill({u"Abc Abc", u"ab", u"x"});
        view->SetSel(CRect(0, 0, 0, 2), CPoint(0, 0));
        view->calls.clear();
        RECT area{0, 0, 0, 2};
        FindReplaceNotify request = Request(0, 0, c.find, kFindReplace | c.flags, &area, u"xy");
        Send(request);
        EXPECT_EQ(Cell(0, 0), std::u16string(c.cell0));
        EXPECT_EQ(request.line, c.nextLine);
        EXPECT_EQ(Cursor(), CPoint(0, c.nextLine < 0 ? 0 : c.nextLine));
        EXPECT_EQ(Sel(), CRect(0, 0, 0, 2)) << "a block stays selected";
    }
}

// Replace All with one cell selected covers the whole column, from line 0 to the
// last, whatever the area said; a text the column refuses leaves its cell alone
// and the search goes on; other columns are never touched.
TEST_F(FindRequestTest, ReplaceAllCoversTheColumnAndSkipsRefusedCells) {
    Fill({u"12\t12", u"1\t1", u"31\t1", u"x\t1"});
    view->SetColumnEditMode(0, 0, 1, 0, 3, 0);  // whole numbers of up to 3 digits
    view->SetSel(CRect(0, 2, 0, 2), CPoint(0, 2));
    view->calls.clear();
    RECT area{0, 2, 0, 2};
    // "1" would leave no number in line 1: refused, and the search goes on.
    FindReplaceNotify request = Request(2, 0, u"1", kFindReplaceAll, &area, u"");
    Send(request);
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"2", u"1", u"3", u"x"}));
    EXPECT_EQ(Column(1), (std::vector<std::u16string>{u"12", u"1", u"1", u"1"}));
    EXPECT_EQ(area.top, 0);
    EXPECT_EQ(area.bottom, 3);
    EXPECT_EQ(request.line, -1);
    EXPECT_EQ(view->calls, (Hooks{"cell 0,0", "cell 2,0"}));
}

// Replace All in part of a cell: each cell gets every exact occurrence replaced,
// left to right and without overlaps, wherever it stands; an occurrence in
// another case is found but kept, also when it comes before an exact one.
TEST_F(FindRequestTest, ReplaceAllReplacesEveryExactOccurrenceInEachCell) {
    struct Case {
        const char16_t* cell;
        const char16_t* find;
        DWORD flags;
        const char16_t* replacement;
        const char16_t* expected;
    } cases[] = {
        {u"oldr12", u"old", 0, u"brand new", u"brand newr12"},
        {u"old-old.old", u"old", 0, u"n", u"n-n.n"},
        {u"aaa", u"aa", 0, u"b", u"ba"},
        {u"xOlDyOLDz", u"old", 0, u"new", u"xOlDyOLDz"},
        {u"OLD old", u"OLD", kFindMatchCase, u"new", u"new old"},
        {u"\u00C9t\u00E9 \u00E9t\u00E9", u"\u00E9t\u00E9", 0, u"x", u"\u00C9t\u00E9 x"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        Fill({std::u16string(c.cell) + u"\tkeep", u"x\tkeep"});
        view->SetSel(CRect(0, 0, 0, 1), CPoint(0, 0));
        RECT area{0, 0, 0, 1};
        FindReplaceNotify request = Request(0, 0, c.find, kFindReplaceAll | c.flags, &area, c.replacement);
        Send(request);
        EXPECT_EQ(Column(0), (std::vector<std::u16string>{c.expected, u"x"}));
        EXPECT_EQ(Column(1), (std::vector<std::u16string>{u"keep", u"keep"}));
    }
}

// The cells are painted once, after the last replacement, under the wait cursor.
TEST_F(FindRequestTest, ReplaceAllPaintsOnceUnderTheWaitCursor) {
    std::vector<std::u16string> lines(50, u"old\tx");
    Fill(lines);
    desktop.RunUntilIdle();
    std::vector<int> waitCounts;
    view->onCellChanged = [&] { waitCounts.push_back(AfxGetApp()->m_nWaitCursorCount); };
    tq3::testing::MessageSpy spy;
    spy.IncludeNoise(true);
    spy.KeepOnly({WM_PAINT});
    spy.Watch(view->m_hWnd, "view");
    RECT area{0, 0, 0, 0};
    FindReplaceNotify request = Request(0, 0, u"old", kFindReplaceAll, &area, u"new");
    Send(request);
    EXPECT_EQ(waitCounts, std::vector<int>(50, 1));
    EXPECT_EQ(AfxGetApp()->m_nWaitCursorCount, 0);
    EXPECT_TRUE(spy.Log().empty()) << "nothing painted while replacing";
    desktop.RunUntilIdle();
    EXPECT_EQ(spy.Log().size(), 1u);
    EXPECT_EQ(Column(0), std::vector<std::u16string>(50, u"new"));
}

// Requests that cannot name a cell answer -1 and -1 and change nothing: an empty
// or null text (which would find its own cell again and again), no area. Odd
// texts are searched and replaced like any other.
TEST_F(FindRequestTest, BadRequestsChangeNothing) {
    struct Case {
        const char* what;
        const char16_t* find;
        bool withArea;
        DWORD kind;
        const char16_t* replacement;
        int line;
        std::u16string cell1;
    } cases[] = {
        {"empty text, Replace All", u"", true, kFindReplaceAll, u"x", -1, u"ab"},
        {"null text", nullptr, true, kFindReplaceAll, u"x", -1, u"ab"},
        {"no area", u"ab", false, kFindReplace, u"x", -1, u"ab"},
        {"a null replacement empties the match", u"b", true, kFindReplace, nullptr, -1, u"a"},
        {"a lone surrogate and a NUL", u"b", true, kFindReplace, u"\xD800\0z", -1, u"a\xD800"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fill({u"x", u"ab", u"x"});
        view->SetSel(CRect(0, 1, 0, 1), CPoint(0, 1));
        RECT area{0, 0, 0, 2};
        FindReplaceNotify request = Request(1, 0, c.find, c.kind, c.withArea ? &area : nullptr, c.replacement);
        Send(request);
        EXPECT_EQ(request.line, c.line);
        EXPECT_EQ(Cell(1, 0), c.cell1);
        EXPECT_EQ(Cursor(), CPoint(0, 1));
    }
}

}  // namespace
}  // namespace tq3::test
