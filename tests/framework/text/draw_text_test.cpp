// DrawText layout checked against runs placed by hand from measured extents: the
// alignments, the end ellipsis, prefixes, tabs, word breaks, the returned height, the
// computed rectangle, clipping, and the background and decoration lines.
#include <gtest/gtest.h>

#include "framework/core/geometry.h"
#include "tests/framework/text/text_test_support.h"

namespace tq3::test {
namespace {

constexpr UINT kCellFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP | DT_END_ELLIPSIS;
static_assert(kCellFlags == 0x8924);

class DrawTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        font_ = RealizeFont(MakeFont(u"MS Shell Dlg", -12));
        ASSERT_TRUE(font_);
        ASSERT_TRUE(GetTextMetrics(font_, &tm_));
    }
    int Draw(Surface& s, const std::u16string& text, RECT rect, UINT format, const Region* clip = nullptr) {
        return DrawTextRun(font_, TextTarget{&s, clip}, text.data(), static_cast<int>(text.size()), &rect, format,
                           kBlackOnWhite);
    }
    FontRef font_;
    TEXTMETRICW tm_{};
};

// Each alignment is the run drawn where the measured extent puts it.
TEST_F(DrawTextTest, AlignmentFollowsMeasuredExtents) {
    const std::u16string text = u"r123c4";
    const RECT rect{10, 5, 150, 35};
    const int w = Width(font_, text);
    const int h = tm_.tmHeight;
    struct Case {
        UINT format;
        int x;
        int y;
        int returned;
    };
    const Case cases[] = {
        {DT_SINGLELINE | DT_LEFT | DT_TOP, 10, 5, h},
        {DT_SINGLELINE | DT_VCENTER, 10, 5 + (30 - h) / 2, (30 - h) / 2 + h},
        {DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, 150 - w, 35 - h, 30},
        {DT_SINGLELINE | DT_VCENTER | DT_CENTER, 10 + (140 - w) / 2, 5 + (30 - h) / 2, (30 - h) / 2 + h},
        {kCellFlags | DT_RIGHT, 150 - w, 5 + (30 - h) / 2, (30 - h) / 2 + h},
        // Vertical placement is for single lines only.
        {DT_VCENTER | DT_RIGHT, 150 - w, 5, h},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        Surface drawn(160, 40, kWhite), expected(160, 40, kWhite);
        EXPECT_EQ(Draw(drawn, text, rect, c.format), c.returned);
        DrawAt(font_, expected, c.x, c.y, text);
        EXPECT_TRUE(SamePixels(drawn, expected));
        EXPECT_GT(InkOf(drawn).count, 0);
    }
}

// A text too wide is cut so that it plus "..." fits, and the ellipsis is the last
// thing drawn, inside the rectangle, even with the cell flags' DT_NOCLIP.
TEST_F(DrawTextTest, EndEllipsisStaysInsideAndEndsTheText) {
    const std::u16string text = u"A rather long cell text that cannot fit";
    const int ellipsis = Width(font_, u"...");
    for (int width : {40, 90}) {
        SCOPED_TRACE(width);
        const RECT rect{20, 2, 20 + width, 22};
        Surface drawn(240, 24, kWhite);
        Draw(drawn, text, rect, kCellFlags);
        Ink ink = InkOf(drawn);
        ASSERT_GT(ink.count, 0);
        EXPECT_GE(ink.box.left, rect.left);
        EXPECT_LE(ink.box.right, rect.right);
        // The longest prefix that leaves room for the ellipsis, found from positions.
        std::vector<int> ends;
        ASSERT_TRUE(GetCharPositions(font_, text.data(), static_cast<int>(text.size()), &ends));
        std::size_t keep = 0;
        while (keep < text.size() && ends[keep] + ellipsis <= width) ++keep;
        Surface expected(240, 24, kWhite);
        DrawAt(font_, expected, 20, 2 + (20 - tm_.tmHeight) / 2, text.substr(0, keep) + u"...");
        EXPECT_TRUE(SamePixels(drawn, expected));
        // The rightmost ink is the ellipsis: it lies within the last `ellipsis` pixels
        // of the drawn text.
        ASSERT_GT(keep, 0u);
        EXPECT_GT(ink.box.right, 20 + ends[keep - 1]);
    }
    // Narrower than the ellipsis itself: what shows is clipped to the rectangle.
    Surface tiny(60, 24, kWhite);
    Draw(tiny, text, RECT{20, 2, 20 + ellipsis / 2, 22}, kCellFlags);
    Ink ink = InkOf(tiny);
    if (ink.count > 0) {
        EXPECT_GE(ink.box.left, 20);
        EXPECT_LE(ink.box.right, 20 + ellipsis / 2);
    }
    // A text that fits is drawn whole, without an ellipsis.
    Surface fits(240, 24, kWhite), whole(240, 24, kWhite);
    Draw(fits, u"short", RECT{20, 2, 200, 22}, kCellFlags);
    DrawAt(font_, whole, 20, 2 + (20 - tm_.tmHeight) / 2, u"short");
    EXPECT_TRUE(SamePixels(fits, whole));
}

