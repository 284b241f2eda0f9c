#include "text/tab_text.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/core/locale.h"

namespace {

struct SearchCase {
    const char16_t* text;
    const char16_t* pattern;
    DWORD flags;
    int start;
    int end;
};

TEST(SearchPartialString, ReportsTheFirstMatchOrMinusOne) {
    const SearchCase cases[] = {
        {u"aab", u"ab", 0, 1, 2},
        {u"abc", u"abcd", 0, -1, -1},
        {nullptr, u"a", 0, -1, -1},
        // Bit 0 ignores case; no other bit is looked at.
        {u"xab", u"AB", 0, -1, -1},
        {u"xab", u"AB", NORM_IGNORECASE, 1, 2},
        {u"xab", u"AB", NORM_IGNORENONSPACE | NORM_IGNORESYMBOLS, -1, -1},
        {u"x\u00C4B", u"\u00E4b", NORM_IGNORECASE, 1, 2},
        // Positions count UTF-16 code units.
        {u"x\U0001F600y", u"y", 0, 3, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags " << c.flags << " start " << c.start);
        int start = 99;
        int end = 99;
        SearchPartialString(c.text, c.pattern, c.flags, &start, &end);
        EXPECT_EQ(start, c.start);
        EXPECT_EQ(end, c.end);
    }
}

}  // namespace
