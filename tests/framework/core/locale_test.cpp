#include "framework/core/locale.h"

#include <gtest/gtest.h>

#include <string>

namespace tq3::test {
namespace {

TEST(CaseMapping, ConvertsInPlaceKeepingLength) {
    std::u16string text = u"Ab\u00C4\u0130\u03A3z";
    CharLowerW(text.data());
    // U+0130 (dotted capital I) lower-cases to one code unit under simple mapping.
    EXPECT_EQ(text, u"ab\u00E4i\u03C3z");
    CharUpperW(text.data());
    EXPECT_EQ(text, u"AB\u00C4I\u03A3Z");
}

TEST(CaseMapping, SingleCharacterFormReturnsTheCharacter) {
    LPWSTR upper = CharUpperW(MAKEINTRESOURCEW(u'b'));
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(upper), static_cast<ULONG_PTR>(u'B'));
}

TEST(CaseMapping, SharpSAndSurrogatesStayOneToOne) {
    // German sharp s upper-cases to "SS" under full mapping; simple mapping keeps it.
    std::u16string text = u"\u00DF\U0001D400x";
    CharUpperW(text.data());
    EXPECT_EQ(text.size(), 4u);
    EXPECT_EQ(text[0], u'\u00DF');
    EXPECT_EQ(text.substr(1, 2), std::u16string(u"\U0001D400"));
    EXPECT_EQ(text[3], u'X');
}

}  // namespace
}  // namespace tq3::test
