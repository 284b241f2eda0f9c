// Bad and extreme input: huge strings, unpaired surrogates, control characters, null
// and out-of-range arguments, absurd font sizes, empty and inverted rectangles. Each
// gives a failure result or a sane drawing, never a crash.
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
    std::vector<int> ends;
    ASSERT_TRUE(GetCharPositions(font, huge.data(), static_cast<int>(huge.size()), &ends));
    EXPECT_EQ(ends.back(), Width(font, huge));

    Surface s(1920, 40, kWhite);
    RECT rect{0, 0, 1920, 20};
    EXPECT_GT(DrawTextRun(font, TextTarget{&s, nullptr}, huge.data(), static_cast<int>(huge.size()), &rect,
                          DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP | DT_END_ELLIPSIS, kBlackOnWhite),
              0);
    EXPECT_GT(InkOf(s).count, 1000);
    // Without the ellipsis the text runs off the surface; with word breaks it wraps
    // into many lines that mostly fall below it.
    RECT below{0, 20, 1920, 40};
    EXPECT_GT(DrawTextRun(font, TextTarget{&s, nullptr}, huge.data(), -1, &below, DT_SINGLELINE, kBlackOnWhite), 0);
    RECT wrapped{0, 0, 300, 40};
    EXPECT_GT(DrawTextRun(font, TextTarget{&s, nullptr}, huge.data(), static_cast<int>(huge.size()), &wrapped,
                          DT_WORDBREAK, kBlackOnWhite),
              40);
}

TEST(TextRobustness, UnpairedSurrogatesAndControlCharacters) {
    FontRef font = RealizeFont(MakeFont(u"MS Shell Dlg", -12));
    ASSERT_TRUE(font);
    const std::u16string cases[] = {
        u"abc\xD800", u"a\xDC00\xD800z", u"\x0301\x0301", u"\t\r\n\x01", u"e\x0301\xD800", u"\xFFFF\xFFFE",
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
    FontRef none;
    Surface s(50, 20, kWhite);
    RECT rect{0, 0, 50, 20};
    TEXTMETRICW tm{};
    std::vector<int> ends{1, 2, 3};
    EXPECT_FALSE(GetTextMetrics(none, &tm));
    EXPECT_FALSE(GetTextMetrics(font, nullptr));
    EXPECT_EQ(GetTextExtent(none, u"a", 1).cx, 0);
    EXPECT_EQ(GetTextExtent(font, nullptr, 4).cx, 0);
    EXPECT_FALSE(GetCharPositions(none, u"a", 1, &ends));
    EXPECT_FALSE(GetCharPositions(font, u"a", 1, nullptr));
    EXPECT_EQ(FontFilePath(none), "");
    EXPECT_EQ(FaceFileForChar(none, U'a'), "");
    EXPECT_EQ(DrawRun(none, TextTarget{&s, nullptr}, 0, 0, u"a", 1, kBlackOnWhite), TextStatus::kInvalidArgument);
    EXPECT_EQ(DrawRun(font, TextTarget{nullptr, nullptr}, 0, 0, u"a", 1, kBlackOnWhite),
              TextStatus::kInvalidArgument);
    EXPECT_EQ(DrawRun(font, TextTarget{&s, nullptr}, 0, 0, nullptr, 3, kBlackOnWhite), TextStatus::kInvalidArgument);
    EXPECT_EQ(DrawTextRun(none, TextTarget{&s, nullptr}, u"a", 1, &rect, 0, kBlackOnWhite), 0);
    EXPECT_EQ(DrawTextRun(font, TextTarget{&s, nullptr}, u"a", 1, nullptr, 0, kBlackOnWhite), 0);
    EXPECT_EQ(DrawTextRun(font, TextTarget{&s, nullptr}, nullptr, 5, &rect, 0, kBlackOnWhite), 0);
    EXPECT_EQ(DrawTextRun(font, TextTarget{nullptr, nullptr}, u"a", 1, &rect, DT_SINGLELINE, kBlackOnWhite), 0);
    EXPECT_EQ(InkOf(s).count, 0);
    // An empty surface takes nothing and breaks nothing.
    Surface empty;
    EXPECT_EQ(DrawRun(font, TextTarget{&empty, nullptr}, 0, 0, u"abc", 3, kBlackOnWhite), TextStatus::kOk);
    // Empty and inverted rectangles: clipped to nothing, or (DT_NOCLIP) drawn at their
    // corner; the ellipsis of an inverted rectangle stays inside it, i.e. invisible.
    for (RECT r : {RECT{10, 10, 10, 10}, RECT{30, 15, 5, 2}}) {
        Surface t(50, 20, kWhite);
        RECT copy = r;
        DrawTextRun(font, TextTarget{&t, nullptr}, u"abcdef", 6, &copy, DT_SINGLELINE, kBlackOnWhite);
        copy = r;
        DrawTextRun(font, TextTarget{&t, nullptr}, u"abcdef", 6, &copy, DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS,
                    kBlackOnWhite);
        EXPECT_EQ(InkOf(t).count, 0);
    }
}

TEST(TextRobustness, AbsurdLogicalFontsStillRealise) {
    struct Case {
        LONG height;
        LONG weight;
        BYTE quality;
    };
    const Case cases[] = {
        {INT_MIN, FW_NORMAL, 0}, {INT_MAX, FW_NORMAL, 0}, {-1, 100000, 0}, {-12, -5, 255},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        LOGFONTW lf = MakeFont(u"MS UI Gothic", c.height, c.weight);
        lf.lfQuality = c.quality;
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
    // Non-antialiased quality draws only full-coverage pixels.
    lf = MakeFont(u"MS Shell Dlg", -12);
    lf.lfQuality = 3;
    Surface s(60, 20, kWhite);
    DrawAt(RealizeFont(lf), s, 2, 2, u"Mono");
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 60; ++x) EXPECT_TRUE(s.At(x, y) == kWhite || s.At(x, y) == 0u);
    }
}

TEST(TextRobustness, CachesRebuildAfterClearing) {
    FontRef font = RealizeFont(MakeFont(u"MS Shell Dlg", -12));
    ASSERT_TRUE(font);
    Surface before(80, 20, kWhite), after(80, 20, kWhite);
    DrawAt(font, before, 2, 2, u"cache\x65E5");
    const int width = Width(font, u"cache\x65E5");
    ClearFontCaches();
    DrawAt(font, after, 2, 2, u"cache\x65E5");
    EXPECT_TRUE(SamePixels(before, after));
    EXPECT_EQ(Width(font, u"cache\x65E5"), width);
    EXPECT_EQ(EngineStatus(), TextStatus::kOk);
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
