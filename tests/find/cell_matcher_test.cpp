// The search's two ways of comparing a whole cell: through the collation tables
// and through the locale functions. The tables must cover everyday text (or the
// search is slow) and give the locale functions' answer where they do.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "find/table_view_find_matcher.h"
#include "view/table_view.h"

namespace tq3 {
namespace {

struct Pair {
    std::u16string text, cell;
};

TEST(CellMatcherTest, TablesCoverEverydayTextAndAgreeWithTheLocale) {
    const std::vector<Pair> pairs = {
        {u"ab", u"ab"},         {u"ab", u"AB"},          {u"ab", u"a-b"},        {u"ab", u"a b."},
        {u"ab", u"abc"},        {u"abc", u"ab"},         {u"-", u""},            {u"a1", u"A1"},
        {u"resume", u"r\u00E9sum\u00E9"}, {u"\u00C9t\u00E9", u"ete"}, {u"stra\u00DFe", u"strasse"},
        {u"\u304B\u306A", u"\u30AB\u30CA"}, {u"\u304B\u306A", u"\u304B\u306A"},
        {u"\u6771\u4EAC", u"\u6771\u4EAC"}, {u"\u6771\u4EAC", u"\u6771\u4EAC\u90FD"},
        {u"\uFF21\uFF42", u"ab"}, {u"$5", u"5"},          {u"a\u00A0b", u"ab"},  {u"\u4E00", u"\u4E01"},
    };
    for (const DWORD flags : {kFindEntireCells, kFindEntireCells | kFindMatchCase}) {
        for (const Pair& p : pairs) {
            SCOPED_TRACE(std::string("flags ") + std::to_string(flags) + ", pair " + std::to_string(&p - pairs.data()));
            CellMatcher matcher(p.text, flags);
            const std::optional<bool> byTables = matcher.EqualByTables(p.cell);
            ASSERT_TRUE(byTables.has_value()) << "not covered by the tables";
            CellMatch match;
            EXPECT_EQ(*byTables, MatchCellByLocale(p.cell, p.text, flags, match));
        }
    }
}

// Characters whose collation depends on their neighbours go to the locale
// functions, and the answer is the same either way.
TEST(CellMatcherTest, UncoveredCellsAskTheLocale) {
    const std::vector<Pair> pairs = {
        {u"e\u0301", u"\u00E9"}, {u"\U0001D400", u"A"}, {u"\xD800", u"\xD800"}, {u"a", u"a\u0308"},
        {u"a\uFFFEb", u"ab"},  // the collator's merge separator weighs below every letter
        {u"\u0419", u"\u0439"},  // a letter and a mark that contract into one element
        {u"a", u"a\uFDFA"},      // a ligature of a whole phrase, too long for the table
    };
    for (const Pair& p : pairs) {
        CellMatcher matcher(p.text, kFindEntireCells);
        EXPECT_FALSE(matcher.EqualByTables(p.cell).has_value());
        CellMatch byMatcher;
        CellMatch byLocale;
        EXPECT_EQ(matcher.Matches(p.cell, byMatcher), MatchCellByLocale(p.cell, p.text, kFindEntireCells, byLocale));
    }
}

// Part of a cell, found in a line: the lines that cannot hold the text are passed
// over by a filter that reads eight places at a time, so matches sit at every
// place of a block and at the line's end.
TEST(CellMatcherTest, FindInLineAtEveryPlaceOfTheFilter) {
    for (std::size_t n = 0; n <= 40; ++n) {
        const std::u16string line = std::u16string(n, u'a') + u"xYz";
        for (const char16_t* text : {u"xyz", u"y", u"yz"}) {
            CellMatch match;
            const int found = CellMatcher(text, 0).FindInLine(line.c_str(), line.size(), 0, 0, match);
            const int x = static_cast<int>(n) + (text[0] == u'x' ? 0 : 1);
            EXPECT_EQ(found, 0) << n << " " << std::u16string_view(text).size();
            EXPECT_EQ(match.x, x) << n;
        }
        CellMatch match;
        EXPECT_EQ(CellMatcher(u"xyq", 0).FindInLine(line.c_str(), line.size(), 0, 0, match), -1) << n;
        EXPECT_EQ(CellMatcher(u"xyz", kFindMatchCase).FindInLine(line.c_str(), line.size(), 0, 0, match), -1) << n;
    }

}

// Whole cells, found in a line: a field whose first character already differs
// from the search text is passed over without a comparison, and the skip to its
// end reads eight units at a time. Every line here is also compared field by
// field through the locale functions, which must name the same column.
TEST(CellMatcherTest, FindWholeInLinePassesOverFieldsAsTheLocaleWould) {
    const auto ByLocale = [](const std::u16string& line, const char16_t* text, DWORD flags, int from, int last) {
        const std::u16string_view whole(line.c_str());  // the line ends at its first zero
        std::size_t start = 0;
        for (int column = 0; column <= last; ++column) {
            const std::size_t tab = std::min(whole.find(u'\t', start), whole.size());
            const std::u16string_view field = whole.substr(start, tab - start);
            const std::u16string_view cell = field.substr(0, std::min(field.find_first_of(u"\r\n"), field.size()));
            CellMatch match;
            if (column >= from && MatchCellByLocale(cell, text, flags, match)) return column;
            if (tab == whole.size()) break;
            start = tab + 1;
        }
        return -1;
    };
    const std::u16string long17(17, u'q');
    const std::vector<std::u16string> lines = {
        u"r1c0\t-C4X\tC4Y\r\n",  // an ignored symbol before the text
        u"r1c0\tc4x\r\n",         // another case
        u"r1\t\u00C74X\t\uFF23\uFF14\uFF38\r\n",  // a mark, wide forms
        long17 + u"\t" + long17 + u"x\t\tC4X\r\n",     // long and empty fields first
        std::u16string(u"abc\0\tC4X", 8),              // nothing after a zero
        u"\t\t\t-\t--\t\r\n",
        u"C4X",
    };
    for (const char16_t* text : {u"C4X", u"-", u"q"}) {
        for (const DWORD flags : {kFindEntireCells, kFindEntireCells | kFindMatchCase}) {
            for (const std::u16string& line : lines) {
                for (int from = 0; from < 3; ++from) {
                    CellMatch match;
                    const int found = CellMatcher(text, flags).FindInLine(line.c_str(), line.size(), from, 5, match);
                    EXPECT_EQ(found, ByLocale(line, text, flags, from, 5))
                        << std::string(line.begin(), line.end()) << " / " << std::u16string_view(text).size() << " "
                        << flags << " from " << from;
                }
            }
        }
    }
}

}  // namespace
}  // namespace tq3
