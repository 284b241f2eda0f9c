#include "framework/core/locale.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/failing_allocator.h"

namespace tq3::test {
namespace {

constexpr DWORD kCase = NORM_IGNORECASE;
constexpr DWORD kMarks = NORM_IGNORENONSPACE;
constexpr DWORD kSymbols = NORM_IGNORESYMBOLS;
constexpr DWORD kKana = NORM_IGNOREKANATYPE;
constexpr DWORD kWidth = NORM_IGNOREWIDTH;

struct CompareCase {
    const char16_t* a;
    const char16_t* b;
    DWORD flags;
    int expected;
};

int Swapped(int result) { return result == CSTR_EQUAL ? CSTR_EQUAL : CSTR_LESS_THAN + CSTR_GREATER_THAN - result; }

TEST(CompareStringW, FlagsDecideWhichDifferencesCount) {
    const CompareCase cases[] = {
        {u"abc", u"abc", 0, CSTR_EQUAL},
        {u"abc", u"abd", 0, CSTR_LESS_THAN},
        {u"b", u"a", 0, CSTR_GREATER_THAN},
        {u"", u"a", 0, CSTR_LESS_THAN},
        // Case.
        {u"a", u"A", 0, CSTR_LESS_THAN},
        {u"a", u"A", kCase, CSTR_EQUAL},
        {u"a", u"B", kCase, CSTR_LESS_THAN},
        // Non-spacing marks, precomposed or combining.
        {u"\u00E9", u"e", 0, CSTR_GREATER_THAN},
        {u"\u00E9", u"e\u0301", 0, CSTR_EQUAL},
        {u"\u00E9", u"e", kMarks, CSTR_EQUAL},
        {u"\u00E9", u"e", kCase, CSTR_GREATER_THAN},
        {u"\u00C9", u"e", kCase | kMarks, CSTR_EQUAL},
        {u"\u00C9", u"e", kMarks, CSTR_GREATER_THAN},
        // Symbols, spaces and currency signs.
        {u"a-b", u"ab", 0, CSTR_LESS_THAN},
        {u"a-b", u"ab", kSymbols, CSTR_EQUAL},
        {u"a b", u"ab", kSymbols, CSTR_EQUAL},
        {u"$5", u"5", kSymbols, CSTR_EQUAL},
        {u"\u00A5100", u"100", kSymbols, CSTR_EQUAL},
        {u"(A)", u"a", kCase | kMarks | kSymbols, CSTR_EQUAL},
        {u"a", u"b", kCase | kMarks | kSymbols, CSTR_LESS_THAN},
        // Kana type: hiragana and katakana differ unless it is ignored.
        {u"\u3042", u"\u30A2", 0, CSTR_LESS_THAN},
        {u"\u3042", u"\u30A2", kCase, CSTR_LESS_THAN},
        {u"\u3042", u"\u30A2", kCase | kMarks | kSymbols, CSTR_LESS_THAN},
        {u"\u3042", u"\u30A2", kMarks | kSymbols, CSTR_LESS_THAN},
        {u"\u3042", u"\u30A2", kKana, CSTR_EQUAL},
        {u"\u3042", u"\u30A2", kCase | kMarks | kSymbols | kKana, CSTR_EQUAL},
        {u"\u304B", u"\u30A2", kKana, CSTR_GREATER_THAN},
        // Width: wide and narrow forms differ unless width (or case) is ignored.
        {u"\uFF21", u"A", 0, CSTR_GREATER_THAN},
        {u"\uFF21", u"A", kWidth, CSTR_EQUAL},
        {u"\uFF21", u"A", kCase, CSTR_EQUAL},
        {u"\uFF21", u"A", kMarks, CSTR_GREATER_THAN},
        {u"\uFF21", u"A", kMarks | kWidth, CSTR_EQUAL},
        {u"\uFF41", u"A", kCase | kWidth, CSTR_EQUAL},
        {u"\uFF71", u"\u30A2", 0, CSTR_GREATER_THAN},
        {u"\uFF71", u"\u30A2", kWidth, CSTR_EQUAL},
        {u"\uFF71", u"\u3042", kWidth | kKana, CSTR_EQUAL},
        // Characters beyond the basic plane.
        {u"\U0001D400", u"\U0001D400", 0, CSTR_EQUAL},
        {u"x\U0001F600", u"x\U0001F601", 0, CSTR_LESS_THAN},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "flags 0x" << std::hex << c.flags << " a length "
                                        << std::u16string(c.a).size() << " b length " << std::u16string(c.b).size());
        EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, c.flags, c.a, -1, c.b, -1), c.expected);
        EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, c.flags, c.b, -1, c.a, -1), Swapped(c.expected));
    }
}

