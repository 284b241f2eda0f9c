#include "framework/gdi/edges.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "framework/gdi/sysmetrics.h"
#include "tests/framework/gdi/canvas.h"

namespace tq3::test {
namespace {

using tq3::test::Canvas;
constexpr COLORREF kPaper = RGB(1, 2, 3);

// One letter per system colour of the 3D look; '.' is untouched paper.
std::string ColourPicture(const Canvas& c) {
    const std::map<COLORREF, char> letters = {
        {GetSysColor(COLOR_BTNHIGHLIGHT), 'H'}, {GetSysColor(COLOR_3DLIGHT), 'L'},
        {GetSysColor(COLOR_BTNFACE), 'F'},      {GetSysColor(COLOR_BTNSHADOW), 'S'},
        {GetSysColor(COLOR_3DDKSHADOW), 'D'},   {kPaper, '.'},
    };
    std::string out;
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x) {
            auto it = letters.find(c.at(x, y));
            out += it == letters.end() ? '?' : it->second;
        }
        out += '\n';
    }
    return out;
}

TEST(Edges, DrawEdgeLayersAndCorners) {
    struct Case {
        UINT edge, flags;
        const char* picture;
        RECT adjusted;
    };
    const Case cases[] = {
        {EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST,
         "LLLLLD\n"
         "LHHHSD\n"
         "LHFFSD\n"
         "LSSSSD\n"
         "DDDDDD\n",
         {2, 2, 4, 3}},
        // Only some sides: the lines run to the rectangle's corners.
        {BDR_RAISEDINNER, BF_BOTTOMRIGHT | BF_ADJUST,
         ".....S\n"
         ".....S\n"
         ".....S\n"
         ".....S\n"
         "SSSSSS\n",
         {0, 0, 5, 4}},
    };
    for (const Case& c : cases) {
        Canvas canvas(6, 5, kPaper);
        RECT r{0, 0, 6, 5};
        ASSERT_TRUE(DrawEdge(canvas.dc(), &r, c.edge, c.flags));
        EXPECT_EQ(ColourPicture(canvas), c.picture) << "edge " << c.edge << " flags " << std::hex << c.flags;
        EXPECT_TRUE(EqualRect(&r, &c.adjusted));
    }
    Canvas canvas(2, 2, kPaper);
    RECT r{0, 0, 2, 2};
    EXPECT_FALSE(DrawEdge(canvas.dc(), nullptr, EDGE_RAISED, BF_RECT));
    EXPECT_FALSE(DrawEdge(canvas.dc(), &r, EDGE_RAISED, BF_DIAGONAL | BF_RECT));
    RECT inverted{5, 5, 0, 0};
    EXPECT_TRUE(DrawEdge(canvas.dc(), &inverted, EDGE_RAISED, BF_RECT | BF_MIDDLE));
    EXPECT_EQ(canvas.Count(kPaper), 4);
}

TEST(Edges, Draw3dFrameOwnsCornersLikeDrawEdge) {
    Canvas canvas(4, 3, kPaper);
    tq3::fw::Draw3dFrame(canvas.dc(), RECT{0, 0, 4, 3}, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(ColourPicture(canvas), "HHHS\nH..S\nSSSS\n");
}

TEST(Edges, FocusRectangleFlipsHalfItsBorderAndUndoesItself) {
    Canvas canvas(9, 7, RGB(0x20, 0x40, 0x80));
    RECT r{1, 1, 8, 6};
    ASSERT_TRUE(DrawFocusRect(canvas.dc(), &r));
    int flipped = canvas.Count(RGB(0x20, 0x40, 0x80) ^ 0xFFFFFF);
    int border = 2 * 7 + 2 * 3;
    EXPECT_EQ(flipped, border / 2);
    DrawFocusRect(canvas.dc(), &r);
    EXPECT_EQ(canvas.Count(RGB(0x20, 0x40, 0x80)), 63);

    // However thin, each border pixel is flipped once or kept, never flipped
    // twice: a checkerboard over the whole rectangle.
    struct Thin {
        RECT r;
        int flipped;
    };
    const Thin thin[] = {{{0, 3, 9, 4}, 4}, {{2, 0, 4, 7}, 7}, {{3, 3, 4, 4}, 1}};
    for (const Thin& t : thin) {
        Canvas c(9, 7, RGB(0x20, 0x40, 0x80));
        ASSERT_TRUE(DrawFocusRect(c.dc(), &t.r));
        EXPECT_EQ(c.Count(RGB(0x20, 0x40, 0x80) ^ 0xFFFFFF), t.flipped)
            << t.r.left << "," << t.r.top << "," << t.r.right << "," << t.r.bottom;
    }
}

// The looks of buttons and scroll arrows are checked by the controls' and the
// window frame's pictures; here only what no caller shows.
TEST(FrameControls, UnknownKindsAreRefusedWithoutDrawing) {
    Canvas untouched(4, 4, kPaper);
    RECT small{0, 0, 4, 4};
    EXPECT_FALSE(DrawFrameControl(untouched.dc(), &small, 99, 0));
    EXPECT_FALSE(DrawFrameControl(untouched.dc(), &small, DFC_SCROLL, 0x7F));
    EXPECT_EQ(untouched.Count(kPaper), 16);
}

}  // namespace
}  // namespace tq3::test
