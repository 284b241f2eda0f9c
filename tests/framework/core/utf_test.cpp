#include "framework/core/utf.h"

#include <gtest/gtest.h>

#include <string>

namespace tq3::test {
namespace {

TEST(Utf, ValidTextRoundTrips) {
    const std::u16string samples[] = {
        u"", u"plain ASCII", u"caf\u00E9 \u20AC", u"\u65E5\u672C\u8A9E\u3068\uD55C\uAD6D\uC5B4",
        u"\U0001F600 and \U00020B9F", std::u16string(u"zero\0inside", 11), u"\uFFFF\uFFFE\U0010FFFF",
    };
    for (const auto& s : samples) {
        const std::string utf8 = tq3::fw::ToUtf8(s);
        EXPECT_EQ(tq3::fw::Utf8ToU16(utf8), s);
        const CString c = tq3::fw::FromUtf8(utf8);
        EXPECT_EQ(std::u16string(c.GetString(), c.GetLength()), s);
        EXPECT_EQ(tq3::fw::ToUtf8(c), utf8);
    }
    EXPECT_EQ(tq3::fw::ToUtf8(u"\u00E9\U0001F600"), "\xC3\xA9\xF0\x9F\x98\x80");
}

TEST(Utf, IllFormedUtf8BecomesReplacementCharacters) {
    struct Case {
        const char* what;
        std::string utf8;
        std::u16string expected;
    } cases[] = {
        {"stray continuation", "a\x80z", u"a\uFFFDz"},
        {"truncated at the end", "a\xC3", u"a\uFFFD"},
        {"truncated three-byte", "\xE2\x82z", u"\uFFFDz"},
        {"truncated four-byte", "\xF0\x9F\x98" "A", u"\uFFFD" "A"},
        {"overlong two-byte", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"overlong three-byte", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"invalid lead bytes", "\xF5\xFF\xFE", u"\uFFFD\uFFFD\uFFFD"},
        {"valid text after a bad byte", "\xFF\xE6\x97\xA5", u"\uFFFD\u65E5"},
        {"lead interrupted by a new lead", "\xE6\xE6\x97\xA5", u"\uFFFD\u65E5"},
    };
    for (const auto& c : cases) EXPECT_EQ(tq3::fw::Utf8ToU16(c.utf8), c.expected) << c.what;
    EXPECT_TRUE(tq3::fw::FromUtf8(static_cast<const char*>(nullptr)).IsEmpty());
}

TEST(Utf, UnpairedSurrogatesBecomeReplacementCharacters) {
    struct Case {
        std::u16string utf16;
        std::string expected;
    } cases[] = {
        {u"\xD800x", "\xEF\xBF\xBDx"},
        {u"x\xDC00", "x\xEF\xBF\xBD"},
        {u"\xDC00\xD800", "\xEF\xBF\xBD\xEF\xBF\xBD"},  // reversed pair
        {u"\xD800\xD800\xDC00", "\xEF\xBF\xBD\xF0\x90\x80\x80"},
    };
    for (const auto& c : cases) EXPECT_EQ(tq3::fw::ToUtf8(c.utf16), c.expected);
    EXPECT_EQ(tq3::fw::ToUtf8(static_cast<LPCWSTR>(nullptr)), "");
    EXPECT_EQ(tq3::fw::ToUtf8(u"abc", 2), "ab");
}

}  // namespace
}  // namespace tq3::test
