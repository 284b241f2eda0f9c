// DrawText layout checked against runs placed by hand from measured extents: the
// alignments, the end ellipsis, prefixes, tabs, word breaks, the returned height, the
// computed rectangle, clipping and blending.
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
        {DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, 150 - w, 35 - h, 30},
        {DT_SINGLELINE | DT_VCENTER | DT_CENTER, 10 + (140 - w) / 2, 5 + (30 - h) / 2, (30 - h) / 2 + h},
        // Vertical placement is for single lines only.
        {DT_VCENTER | DT_RIGHT, 150 - w, 5, h},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        Surface drawn(160, 40, kWhite), expected(160, 40, kWhite);
        EXPECT_EQ(Draw(drawn, text, rect, c.format), c.returned);
        DrawAt(font_, expected, c.x, c.y, text);
        EXPECT_TRUE(SamePixels(drawn, expected));
    }
}

// A text too wide is cut so that it plus "..." fits inside the rectangle, even with
// the cell flags' DT_NOCLIP.
TEST_F(DrawTextTest, EndEllipsisStaysInsideAndEndsTheText) {
    const std::u16string text = u"A rather long cell text that cannot fit";
    const int ellipsis = Width(font_, u"...");
    for (int width : {40, 90}) {
        SCOPED_TRACE(width);
        const RECT rect{20, 2, 20 + width, 22};
        Surface drawn(240, 24, kWhite);
        Draw(drawn, text, rect, kCellFlags);
        // The longest prefix that leaves room for the ellipsis, found from positions.
        std::vector<int> ends;
        ASSERT_TRUE(GetCharPositions(font_, text.data(), static_cast<int>(text.size()), &ends));
        std::size_t keep = 0;
        while (keep < text.size() && ends[keep] + ellipsis <= width) ++keep;
        Surface expected(240, 24, kWhite);
        DrawAt(font_, expected, 20, 2 + (20 - tm_.tmHeight) / 2, text.substr(0, keep) + u"...");
        ASSERT_GT(keep, 0u);
        EXPECT_TRUE(SamePixels(drawn, expected));
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
    const Case cases[] = {
        {u"r123c4", DT_SINGLELINE, Width(font_, u"r123c4"), 1},
        {u"a\nbbb\r\ncc", 0, Width(font_, u"bbb"), 3},
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
        {u"Open &File", 0, u"Open File", 4 + openWidth, 4 + openWidth + fWidth},
        {u"Save && Exit", 0, u"Save & Exit", -1, 0},
        {u"&File", DT_HIDEPREFIX, u"File", -1, 0},
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
}

TEST_F(DrawTextTest, TheTargetsClipHoldsEvenWithNoClip) {
    const std::u16string text = u"clipped text that runs long";
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

}  // namespace
}  // namespace tq3::test