TEST_F(DrawTextTest, CalcRectMeasuresWithoutDrawing) {
    struct Case {
        std::u16string text;
        UINT format;
        int width;
        int lines;
    };
    const int tab = 8 * tm_.tmAveCharWidth;
    const Case cases[] = {
        {u"r123c4", DT_SINGLELINE, Width(font_, u"r123c4"), 1},
        {u"&File", DT_SINGLELINE, Width(font_, u"File"), 1},
        {u"a\nbbb\r\ncc", 0, Width(font_, u"bbb"), 3},
        {u"a\r\n", 0, Width(font_, u"a"), 1},
        {u"a\tb", DT_SINGLELINE | DT_EXPANDTABS, tab + Width(font_, u"b"), 1},
        {u"", DT_SINGLELINE, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        Surface s(100, 60, kWhite);
        RECT rect{5, 7, 6, 8};
        int height = DrawTextRun(font_, TextTarget{&s, nullptr}, c.text.data(), static_cast<int>(c.text.size()), &rect,
                                 c.format | DT_CALCRECT, kBlackOnWhite);
        EXPECT_EQ(height, c.lines * tm_.tmHeight);
        EXPECT_EQ(CRect(rect), CRect(5, 7, 5 + c.width, 7 + c.lines * tm_.tmHeight));
        EXPECT_EQ(InkOf(s).count, 0);
    }
    // Without a surface at all.
    RECT rect{0, 0, 0, 0};
    EXPECT_EQ(DrawTextRun(font_, TextTarget{nullptr, nullptr}, u"abc", 3, &rect, DT_CALCRECT | DT_SINGLELINE,
                          kBlackOnWhite),
              tm_.tmHeight);
}

// "&x" underlines x with the font's underline; "&&" is one "&".
TEST_F(DrawTextTest, PrefixesUnderlineTheirCharacter) {
    DecorationMetrics d{};
    ASSERT_TRUE(GetDecorationMetrics(font_, &d));
    const RECT rect{4, 4, 196, 24};
    const int fWidth = Width(font_, u"F");
    const int openWidth = Width(font_, u"Open ");
    auto underline = [&](Surface& s, int from, int to) {
        for (int y = 4 + d.underlineTop; y < 4 + d.underlineTop + d.underlineThickness; ++y) {
            for (int x = from; x < to; ++x) s.Set(x, y, 0);
        }
    };
    struct Case {
        std::u16string text;
        UINT format;
        std::u16string shown;
        int underlineFrom;  // -1: no underline
        int underlineTo;
    };
    const Case cases[] = {
        {u"&File", 0, u"File", 4, 4 + fWidth},
        {u"Open &File", 0, u"Open File", 4 + openWidth, 4 + openWidth + fWidth},
        {u"Save && Exit", 0, u"Save & Exit", -1, 0},
        {u"&File", DT_NOPREFIX, u"&File", -1, 0},
        {u"&File", DT_HIDEPREFIX, u"File", -1, 0},
        {u"&File", DT_PREFIXONLY, u"", 4, 4 + fWidth},
        {u"trailing&", 0, u"trailing", -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        Surface drawn(200, 30, kWhite), expected(200, 30, kWhite);
        Draw(drawn, c.text, rect, DT_SINGLELINE | c.format);
        DrawAt(font_, expected, 4, 4, c.shown);
        if (c.underlineFrom >= 0) underline(expected, c.underlineFrom, c.underlineTo);
        EXPECT_TRUE(SamePixels(drawn, expected));
    }
}

TEST_F(DrawTextTest, TabsLinesAndWordBreaks) {
    const int tab = 8 * tm_.tmAveCharWidth, h = tm_.tmHeight;
    const int oneTwo = Width(font_, u"one two");  // breaks fall between words; the space at a break is not drawn
    struct Run {
        int x, y;
        std::u16string text;
    };
    struct Case {
        std::u16string text;
        UINT format;
        int width;
        int height;  // returned
        std::vector<Run> runs;
    };
    const Case cases[] = {
        {u"ab\tc\td", DT_SINGLELINE | DT_EXPANDTABS, 200, h, {{0, 0, u"ab"}, {tab, 0, u"c"}, {2 * tab, 0, u"d"}}},
        // DT_TABSTOP: the second byte is the tab width in average characters.
        {u"a\tb", DT_SINGLELINE | DT_EXPANDTABS | DT_TABSTOP | (3 << 8), 200, h,
         {{0, 0, u"a"}, {3 * tm_.tmAveCharWidth, 0, u"b"}}},
        {u"one\r\ntwo\nthree", DT_RIGHT, 200, 3 * h,
         {{200 - Width(font_, u"one"), 0, u"one"}, {200 - Width(font_, u"two"), h, u"two"},
          {200 - Width(font_, u"three"), 2 * h, u"three"}}},
        {u"one two three", DT_WORDBREAK, oneTwo, 2 * h, {{0, 0, u"one two"}, {0, h, u"three"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        Surface drawn(200, 60, kWhite), expected(200, 60, kWhite);
        EXPECT_EQ(Draw(drawn, c.text, RECT{0, 0, c.width, 60}, c.format), c.height);
        for (const Run& r : c.runs) DrawAt(font_, expected, r.x, r.y, r.text);
        EXPECT_TRUE(SamePixels(drawn, expected));
    }
    RECT calc{0, 0, oneTwo, 0};
    EXPECT_EQ(DrawTextRun(font_, TextTarget{nullptr, nullptr}, u"one two three", -1, &calc, DT_WORDBREAK | DT_CALCRECT,
                          kBlackOnWhite),
              2 * h);
    EXPECT_EQ(calc.right, oneTwo);
}

TEST_F(DrawTextTest, ClippingHonoursRectangleAndTarget) {
    const std::u16string text = u"clipped text that runs long";
    const RECT rect{10, 4, 60, 24};
    {
        Surface clipped(200, 30, kWhite), unclipped(200, 30, kWhite);
        Draw(clipped, text, rect, DT_SINGLELINE);
        Draw(unclipped, text, rect, DT_SINGLELINE | DT_NOCLIP);
        Ink in = InkOf(clipped);
        Ink out = InkOf(unclipped);
        EXPECT_GE(in.box.left, rect.left);
        EXPECT_LE(in.box.right, rect.right);
        EXPECT_GT(out.box.right, rect.right + 20);
        // Inside the rectangle both are the same.
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) EXPECT_EQ(clipped.At(x, y), unclipped.At(x, y));
        }
    }
    {
        // The target's clip region holds even with DT_NOCLIP: two bands with a gap.
        Region clip = Region::FromRects({RECT{0, 0, 40, 30}, RECT{80, 0, 200, 30}});
        Surface drawn(200, 30, kWhite), full(200, 30, kWhite);
        Draw(drawn, text, RECT{0, 4, 200, 24}, DT_SINGLELINE | DT_NOCLIP, &clip);
        Draw(full, text, RECT{0, 4, 200, 24}, DT_SINGLELINE | DT_NOCLIP);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 200; ++x) {
                EXPECT_EQ(drawn.At(x, y), clip.Contains(x, y) ? full.At(x, y) : kWhite) << x << "," << y;
            }
        }
    }
    {
        // Text partly or wholly off the surface draws what lies on it and no more.
        Surface s(50, 20, kWhite);
        Draw(s, text, RECT{-30, -8, 300, 12}, DT_SINGLELINE);
        Draw(s, text, RECT{-3000, 50, -10, 90}, DT_SINGLELINE | DT_NOCLIP);
        EXPECT_GT(InkOf(s).count, 0);
    }
}

// Glyphs narrower than four pixels are blended four pixels at a time where the
// surface leaves room and pixel by pixel where a clip or the surface's edge cuts
// into them: either way each pixel that may be drawn on gets the value of a
// drawing without the cut, and no other pixel changes.
TEST_F(DrawTextTest, NarrowGlyphsBlendOnlyThePixelsTheyMay) {
    const std::u16string text = u"il.i,l;i:l'|";
    const int width = Width(font_, text) + 4;
    Surface full(width + 8, 20, kWhite);
    DrawAt(font_, full, 2, 2, text);
    ASSERT_GT(InkOf(full).count, 20);
    for (int cut = 2; cut < width; ++cut) {
        const Region gap = Region::FromRects({RECT{0, 0, cut, 20}, RECT{cut + 1, 0, width + 8, 20}});
        Surface clipped(width + 8, 20, kWhite);
        DrawAt(font_, clipped, 2, 2, text, &gap);
        Surface edge(cut, 20, kWhite);
        DrawAt(font_, edge, 2, 2, text);
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < width + 8; ++x) {
                ASSERT_EQ(clipped.At(x, y), x == cut ? kWhite : full.At(x, y)) << "gap at " << cut << ": " << x;
                if (x < cut) {
                    ASSERT_EQ(edge.At(x, y), full.At(x, y)) << "edge at " << cut << ": " << x;
                }
            }
        }
    }
}

