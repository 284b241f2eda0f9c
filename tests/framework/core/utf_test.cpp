#include "framework/core/utf.h"

#include <gtest/gtest.h>

#include <string>

namespace tq3::test {
namespace {

TEST(Utf, IllFormedUtf8BecomesReplacementCharacters) {
    struct Case {
        const char* what;
        std::string utf8;
        std::u16string expected;
    } cases[] = {
        {"truncated at the end", "a\xC3", u"a\uFFFD"},
        {"truncated four-byte", "\xF0\x9F\x98" "A", u"\uFFFD" "A"},
        {"overlong two-byte", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
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
        {u"\xDC00\xD800", "\xEF\xBF\xBD\xEF\xBF\xBD"},  // reversed pair
        {u"\xD800\xD800\xDC00", "\xEF\xBF\xBD\xF0\x90\x80\x80"},
    };
    for (const auto& c : cases) EXPECT_EQ(tq3::fw::ToUtf8(c.utf16), c.expected);
}

}  // namespace
}  // namespace tq3::test
