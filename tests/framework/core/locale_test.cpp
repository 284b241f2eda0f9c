#include "framework/core/locale.h"

#include <gtest/gtest.h>

#include <string>

namespace tq3::test {
namespace {

// Simple case mapping, in place: every character keeps its length, so the dotted
// capital I lowers to a plain i, the sharp s stays as it is (it would be "SS"
// under full mapping) and a surrogate pair passes untouched.
TEST(CaseMapping, ConvertsInPlaceOneToOne) {
    const struct {
        std::u16string text;
        bool upper;
        std::u16string expected;
    } cases[] = {
        {u"Ab\u00C4\u0130\u03A3z", false, u"ab\u00E4i\u03C3z"},
        {u"ab\u00E4i\u03C3z", true, u"AB\u00C4I\u03A3Z"},
        {u"\u00DF\U0001D400x", true, u"\u00DF\U0001D400X"},
    };
    for (const auto& c : cases) {
        std::u16string text = c.text;
        c.upper ? CharUpperW(text.data()) : CharLowerW(text.data());
        EXPECT_EQ(text, c.expected);
    }
    // A character passed as the pointer's value comes back as its value.
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(CharUpperW(MAKEINTRESOURCEW(u'b'))), static_cast<ULONG_PTR>(u'B'));
}

}  // namespace
}  // namespace tq3::test