TEST_F(DrawTextTest, BackgroundAndFontDecorations) {
    const std::u16string text = u"Decorated";
    const int w = Width(font_, text);
    {
        Surface s(120, 30, kWhite);
        const TextColors colors{RGB(0, 0, 255), RGB(255, 255, 0), true};
        DrawRun(font_, TextTarget{&s, nullptr}, 5, 5, text.data(), static_cast<int>(text.size()), colors);
        // The cell box is filled, and nothing around it.
        const Ink ink = InkOf(s);
        EXPECT_EQ(CRect(ink.box), CRect(5, 5, 5 + w, 5 + tm_.tmHeight));
        EXPECT_EQ(s.At(5, 5), 0xFFFF00u);
        EXPECT_GT(120 * 30 - InkOf(s, 0x0000FF).count, 0) << "the text colour went on";
    }
    for (int which = 0; which < 2; ++which) {
        LOGFONTW lf = MakeFont(u"MS Shell Dlg", -12);
        (which == 0 ? lf.lfUnderline : lf.lfStrikeOut) = 1;
        FontRef decorated = RealizeFont(lf);
        DecorationMetrics d{};
        ASSERT_TRUE(GetDecorationMetrics(decorated, &d));
        Surface s(120, 30, kWhite), plain(120, 30, kWhite);
        DrawAt(decorated, s, 5, 5, text);
        DrawAt(font_, plain, 5, 5, text);
        const int row = 5 + (which == 0 ? d.underlineTop : d.strikeOutTop);
        for (int x = 5; x < 5 + w; ++x) EXPECT_EQ(s.At(x, row), 0u) << x;
        EXPECT_EQ(s.At(4, row), kWhite);
        EXPECT_EQ(s.At(5 + w, row), kWhite);
        // The plain font has no such solid line: the decoration made it.
        int solid = 0;
        for (int x = 5; x < 5 + w; ++x) solid += plain.At(x, row) == 0 ? 1 : 0;
        EXPECT_LT(solid, w);
    }
}

