// Metrics and measuring: pixel heights from point sizes, extents that add up, advance
// positions for carets and cutting, NFC and surrogate pairs.
#include <gtest/gtest.h>

#include "tests/framework/text/text_test_support.h"

namespace tq3::test {
namespace {

// A 9-point font (90 tenths) at 96 DPI asks for a 12-pixel character height; the cell
// adds the face's internal leading.
TEST(FontMetrics, NinePointFontHasThePlatformPixelHeight) {
    for (const char16_t* face : {u"MS Shell Dlg", u"MS UI Gothic", u"SimSun"}) {
        FontRef font = RealizeFont(MakeFont(face, -12));
        ASSERT_TRUE(font);
        TEXTMETRICW tm{};
        ASSERT_TRUE(GetTextMetrics(font, &tm));
        SCOPED_TRACE(FontFilePath(font));
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 12);
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        EXPECT_EQ(tm.tmAveCharWidth, Width(font, u"x"));
    }
}

// Advance widths only: no kerning ("AV", "To"), no ligatures ("fi"), so a run is the
// sum of its parts and the positions grow by each character's own advance.
TEST(FontMetrics, ExtentsAddUpAndPositionsFollowThem) {
    const std::u16string samples[] = {u"AV", u"fi", u"mixed \x65E5\x672C text"};
    for (const char16_t* face : {u"MS Shell Dlg", u"MS UI Gothic"}) {
        FontRef font = RealizeFont(MakeFont(face, -12));
        ASSERT_TRUE(font);
        for (const std::u16string& s : samples) {
            std::vector<int> ends;
            ASSERT_TRUE(GetCharPositions(font, s.data(), static_cast<int>(s.size()), &ends));
            ASSERT_EQ(ends.size(), s.size());
            for (std::size_t i = 0; i < s.size(); ++i) {
                EXPECT_EQ(ends[i], (i ? ends[i - 1] : 0) + Width(font, s.substr(i, 1)));
            }
            EXPECT_EQ(ends.back(), Width(font, s));
        }
        EXPECT_EQ(GetTextExtent(font, u"abc", -1).cx, Width(font, u"abc"));  // up to the zero
    }
}

// A base letter with a combining mark measures and draws as its precomposed letter;
// the units inside a character carry the position before it.
TEST(FontMetrics, NormalisedTextAndSurrogatePairs) {
    FontRef font = RealizeFont(MakeFont(u"MS UI Gothic", -16));
    ASSERT_TRUE(font);
    const std::u16string decomposed = u"e\x0301t";
    const std::u16string composed = u"\x00E9t";
    EXPECT_EQ(Width(font, decomposed), Width(font, composed));
    std::vector<int> ends;
    ASSERT_TRUE(GetCharPositions(font, decomposed.data(), 3, &ends));
    EXPECT_EQ(ends, (std::vector<int>{0, Width(font, u"\x00E9"), Width(font, composed)}));
    Surface a(60, 30, kWhite), b(60, 30, kWhite);
    DrawAt(font, a, 2, 2, decomposed);
    DrawAt(font, b, 2, 2, composed);
    EXPECT_TRUE(SamePixels(a, b));

    // U+20B9F, a JIS X 0213 ideograph outside the basic plane.
    const std::u16string pair = u"a\xD842\xDF9F" u"b";
    ASSERT_TRUE(GetCharPositions(font, pair.data(), 4, &ends));
    EXPECT_EQ(ends[1], ends[0]);
    EXPECT_GT(ends[2], ends[1]);
    EXPECT_EQ(ends[3], Width(font, pair));
    EXPECT_EQ(BaseName(FaceFileForChar(font, 0x20B9F)), "ipagp.ttf");
    Surface drawn(60, 30, kWhite);
    DrawAt(font, drawn, 0, 2, pair.substr(1, 2));
    EXPECT_GT(InkOf(drawn).count, 30) << "one ideograph, within its one advance";
    EXPECT_LE(InkOf(drawn).box.right, ends[2] - ends[0] + 1);
}

}  // namespace
}  // namespace tq3::test
