// What a cell keeps of a text by its column's edit mode and what a whole-line
// conversion keeps of a field: the rules alone, without a view or a desktop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/utf.h"
#include "model/cell_rules.h"

namespace {

enum class Mode { kList, kNumeric, kText, kNone };

// A column of `mode`; `a` and `b` are the digits and decimals of a numeric
// column, `a` the maximum length of a text column.
void MakeColumn(CColumnProp& column, Mode mode, int a, int b) {
    if (mode == Mode::kList) {
        for (const char16_t* s : {u"0 none", u"1 one", u"2 two", u"apple", u"", u"Banana"}) {
            column.listStrings.emplace_back(s);
        }
        column.defaultString = u"(none)";
    } else if (mode == Mode::kNumeric) {
        column.numeric = 1;
        column.digits = static_cast<BYTE>(a);
        column.decimals = static_cast<BYTE>(b);
    } else {
        column.maxLength = a;
    }
}

TEST(CellRules, ACellKeepsWhatItsEditModeAllows) {
    struct Case {
        Mode mode;
        int a, b;
        const char16_t* text;
        const char16_t* stored;  // null: refused
    } cases[] = {
        // A list column takes the first string of the same initial, in either case.
        {Mode::kList, 0, 0, u"Apfel", u"apple"},
        {Mode::kList, 0, 0, u"7", nullptr},
        // A numeric column keeps its digits from the left, decimals go first.
        {Mode::kNumeric, 5, 2, u"12.346", u"12.35"},
        {Mode::kNumeric, 5, 2, u"123456.7", u"123456"},
        {Mode::kNumeric, 5, 2, u"-1.5", u"-1.50"},
        {Mode::kNumeric, 5, 2, u"a12", nullptr},
        {Mode::kNumeric, 7, 0, u"-12345678", u"-1234567"},
        {Mode::kNumeric, 7, 0, u"12abc", u"12"},
        {Mode::kNumeric, 3, 1, u"9.99", u"10.0"},
        {Mode::kNumeric, 7, 2, u"1e3", u"1000.00"},
        {Mode::kNumeric, 7, 2, u"1e-999", u"0.00"},  // too small to hold: zero
        {Mode::kNumeric, 7, 2, u"1e400", nullptr},   // too large for any number: refused
        // A text column cuts at a positive limit only.
        {Mode::kText, 3, 0, u"abcdef", u"abc"},
        {Mode::kText, 0, 0, u"abcdef", u"abcdef"},
        // A field without a column is empty.
        {Mode::kNone, 0, 0, u"x", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(c.mode) << " " << c.a << "/" << c.b << " \""
                                        << tq3::fw::ToUtf8(c.text) << "\"");
        CColumnProp column;
        MakeColumn(column, c.mode, c.a, c.b);
        CString storage;
        LPCWSTR cell = nullptr;
        const BOOL kept = tq3::CellTextForColumn(c.mode == Mode::kNone ? nullptr : &column, c.text, storage, cell);
        ASSERT_EQ(kept != FALSE, c.stored != nullptr);
        if (kept) {
            EXPECT_EQ(std::u16string(cell), std::u16string(c.stored));
        }
    }
}

TEST(CellRules, AWholeLineConvertsEachFieldWithoutRefusingOrCutting) {
    struct Case {
        Mode mode;
        int a, b;
        const char16_t* field;
        const char16_t* kept;
    } cases[] = {
        {Mode::kList, 0, 0, u"b", u"Banana"},     {Mode::kList, 0, 0, u"zebra", u"(none)"},
        {Mode::kNumeric, 3, 2, u"12345.678", u"12345.68"}, {Mode::kNumeric, 3, 2, u"abc", u"0.00"},
{Mode::kText, 3, 0, u"abcdef", u"abcdef"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(tq3::fw::ToUtf8(c.field));
        CColumnProp column;
        MakeColumn(column, c.mode, c.a, c.b);
        EXPECT_EQ(std::u16string(tq3::LineFieldForColumn(column, c.field).GetString()), std::u16string(c.kept));
    }
}

}  // namespace