// Blending is exact: a pixel covered by a is 255 - a in black on white and a in white
// on black, so the two add up to 255 in every channel; a colour on a colour lands
// between the two in each channel. Wide glyphs go through the four-pixel path and
// their edges through the single-pixel one.
TEST_F(DrawTextTest, BlendingIsExactInEveryChannel) {
    FontRef big = RealizeFont(MakeFont(u"MS UI Gothic", -40));
    ASSERT_TRUE(big);
    const std::u16string text = u"Wg\x65E5\x00E9";
    Surface dark(160, 50, 0x000000), light(160, 50, kWhite), mixed(160, 50, 0x0A141E);
    DrawRun(big, TextTarget{&light, nullptr}, 3, 3, text.data(), 4, kBlackOnWhite);
    DrawRun(big, TextTarget{&dark, nullptr}, 3, 3, text.data(), 4, TextColors{RGB(255, 255, 255), 0, false});
    DrawRun(big, TextTarget{&mixed, nullptr}, 3, 3, text.data(), 4, TextColors{RGB(200, 100, 50), 0, false});
    int partial = 0;
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 160; ++x) {
            const Pixel l = light.At(x, y), d = dark.At(x, y), m = mixed.At(x, y);
            ASSERT_EQ(l + d, 0xFFFFFFu) << x << "," << y;
            const int a = static_cast<int>(d & 0xFF);
            partial += (a != 0 && a != 255) ? 1 : 0;
            // 0x0A141E is red 10, green 20, blue 30; the text is red 200, green 100, blue 50.
            const int expected[3] = {(200 * a + 10 * (255 - a) + 127) / 255, (100 * a + 20 * (255 - a) + 127) / 255,
                                     (50 * a + 30 * (255 - a) + 127) / 255};
            EXPECT_EQ(static_cast<int>((m >> 16) & 0xFF), expected[0]);
            EXPECT_EQ(static_cast<int>((m >> 8) & 0xFF), expected[1]);
            EXPECT_EQ(static_cast<int>(m & 0xFF), expected[2]);
        }
    }
    EXPECT_GT(partial, 50);  // antialiased edges were there to check
}

}  // namespace
}  // namespace tq3::test
