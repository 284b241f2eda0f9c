#include "framework/core/locale.h"

#include <gtest/gtest.h>

#include <string>


namespace tq3::test {
namespace {

constexpr DWORD kCase = NORM_IGNORECASE;
constexpr DWORD kMarks = NORM_IGNORENONSPACE;
constexpr DWORD kSymbols = NORM_IGNORESYMBOLS;
constexpr DWORD kKana = NORM_IGNOREKANATYPE;
constexpr DWORD kWidth = NORM_IGNOREWIDTH;
constexpr int kLess = CSTR_LESS_THAN, kEqual = CSTR_EQUAL, kGreater = CSTR_GREATER_THAN;

int Compare(LPCWSTR a, LPCWSTR b, DWORD flags = 0, LCID locale = LOCALE_USER_DEFAULT, int na = -1, int nb = -1) {
    return CompareStringW(locale, flags, a, na, b, nb);
}

// Each pair is compared both ways round: the answer mirrors.
TEST(CompareStringW, FlagsDecideWhichDifferencesCount) {
    struct Case {
        const char16_t* a;
        const char16_t* b;
        DWORD flags;
        int expected;
    };
    const Case cases[] = {
        {u"", u"a", 0, kLess},
        // Case.
        {u"a", u"A", 0, kLess},
        {u"a", u"A", kCase, kEqual},
        // Non-spacing marks, precomposed or combining.
        {u"\u00E9", u"e", 0, kGreater},
        {u"\u00C9", u"e", kCase | kMarks, kEqual},
        // Symbols, spaces and currency signs.
        {u"a b", u"ab", kSymbols, kEqual},
        {u"\u00A5100", u"100", kSymbols, kEqual},
        // Kana type: hiragana and katakana differ unless it is ignored.
        {u"\u3042", u"\u30A2", kKana, kEqual},
        // Width: wide and narrow forms differ unless width (or case) is ignored.
        {u"\uFF21", u"A", kWidth, kEqual},
        {u"\uFF71", u"\u3042", kWidth | kKana, kEqual},
        // Characters beyond the basic plane.
        {u"x\U0001F600", u"x\U0001F601", 0, kLess},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "flags 0x" << std::hex << c.flags << " case " << (&c - cases));
        EXPECT_EQ(Compare(c.a, c.b, c.flags), c.expected);
        EXPECT_EQ(Compare(c.b, c.a, c.flags), kLess + kGreater - c.expected);
    }
}

TEST(CompareStringW, CountsLocalesAndBadArguments) {
    // Counts limit the compared text.
    EXPECT_EQ(Compare(u"abcX", u"abc", 0, LOCALE_USER_DEFAULT, 3), kEqual);
    EXPECT_EQ(Compare(u"abcX", u"abcY", 0, LOCALE_USER_DEFAULT, 4, 3), kGreater);
    // Named locales: in Swedish, o with diaeresis is a letter of its own after z.
    EXPECT_EQ(Compare(u"\u00F6", u"z", 0, 0x0409), kLess);
    EXPECT_EQ(Compare(u"\u00F6", u"z", 0, 0x041D), kGreater);
    // Bad arguments answer 0; unpaired surrogates compare without harm.
    EXPECT_EQ(Compare(nullptr, u"a"), 0);
    EXPECT_EQ(Compare(u"a", u"a", 0, LOCALE_USER_DEFAULT, -2), 0);
    EXPECT_EQ(Compare(u"a", u"a", 0, 0xFFFF), 0);
    const char16_t lone[] = {0xD800, u'a', 0}, trail[] = {u'a', 0xDC00, 0};
    EXPECT_NE(Compare(lone, trail, kCase | kWidth | kKana), 0);
}

}  // namespace
}  // namespace tq3::test