TEST(CompareStringW, CountsLimitTheComparedText) {
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, u"abcX", 3, u"abc", -1), CSTR_EQUAL);
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, u"abcX", 4, u"abcY", 3), CSTR_GREATER_THAN);
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, u"abc", 0, u"", -1), CSTR_EQUAL);
    EXPECT_EQ(CompareStringW(LOCALE_SYSTEM_DEFAULT, kCase, u"ABC", 1, u"axx", 1), CSTR_EQUAL);
}

TEST(CompareStringW, NamedLocalesAreHonoured) {
    // Japanese (0x0411) and Swedish (0x041D); in Swedish, o with diaeresis is a
    // letter of its own sorted after z.
    EXPECT_EQ(CompareStringW(0x0411, kCase, u"\u3042", -1, u"\u3044", -1), CSTR_LESS_THAN);
    EXPECT_EQ(CompareStringW(0x0409, 0, u"\u00F6", -1, u"z", -1), CSTR_LESS_THAN);
    EXPECT_EQ(CompareStringW(0x041D, 0, u"\u00F6", -1, u"z", -1), CSTR_GREATER_THAN);
}

TEST(CompareStringW, BadArgumentsAnswerZero) {
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, nullptr, -1, u"a", -1), 0);
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, u"a", -1, nullptr, -1), 0);
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, u"a", -2, u"a", -1), 0);
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, u"a", -1, u"a", -7), 0);
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0x8, u"a", -1, u"a", -1), 0);
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0x80000000u, u"a", -1, u"a", -1), 0);
    EXPECT_EQ(CompareStringW(0xFFFF, 0, u"a", -1, u"a", -1), 0);
    // Unpaired surrogates compare without harm.
    const char16_t lone[] = {0xD800, u'a', 0};
    const char16_t trail[] = {u'a', 0xDC00, 0};
    EXPECT_NE(CompareStringW(LOCALE_USER_DEFAULT, kCase | kWidth | kKana, lone, -1, trail, -1), 0);
}

TEST(CompareStringW, ExhaustedMemoryAnswersZero) {
    // The first comparison in a new locale opens and caches a collator; folding
    // kana type and width makes working copies (too long for in-place storage).
    int folded = -1;
    int uncached = -1;
    {
        tq3::test::FailingAllocations failing;
        folded = CompareStringW(LOCALE_USER_DEFAULT, kKana | kWidth, u"\u30A2\u30A2\u30A2\u30A2\u30A2\u30A2\u30A2\u30A2", -1,
                               u"\u3042\u3042\u3042\u3042\u3042\u3042\u3042\u3042", -1);
        uncached = CompareStringW(0x0407, kCase | kSymbols, u"a", -1, u"A", -1);
    }
    EXPECT_EQ(folded, 0);
    EXPECT_EQ(uncached, 0);
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, kKana | kWidth, u"\u30A2\u30A2\u30A2\u30A2\u30A2\u30A2\u30A2\u30A2", -1,
                               u"\u3042\u3042\u3042\u3042\u3042\u3042\u3042\u3042", -1), CSTR_EQUAL);
    EXPECT_EQ(CompareStringW(0x0407, kCase | kSymbols, u"a", -1, u"A", -1), CSTR_EQUAL);
}

}  // namespace
}  // namespace tq3::test
