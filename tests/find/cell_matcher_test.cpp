// The search's two ways of comparing a whole cell: through the collation tables
// and through the locale functions. The tables must cover everyday text (or the
// search is slow) and give the locale functions' answer where they do.
#include <gtest/gtest.h>

#include <string>
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
        {u"\uFF21\uFF42", u"ab"}, {u"$5", u"5"},          {u"a\u00A0b", u"ab"},
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

}  // namespace
}  // namespace tq3
