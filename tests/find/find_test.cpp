// CTableView::Find as a table: which cell a search reports and where in it the
// text matched, for the walk over lines and columns, the two flags and the
// comparison's rules, and for texts that are empty, null, huge or broken.
#include <optional>
#include <string>
#include <vector>

#include "tests/table_view/table_view_fixture.h"

namespace tq3::test {
namespace {

using Lines = std::vector<std::u16string>;

struct FindCase {
    const char* what;
    Lines lines;
    int startLine, startColumn;
    std::optional<std::u16string> text;  // nullopt: a null pointer
    DWORD flags;
    std::optional<RECT> area;
    int line, column;  // expected
    POINT match;       // expected
};

constexpr DWORD kWhole = kFindEntireCells;
constexpr DWORD kCase = kFindMatchCase;
constexpr POINT kUntouched{77, 77};

const Lines kGrid = {u"a\tb\tc\td\te\tf", u"a\tb\tc\td\te\tf", u"a\tb\tc\td\te\tf",
                     u"a\tb\tc\td\te\tf", u"a\tb\tc\td\te\tf", u"a\tb\tc\td\te\tf", u"a\tb\tc\td\te\tf"};

// kGrid with `text` in cell (line, column).
Lines GridWith(int line, int column, const std::u16string& text) {
    Lines lines(kGrid.size(), u"");
    for (size_t l = 0; l < kGrid.size(); ++l) {
        for (int c = 0; c < 6; ++c) {
            if (c > 0) lines[l] += u'\t';
            lines[l] += static_cast<int>(l) == line && c == column ? text : std::u16string(1, static_cast<char16_t>(u'a' + c));
        }
    }
    return lines;
}

const std::u16string kLong = [] {
    std::u16string s;
    for (int i = 0; i < 5000; ++i) s += static_cast<char16_t>(u'a' + i % 26);
    return s;
}();

std::vector<FindCase> Cases() {
    const RECT area{1, 0, 4, 5};  // columns 1..4, lines 0..5
    return {
        {"whole cell: only the equal cell", {u"xab\tab"}, 0, 0, u"ab", kWhole, {}, 0, 1, {0, 2}},
        {"part of a cell: where the text lies", {u"xab"}, 0, 0, u"ab", 0, {}, 0, 0, {1, 2}},
        {"part starting inside an earlier partial match", {u"aab"}, 0, 0, u"ab", 0, {}, 0, 0, {1, 2}},
        {"case ignored", {u"ab"}, 0, 0, u"AB", 0, {}, 0, 0, {0, 1}},
        {"case ignored, whole cell", {u"xAb\taB"}, 0, 0, u"Ab", kWhole, {}, 0, 1, {0, 2}},
        {"case must match", {u"ab\txAB"}, 0, 0, u"AB", kCase, {}, 0, 1, {1, 2}},
        {"case must match, whole cell", {u"ab\tAb\tAB"}, 0, 0, u"AB", kWhole | kCase, {}, 0, 2, {0, 2}},
        {"symbols ignored in whole cells, even matching case", {u"a-b"}, 0, 0, u"ab", kWhole | kCase, {}, 0, 0, {0, 2}},
        {"match length is the search text's", {u"x\t(a) b."}, 0, 0, u"ab", kWhole, {}, 0, 1, {0, 2}},
        {"marks ignored in whole cells", {u"resume\tr\u00E9sum\u00E9"}, 0, 1, u"RESUME", kWhole, {}, 0, 1, {0, 6}},
        {"marks ignored, case still counts", {u"R\u00E9sum\u00E9\tr\u00E9sum\u00E9"}, 0, 0, u"resume", kWhole | kCase,
         {}, 0, 1, {0, 6}},
        {"part of a cell: symbols count", {u"a-b"}, 0, 0, u"ab", 0, {}, -1, -1, {-1, -1}},
        {"hiragana and katakana differ", {u"\u30AB\t\u304B"}, 0, 0, u"\u304B", kWhole, {}, 0, 1, {0, 1}},
        {"wide letters equal narrow ones when case is ignored", {u"\uFF21\uFF42"}, 0, 0, u"ab", kWhole, {}, 0, 0, {0, 2}},
        {"but not when case must match", {u"\uFF21\uFF42"}, 0, 0, u"Ab", kWhole | kCase, {}, -1, -1, {-1, -1}},
        {"a line's CR LF is not part of its last cell", {u"a\tb\r\n"}, 0, 0, u"b", kWhole, {}, 0, 1, {0, 1}},
        {"a line with no text is one empty field", {u"x", u"", u"y"}, 0, 0, u"-", kWhole, {}, 1, 0, {0, 1}},
        {"the start cell itself is examined", {u"ab\tab"}, 0, 1, u"ab", 0, {}, 0, 1, {0, 1}},
        {"fields before the start column are not reported", {u"ab\tx", u"ab"}, 0, 1, u"ab", 0, {}, 1, 0, {0, 1}},
        {"no area: the start line's fields bound later lines", {u"a\tb", u"a\tb\tz"}, 0, 0, u"z", 0, {}, -1, -1,
         {-1, -1}},
        {"no area: down to the last line", {u"a", u"b", u"a", u"z"}, 1, 0, u"z", 0, {}, 3, 0, {0, 0}},
        {"area: start line left of the start column", GridWith(3, 1, u"z"), 3, 2, u"z", 0, area, -1, -1, {-1, -1}},
        {"area: start line from the start column", GridWith(3, 4, u"z"), 3, 2, u"z", 0, area, 3, 4, {0, 0}},
        {"area: later lines from the first column", GridWith(4, 1, u"z"), 3, 2, u"z", 0, area, 4, 1, {0, 0}},
        {"area: lines above the start never reached", GridWith(1, 2, u"z"), 3, 2, u"z", 0, area, -1, -1, {-1, -1}},
        {"area: columns left of it never reported", GridWith(4, 0, u"z"), 3, 2, u"z", 0, area, -1, -1, {-1, -1}},
        {"area: columns right of it never reached", GridWith(4, 5, u"z"), 3, 2, u"z", 0, area, -1, -1, {-1, -1}},
        {"area: its last line is the last searched", GridWith(6, 2, u"z"), 3, 2, u"z", 0, area, -1, -1, {-1, -1}},
        {"start line below the area", GridWith(6, 2, u"z"), 6, 2, u"z", 0, area, -1, -1, {-1, -1}},
        {"negative area values count as 0", {u"z\ta"}, 0, 0, u"z", 0, RECT{-3, -3, 1, 0}, 0, 0, {0, 0}},
        {"an area below the sheet's end", {u"a", u"z"}, 0, 0, u"z", 0, RECT{0, 0, 0, 1000000}, 1, 0, {0, 0}},
        {"no match", {u"abc\tdef"}, 0, 0, u"x", 0, {}, -1, -1, {-1, -1}},
        {"null text", {u"abc"}, 0, 0, std::nullopt, 0, {}, -1, -1, kUntouched},
        {"empty text searches nothing", {u"abc"}, 0, 0, u"", 0, {}, 0, 0, {0, 0}},
        {"a 5,000-character text", {u"x", u"x" + kLong + u"y"}, 0, 0, kLong, 0, {}, 1, 0, {1, 5000}},
        {"a 5,000-character text that is not there", {u"x" + kLong.substr(1)}, 0, 0, kLong, 0, {}, -1, -1, {-1, -1}},
        {"a lone surrogate in a cell", {u"a\tb\xD800z"}, 0, 0, u"\xD800z", 0, {}, 0, 1, {1, 2}},
        {"a lone surrogate as a whole cell", {u"x\t\xD800"}, 0, 0, u"\xD800", kWhole | kCase, {}, 0, 1, {0, 1}},
        {"the text ends at a NUL", {u"a\tb"}, 0, 0, std::u16string(u"b\0a", 3), 0, {}, 0, 1, {0, 0}},
    };
}

TEST_F(TableViewTest, FindReportsTheFirstMatchingCellForward) {
    for (const FindCase& c : Cases()) {
        SCOPED_TRACE(c.what);
        view->DeleteAllSheets();
        AddSheet(view, u"sheet");
        for (size_t l = 0; l < c.lines.size(); ++l) ASSERT_GE(view->InsertLine(0, static_cast<int>(l), c.lines[l].c_str()), 0);
        int sheet = 0;
        int line = c.startLine;
        int column = c.startColumn;
        RECT area = c.area.value_or(RECT{});
        POINT match = kUntouched;
        view->Find(sheet, line, column, c.text ? c.text->c_str() : nullptr, c.flags, c.area ? &area : nullptr, &match);
        EXPECT_EQ(line, c.line);
        EXPECT_EQ(column, c.column);
        EXPECT_EQ(match.x, c.match.x);
        EXPECT_EQ(match.y, c.match.y);
        if (c.area) {
            EXPECT_TRUE(EqualRect(&area, &*c.area)) << "the area is read, not changed";
        }
        // Without a match position the same cell is found.
        int again = c.startLine;
        int againColumn = c.startColumn;
        view->Find(sheet, again, againColumn, c.text ? c.text->c_str() : nullptr, c.flags, c.area ? &area : nullptr,
                   nullptr);
        EXPECT_EQ(again, c.line);
        EXPECT_EQ(againColumn, c.column);
    }
}

TEST_F(TableViewTest, FindInASheetThatIsNotThereFindsNothing) {
    AddSheets(1, 1, 1);
    view->SetCellText(0, 0, 0, u"a");
    for (int sheet : {-1, 1}) {
        int line = 0;
        int column = 0;
        POINT match{5, 5};
        view->Find(sheet, line, column, u"a", 0, nullptr, &match);
        EXPECT_EQ(line, -1);
        EXPECT_EQ(column, -1);
        EXPECT_EQ(match.x, -1);
    }
}

}  // namespace
}  // namespace tq3::test
