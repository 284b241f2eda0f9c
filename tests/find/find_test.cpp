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

const std::u16string kLong = [] {
    std::u16string s;
    for (int i = 0; i < 5000; ++i) s += static_cast<char16_t>(u'a' + i % 26);
    return s;
}();

std::vector<FindCase> Cases() {
    const RECT area{1, 0, 2, 1};  // columns 1..2, lines 0..1
    return {
        {"whole cell: only the equal cell", {u"xab\tab"}, 0, 0, u"ab", kWhole, {}, 0, 1, {0, 2}},
        {"part of a cell: where the text lies", {u"xab"}, 0, 0, u"ab", 0, {}, 0, 0, {1, 2}},
        {"part starting inside an earlier partial match", {u"aab"}, 0, 0, u"ab", 0, {}, 0, 0, {1, 2}},
        {"case ignored", {u"ab"}, 0, 0, u"AB", 0, {}, 0, 0, {0, 1}},
        {"case must match", {u"ab\txAB"}, 0, 0, u"AB", kCase, {}, 0, 1, {1, 2}},
        {"symbols ignored in whole cells, even matching case", {u"a-b"}, 0, 0, u"ab", kWhole | kCase, {}, 0, 0, {0, 2}},
        {"marks ignored in whole cells", {u"resume\tr\u00E9sum\u00E9"}, 0, 1, u"RESUME", kWhole, {}, 0, 1, {0, 6}},
        {"part of a cell: symbols count", {u"a-b"}, 0, 0, u"ab", 0, {}, -1, -1, {-1, -1}},
        {"a line's CR LF is not part of its last cell", {u"a\tb\r\n"}, 0, 0, u"b", kWhole, {}, 0, 1, {0, 1}},
        {"a line with no text is one empty field", {u"x", u"", u"y"}, 0, 0, u"-", kWhole, {}, 1, 0, {0, 1}},
        {"the start cell itself is examined", {u"ab\tab"}, 0, 1, u"ab", 0, {}, 0, 1, {0, 1}},
        {"fields before the start column are not reported", {u"ab\tx", u"ab"}, 0, 1, u"ab", 0, {}, 1, 0, {0, 1}},
        {"no area: the start line's fields bound later lines", {u"a\tb", u"a\tb\tz"}, 0, 0, u"z", 0, {}, -1, -1,
         {-1, -1}},
        {"area: start line left of the start column", {u"a\tz\ta"}, 0, 2, u"z", 0, area, -1, -1, {-1, -1}},
        {"area: later lines from its first column", {u"a\ta\ta", u"z\tz"}, 0, 2, u"z", 0, area, 1, 1, {0, 0}},
        {"area: its last line is the last searched", {u"a\ta", u"a\ta", u"a\tz"}, 0, 1, u"z", 0, area, -1, -1,
         {-1, -1}},
        {"an area below the sheet's end", {u"a", u"z"}, 0, 0, u"z", 0, RECT{0, 0, 0, 1000000}, 1, 0, {0, 0}},
        {"null text", {u"abc"}, 0, 0, std::nullopt, 0, {}, -1, -1, kUntouched},
        {"empty text searches nothing", {u"abc"}, 0, 0, u"", 0, {}, 0, 0, {0, 0}},
        {"a 5,000-character text", {u"x", u"x" + kLong + u"y"}, 0, 0, kLong, 0, {}, 1, 0, {1, 5000}},
        {"a lone surrogate in a cell", {u"a\tb\xD800z"}, 0, 0, u"\xD800z", 0, {}, 0, 1, {1, 2}},
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
    }
}

}  // namespace
}  // namespace tq3::test
