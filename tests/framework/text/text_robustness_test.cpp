// Bad and extreme input: huge strings, unpaired surrogates, NUL and control characters,
// null arguments, absurd font sizes, random layouts in empty and inverted rectangles.
// Each gives a failure result or a sane drawing, never a crash.
#include <gtest/gtest.h>

#include <climits>

#include "tests/framework/text/text_test_support.h"

namespace tq3::test {
namespace {

TEST(TextRobustness, HugeStringMeasuresAndDraws) {
    FontRef font = RealizeFont(MakeFont(u"MS UI Gothic", -12));
    ASSERT_TRUE(font);
    const std::u16string unit = u"r123c4\x65E5\x672C";
    std::u16string huge;
    while (huge.size() < 100000) huge += unit;
    const int repeats = static_cast<int>(huge.size() / unit.size());
    EXPECT_EQ(Width(font, huge), repeats * Width(font, unit));
    Surface s(1920, 40, kWhite);
    RECT rect{0, 0, 1920, 20};
    EXPECT_GT(DrawTextRun(font, TextTarget{&s, nullptr}, huge.data(), static_cast<int>(huge.size()), &rect,
                          DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP | DT_END_ELLIPSIS, kBlackOnWhite),
              0);
    EXPECT_GT(InkOf(s).count, 1000);
}

TEST(TextRobustness, UnpairedSurrogatesAndControlCharacters) {
    FontRef font = RealizeFont(MakeFont(u"MS Shell Dlg", -12));
    ASSERT_TRUE(font);
    const std::u16string cases[] = {
        u"abc\xD800", u"a\xDC00\xD800z", u"\x0301\x0301", std::u16string(u"\t\0\r\n\x01", 5), u"e\x0301\xD800",
    };
    for (const std::u16string& text : cases) {
        const int n = static_cast<int>(text.size());
        SIZE size = GetTextExtent(font, text.data(), n);
        EXPECT_GE(size.cx, 0);
        std::vector<int> ends;
        ASSERT_TRUE(GetCharPositions(font, text.data(), n, &ends));
        ASSERT_EQ(static_cast<int>(ends.size()), n);
        EXPECT_EQ(ends.back(), size.cx);
        for (int i = 1; i < n; ++i) EXPECT_GE(ends[i], ends[i - 1]);
        Surface s(100, 20, kWhite);
        DrawAt(font, s, 2, 2, text);
        RECT rect{0, 0, 100, 20};
        DrawTextRun(font, TextTarget{&s, nullptr}, text.data(), n, &rect, DT_END_ELLIPSIS | DT_WORDBREAK,
                    kBlackOnWhite);
    }
    // A lone surrogate stands for a missing character: it draws the missing-glyph box.
    Surface s(40, 20, kWhite);
    DrawAt(font, s, 2, 2, u"\xD800");
    EXPECT_GT(InkOf(s).count, 0);
}

TEST(TextRobustness, BadArgumentsGiveFailureResults) {
    FontRef font = RealizeFont(MakeFont(u"MS Shell Dlg", -12));
    ASSERT_TRUE(font);
    Surface s(50, 20, kWhite);
    EXPECT_EQ(GetTextExtent(font, nullptr, 4).cx, 0);
    EXPECT_EQ(DrawRun(font, TextTarget{nullptr, nullptr}, 0, 0, u"a", 1, kBlackOnWhite),
              TextStatus::kInvalidArgument);
    EXPECT_EQ(DrawRun(font, TextTarget{&s, nullptr}, 0, 0, nullptr, 3, kBlackOnWhite), TextStatus::kInvalidArgument);
    EXPECT_EQ(DrawTextRun(font, TextTarget{&s, nullptr}, u"a", 1, nullptr, 0, kBlackOnWhite), 0);
    EXPECT_EQ(InkOf(s).count, 0);
    // An empty surface takes nothing and breaks nothing.
    Surface empty;
    EXPECT_EQ(DrawRun(font, TextTarget{&empty, nullptr}, 0, 0, u"abc", 3, kBlackOnWhite), TextStatus::kOk);
}

TEST(TextRobustness, AbsurdLogicalFontsStillRealise) {
    for (LONG height : {INT_MIN, INT_MAX}) {
        SCOPED_TRACE(height);
        LOGFONTW lf = MakeFont(u"MS UI Gothic", height, -5);
        lf.lfQuality = 255;
        lf.lfCharSet = 77;
        FontRef font = RealizeFont(lf);
        ASSERT_TRUE(font);
        TEXTMETRICW tm{};
        ASSERT_TRUE(GetTextMetrics(font, &tm));
        EXPECT_GT(tm.tmHeight, 0);
        EXPECT_LE(tm.tmHeight, 4096);
        Surface s(64, 64, kWhite);
        DrawAt(font, s, 0, 0, u"Wg\x65E5");
    }
    // A face name with no terminating zero is read to its full length.
    LOGFONTW lf = MakeFont(u"", -12);
    for (WCHAR& c : lf.lfFaceName) c = u'Q';
    EXPECT_TRUE(RealizeFont(lf));
}

}  // namespace
}  // namespace tq3::test

