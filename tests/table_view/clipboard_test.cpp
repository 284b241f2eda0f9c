// Copy, cut and paste of blocks of cells, driven by the edit commands as a host's
// menu sends them, with the clipboard and the message boxes read back.
#include <random>
#include <string>
#include <vector>

#include "tests/table_view/clipboard_fixture.h"

namespace tq3::test {
namespace {

struct CopyRow {
    const char* name;
    CRect sel;  // columns left..right, lines top..bottom, as the user left them
    std::u16string clipboard;
};

TEST_F(ClipboardTest, CopyWritesTheBlockAsTabSeparatedRecords) {
    BuildMixedSheet();
    view->SetTabbedString(0, 0, u"a\tb\t\t12\t2:B\t1.25\r\n");
    view->SetTabbedString(0, 1, u"c\t\td\t-3\t1:A\t0.00\r\n");
    view->SetTabbedString(0, 2, u"short");  // one field, no CR LF
    const CopyRow rows[] = {
        {"one cell", {0, 0, 0, 0}, u"a\r\n"},
        {"one column, three lines", {1, 0, 1, 2}, u"b\r\n\r\n\r\n"},
        {"empty cell inside a record", {0, 1, 2, 1}, u"c\t\td\r\n"},
        {"numeric and list columns", {3, 0, 5, 1}, u"12\t2:B\t1.25\r\n-3\t1:A\t0.00\r\n"},
        {"reversed both ways", {5, 1, 3, 0}, u"12\t2:B\t1.25\r\n-3\t1:A\t0.00\r\n"},
        {"a short line adds its CR LF to one column", {0, 2, 0, 2}, u"short\r\n"},
        {"past the last line, one column", {2, 4, 2, 7}, u"\r\n\r\n\r\n\r\n"},
    };
    for (const CopyRow& row : rows) {
        SCOPED_TRACE(row.name);
        Select(row.sel.left, row.sel.top, row.sel.right, row.sel.bottom);
        desktop.SetClipboardText(u"before");
        Command(ID_EDIT_COPY);
        EXPECT_EQ(desktop.ClipboardText().value_or(u"<none>"), row.clipboard);
        EXPECT_EQ(Sel(), row.sel) << "copy leaves the selection as stored";
    }

    // With the copy bit clear nothing is copied, while cut still empties the cells.
    Select(0, 0, 0, 0);
    desktop.SetClipboardText(u"kept");
    view->SetEditFunctions(kEditFunctionsDefault & ~kEditCopy);
    Command(ID_EDIT_COPY);
    Command(ID_EDIT_CUT);
    EXPECT_EQ(desktop.ClipboardText(), u"kept");
    EXPECT_EQ(Cell(0, 0), u"");
    view->SetEditFunctions(kEditFunctionsDefault & ~kEditCut);
    Command(ID_EDIT_CUT);
    EXPECT_EQ(Cell(0, 1), u"b") << "cut bit clear";
}

TEST_F(ClipboardTest, CutEmptiesExactlyTheSelectedCells) {
    AddSheets(1, 5, 4);
    for (int l = 0; l < 4; ++l) {
        std::u16string line;
        for (int c = 0; c < 5; ++c) line += (c ? u"\t" : u"") + std::u16string(1, u'a' + l) + std::u16string(1, u'0' + c);
        view->SetTabbedString(0, l, (line + u"\r\n").c_str());
    }
    view->SetSelSheet(0);
    Select(3, 2, 1, 1);  // reversed: columns 1-3, lines 1-2
    view->calls.clear();
    Command(ID_EDIT_CUT);
    EXPECT_EQ(desktop.ClipboardText(), u"b1\tb2\tb3\r\nc1\tc2\tc3\r\n");
    const std::u16string want[4] = {u"a0\ta1\ta2\ta3\ta4\r\n", u"b0\t\t\t\tb4\r\n", u"c0\t\t\t\tc4\r\n",
                                    u"d0\td1\td2\td3\td4\r\n"};
    for (int l = 0; l < 4; ++l) EXPECT_EQ(std::u16string(view->GetTabbedString(0, l).GetString()), want[l]) << l;
    EXPECT_EQ(Sel(), CRect(3, 2, 1, 1)) << "the selection stays as stored";
    EXPECT_TRUE(view->calls.empty()) << "cut tells the host of no cell change";
}

struct PasteRow {
    const char* name;
    CRect sel;
    std::u16string clipboard;
    UINT message;  // 0: no box
    int answer;    // the button pressed in the box
    std::vector<std::tuple<int, int, std::u16string>> cells;  // line, column, text after the paste
    CRect selAfter;  // empty: unchanged
    int beeps = 0;
};

std::u16string MessageStart(UINT id) {
    switch (id) {
        case 30008: return u"Can't be pasted.";
        case 30009: return u"The clipboard's data and specified area aren't same size";
        case 30010: return u"The data can't be pasted because";
        default: return u"There are some invalid characters";
    }
}

// Every answer of the paste check, with the user's answer where it asks.
TEST_F(ClipboardTest, PasteDecidesAsksAndRepeats) {
    BuildMixedSheet();
    const CRect same;
    const PasteRow rows[] = {
        {"a block at one cell", {0, 0, 0, 0}, u"a\tb\tc\r\nd\te\tf\r\n", 0, 0,
         {{0, 0, u"a"}, {0, 2, u"c"}, {1, 1, u"e"}, {2, 0, u"t"}}, {0, 0, 2, 1}},
        {"repeated 2 down and 3 across", {0, 0, 2, 3}, u"a\r\nb\r\n", 0, 0,
         {{0, 0, u"a"}, {1, 1, u"b"}, {2, 2, u"a"}, {3, 0, u"b"}, {4, 0, u"t"}}, {0, 0, 2, 3}},
        {"shape differs, Yes pastes once", {0, 0, 0, 2}, u"a\r\nb\r\n", 30009, IDYES,
         {{0, 0, u"a"}, {1, 0, u"b"}, {2, 0, u"t"}}, {0, 0, 0, 1}},
        {"shape differs, No", {0, 0, 0, 2}, u"a\r\nb\r\n", 30009, IDNO, {{0, 0, u"t"}}, same},
        {"text into a number column", {3, 0, 3, 0}, u"abc\r\n", 30010, IDOK, {{0, 3, u"7"}}, same},
        {"list initial matches", {4, 1, 4, 1}, u"2:Mode\r\n", 0, 0, {{1, 4, u"2:B"}}, {4, 1, 4, 1}},
        {"list initial matches nothing, Yes", {3, 1, 4, 1}, u"5\tx\r\n", 30011, IDYES, {{1, 3, u"5"}, {1, 4, u"1:A"}},
         {3, 1, 4, 1}},
        {"list initial matches nothing, No", {3, 1, 4, 1}, u"5\tx\r\n", 30011, IDNO, {{1, 3, u"7"}}, same},
        {"a point into whole numbers beeps and stops", {2, 2, 2, 2}, u"w\t1.5\r\nz\t2\r\n", 0, 0,
         {{2, 2, u"w"}, {2, 3, u"7"}, {3, 2, u"t"}}, same, 1},
        {"decimals where the column has them", {5, 2, 5, 2}, u"-1.5\r\n", 0, 0, {{2, 5, u"-1.50"}}, {5, 2, 5, 2}},
        {"a number too large to hold leaves the cell", {5, 2, 5, 2}, u"1e400\r\n", 0, 0, {{2, 5, u"7.50"}}, same},
        {"past the last column", {5, 0, 5, 0}, u"1\t2\r\n", 30010, IDOK, {{0, 5, u"7.50"}}, same},
        {"no final line break", {1, 0, 1, 0}, u"a\r\nb", 0, 0, {{0, 1, u"a"}, {1, 1, u"b"}}, {1, 0, 1, 1}},
        {"only line breaks empty the cells", {0, 0, 0, 0}, u"\r\n\r\n\r\n", 0, 0,
         {{0, 0, u""}, {2, 0, u""}, {3, 0, u"t"}}, {0, 0, 0, 2}},
        {"a selection outside the sheet", {0, 6, 0, 6}, u"a\r\n", 30008, IDOK, {{5, 0, u"t"}}, same},
    };
    for (const PasteRow& row : rows) {
        SCOPED_TRACE(row.name);
        ResetMixedSheet();
        Select(row.sel.left, row.sel.top, row.sel.right, row.sel.bottom);
        desktop.SetClipboardText(row.clipboard);
        said.clear();
        const int beepsBefore = Beeps();
        if (row.message != 0) AnswerBox(row.answer);
        Command(ID_EDIT_PASTE);
        EXPECT_EQ(desktop.PendingModalAnswers(), 0u) << "the box was not shown";
        if (row.message != 0) {
            ASSERT_EQ(said.size(), 1u);
            EXPECT_EQ(said[0].substr(0, MessageStart(row.message).size()), MessageStart(row.message));
        }
        for (const auto& [line, column, text] : row.cells) EXPECT_EQ(Cell(line, column), text) << line << "," << column;
        EXPECT_EQ(Sel(), row.selAfter.IsRectNull() ? row.sel : row.selAfter);
        EXPECT_EQ(Beeps() - beepsBefore, row.beeps);
    }

    // A host whose hook deletes the sheet being pasted and shows another ends the
    // paste: the blocks still to come do not land in the sheet now shown.
    AddSheets(1, 6, 6);
    view->SetSelSheet(1);
    Select(0, 0, 0, 3);
    desktop.SetClipboardText(u"a\r\nb\r\n");
    bool deleted = false;
    view->onCellChanged = [&] {
        if (deleted) return;
        deleted = true;
        view->DeleteSheet(1);
        view->SetSelSheet(0);
    };
    Command(ID_EDIT_PASTE);
    view->onCellChanged = nullptr;
    ASSERT_TRUE(deleted);
    EXPECT_EQ(Cell(2, 0), u"t");
    EXPECT_EQ(Cell(3, 0), u"t");
}

// Copying a block and pasting it back where it came from, after a cut emptied it,
// gives back every cell: text, numbers and list strings alike.
TEST_F(ClipboardTest, CopyThenPasteGivesBackTheCells) {
    std::mt19937 random(20261206);
    const auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    const std::u16string letters = u"abcXYZ -.:09\u00e9\u4e2d";
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        while (view->GetSheetCount() > 0) view->DeleteSheet(0);
        const int columns = 1 + below(6), lines = 1 + below(8);
        AddSheets(1, columns, lines);
        std::vector<int> mode;  // 0 text, 1 numeric, 2 list
        for (int c = 0; c < columns; ++c) {
            mode.push_back(below(3));
            if (mode.back() == 1) view->SetColumnEditMode(0, c, 1, 0, 7, static_cast<BYTE>(below(3)));
            if (mode.back() == 2) {
                for (const char16_t* item : {u"1:One", u"2:Two", u"Red", u"green"}) view->AddColumnString(0, c, item);
            }
        }
        std::vector<std::u16string> before;
        for (int l = 0; l < lines; ++l) {
            // A line without any text refuses its cells: each starts with its CR LF.
            view->SetTabbedString(0, l, (std::u16string(static_cast<size_t>(columns - 1), u'\t') + u"\r\n").c_str());
            for (int c = 0; c < columns; ++c) {
                std::u16string text;
                if (mode[static_cast<size_t>(c)] == 0) {
                    for (int n = below(5); n > 0; --n) text += letters[static_cast<size_t>(below(14))];
                } else {
                    text = mode[static_cast<size_t>(c)] == 1 ? u"-" + std::u16string(1, u'1' + below(9))
                                                             : std::u16string(1, u"12Rg"[below(4)]);
                }
                view->SetCellText(0, l, c, text.c_str());
                before.push_back(Cell(l, c));
            }
        }
        view->SetSelSheet(0);
        const int left = below(columns), top = below(lines);
        const CRect sel(left, top, left + below(columns - left), top + below(lines - top));
        Select(sel.left, sel.top, sel.right, sel.bottom);
        Command(ID_EDIT_CUT);
        Command(ID_EDIT_PASTE);
        for (int l = 0; l < lines; ++l) {
            for (int c = 0; c < columns; ++c) {
                EXPECT_EQ(Cell(l, c), before[static_cast<size_t>(l * columns + c)]) << l << "," << c;
            }
        }
        EXPECT_EQ(Sel(), sel);
    }
}

TEST_F(ClipboardTest, BadClipboardTextKeepsTheViewWhole) {
    AddSheets(1, 3, 10000);
    view->AddColumnString(0, 2, u"Apple");
    view->SetSelSheet(0);
    Select(0, 0, 0, 0);

    // 100 MB of records: what lies past the sheet's last line is dropped.
    std::u16string huge;
    huge.reserve(50u << 20);
    while (huge.size() < (50u << 20)) huge += u"abcdefgh\tijklmnop\r\n";
    desktop.SetClipboardText(huge);
    huge.clear();
    huge.shrink_to_fit();
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(Cell(9999, 1), u"ijklmnop");
    EXPECT_EQ(Sel(), CRect(0, 0, 1, 10000)) << "the selection covers the lines found, one past the sheet";

    // A million lines of one field each.
    std::u16string million;
    for (int i = 0; i < 1000000; ++i) million += u"x\r\n";
    desktop.SetClipboardText(million);
    Select(1, 0, 1, 0);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(Cell(0, 1), u"x");
    EXPECT_EQ(Cell(9999, 1), u"x");

    // The clipboard's text ends at a NUL character.
    desktop.SetClipboardText(std::u16string(u"n\0m\tz\r\n", 7));
    Select(0, 0, 0, 0);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(Cell(0, 0), u"n");
    EXPECT_EQ(Cell(0, 1), u"x");

    // Lone surrogates are stored as they came in text columns and meet no list string.
    desktop.SetClipboardText(u"\xD800q\t\xDC00\r\n");
    Select(0, 1, 0, 1);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(Cell(1, 0), u"\xD800q");
    EXPECT_EQ(Cell(1, 1), u"\xDC00");
    desktop.SetClipboardText(u"\xDC00\r\n");
    Select(2, 1, 2, 1);
    AnswerBox(IDNO);
    Command(ID_EDIT_PASTE);
    ASSERT_EQ(said.size(), 1u);
    EXPECT_EQ(said[0].substr(0, 12), u"There are so");

    // The busy cursor shows while the cells are written.
    tq3::fw::CursorShape during = tq3::fw::CursorShape::None;
    view->onCellChanged = [&] { during = desktop.Pointer().shape; };
    desktop.SetClipboardText(u"busy\r\n");
    Select(0, 3, 0, 3);
    Command(ID_EDIT_PASTE);
    view->onCellChanged = nullptr;
    EXPECT_EQ(during, tq3::fw::CursorShape::Wait);
    EXPECT_NE(desktop.Pointer().shape, tq3::fw::CursorShape::Wait) << "and goes when the paste ends";
}

// More columns than a small fixed table would hold: every column is checked and
// written.
TEST_F(ClipboardTest, WideSheetsAreCheckedWhole) {
    AddSheets(1, 200, 2);
    view->SetColumnEditMode(0, 180, 1, 0, 7, 0);
    view->SetSelSheet(0);
    std::u16string wide;
    for (int c = 0; c < 200; ++c) wide += (c ? u"\t" : u"") + std::u16string(c == 180 ? u"5" : u"w");
    desktop.SetClipboardText(wide + u"\r\n");
    Select(0, 0, 0, 0);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(Cell(0, 199), u"w");
    EXPECT_EQ(Cell(0, 180), u"5");
    EXPECT_EQ(Sel(), CRect(0, 0, 199, 0));
}

}  // namespace
}  // namespace tq3::test