namespace tq3::test {
namespace {

// Random texts, flags and rectangles: DrawText without DT_NOCLIP never leaves ink
// outside its rectangle, DT_CALCRECT never leaves any, and nothing crashes.
TEST(TextRobustness, RandomLayoutsStayInsideTheirRectangle) {
    FontRef fonts[] = {RealizeFont(MakeFont(u"MS Shell Dlg", -12)), RealizeFont(MakeFont(u"MS UI Gothic", -16, FW_BOLD, 1))};
    ASSERT_TRUE(fonts[0] && fonts[1]);
    const char16_t pieces[] = {u'a', u'W', u' ', u'&', u'\t', u'\r', u'\n', u'.', 0x65E5, 0x3042, 0xD55C,
                               0x0301, 0xD842, 0xDF9F, 0xD800, u'1', u'g'};
    const UINT flags[] = {DT_CENTER,   DT_RIGHT,      DT_VCENTER,    DT_BOTTOM,     DT_WORDBREAK,
                          DT_SINGLELINE, DT_EXPANDTABS, DT_NOPREFIX, DT_END_ELLIPSIS, DT_HIDEPREFIX,
                          DT_PREFIXONLY, DT_EXTERNALLEADING};
    unsigned seed = 12345;
    auto next = [&seed](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % n;
    };
    for (int round = 0; round < 400; ++round) {
        std::u16string text;
        const unsigned length = next(40);
        for (unsigned i = 0; i < length; ++i) text += pieces[next(sizeof(pieces) / sizeof(pieces[0]))];
        UINT format = 0;
        for (UINT f : flags) format |= next(3) == 0 ? f : 0;
        const int left = static_cast<int>(next(80)) - 10;
        const int top = static_cast<int>(next(40)) - 10;
        RECT rect{left, top, left + static_cast<int>(next(120)) - 10, top + static_cast<int>(next(50)) - 5};
        const FontRef& font = fonts[next(2)];
        SCOPED_TRACE(round);
        Surface s(160, 80, kWhite);
        RECT copy = rect;
        DrawTextRun(font, TextTarget{&s, nullptr}, text.data(), static_cast<int>(text.size()), &copy, format,
                    kBlackOnWhite);
        Ink ink = InkOf(s);
        if (ink.count > 0) {
            EXPECT_GE(ink.box.left, rect.left);
            EXPECT_GE(ink.box.top, rect.top);
            EXPECT_LE(ink.box.right, rect.right);
            EXPECT_LE(ink.box.bottom, rect.bottom);
        }
        Surface calc(160, 80, kWhite);
        copy = rect;
        DrawTextRun(font, TextTarget{&calc, nullptr}, text.data(), static_cast<int>(text.size()), &copy,
                    format | DT_CALCRECT, kBlackOnWhite);
        EXPECT_EQ(InkOf(calc).count, 0);
        EXPECT_GE(copy.right, copy.left);
        EXPECT_GE(copy.bottom, copy.top);
    }
}

}  // namespace
}  // namespace tq3::test
