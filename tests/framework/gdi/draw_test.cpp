#include "framework/gdi/draw.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "framework/gdi/rgn.h"
#include "framework/gdi/sysmetrics.h"
#include "tests/framework/gdi/canvas.h"

namespace tq3::test {
namespace {

using tq3::test::Canvas;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

TEST(Lines, OnePixelLinesExcludeTheirLastPoint) {
    struct Case {
        POINT from, to;
        const char* picture;
    };
    const Case cases[] = {
        {{0, 0}, {5, 2}, "##....\n..##..\n....#.\n"},  // shallow: rounds to the nearest row
        {{5, 2}, {0, 2}, "......\n......\n.#####\n"},  // right to left: (0,2) left out
        {{3, 1}, {3, 1}, "......\n......\n......\n"},  // zero length draws nothing
    };
    for (const Case& c : cases) {
        Canvas canvas(6, 3);
        MoveToEx(canvas.dc(), c.from.x, c.from.y, nullptr);
        ASSERT_TRUE(LineTo(canvas.dc(), c.to.x, c.to.y));
        EXPECT_EQ(canvas.Picture(kBlack), c.picture) << c.from.x << "," << c.from.y << " -> " << c.to.x << "," << c.to.y;
    }
}

TEST(Lines, XorPenTwiceRestoresAndPolylineJoinsAreDrawnOnce) {
    Canvas canvas(8, 8, RGB(10, 200, 30));
    HPEN pen = CreatePen(PS_SOLID, 1, kWhite);
    HGDIOBJ old = SelectObject(canvas.dc(), pen);
    SetROP2(canvas.dc(), R2_XORPEN);
    const POINT path[] = {{1, 1}, {6, 1}, {6, 6}, {1, 6}, {1, 1}};
    Polyline(canvas.dc(), path, 5);
    // Every pixel of the closed path is flipped exactly once: joins are not flipped back.
    EXPECT_EQ(canvas.Count(RGB(10, 200, 30) ^ 0xFFFFFF), 20);
    Polyline(canvas.dc(), path, 5);
    EXPECT_EQ(canvas.Count(RGB(10, 200, 30)), 64);
    SelectObject(canvas.dc(), old);
    DeleteObject(pen);
}

TEST(Shapes, RectangleExcludesRightAndBottomEdges) {
    Canvas canvas(8, 7);
    HBRUSH red = CreateSolidBrush(kRed);
    HGDIOBJ oldBrush = SelectObject(canvas.dc(), red);
    Rectangle(canvas.dc(), 1, 1, 6, 5);
    EXPECT_EQ(canvas.Picture(kBlack),
              "........\n"
              ".#####..\n"
              ".#...#..\n"
              ".#...#..\n"
              ".#####..\n"
              "........\n"
              "........\n");
    // A system colour index plus one stands for its brush.
    RECT r{2, 1, 5, 4};
    FillRect(canvas.dc(), &r, reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1)));
    EXPECT_EQ(canvas.Count(GetSysColor(COLOR_BTNFACE)), 9);
    SelectObject(canvas.dc(), oldBrush);
    DeleteObject(red);
}

// The codes the library's controls and view use, and the source operators once each.
TEST(RasterOps, PatBltAndBitBltCodes) {
    struct Case {
        DWORD rop;
        COLORREF dst, src, brush, expected;
    };
    const Case cases[] = {
        {PATCOPY, RGB(1, 2, 3), 0, RGB(9, 8, 7), RGB(9, 8, 7)},
        {DSTINVERT, RGB(1, 2, 3), 0, 0, RGB(254, 253, 252)},
        {SRCCOPY, RGB(1, 2, 3), RGB(50, 60, 70), 0, RGB(50, 60, 70)},
        {SRCINVERT, RGB(0xF0, 0x0F, 0xFF), RGB(0xFF, 0xFF, 0x0F), 0, RGB(0x0F, 0xF0, 0xF0)},
    };
    for (const Case& c : cases) {
        Canvas dst(4, 4, c.dst);
        Canvas src(4, 4, c.src);
        HBRUSH brush = CreateSolidBrush(c.brush);
        HGDIOBJ old = SelectObject(dst.dc(), brush);
        ASSERT_TRUE(BitBlt(dst.dc(), 1, 1, 2, 2, src.dc(), 0, 0, c.rop)) << std::hex << c.rop;
        EXPECT_EQ(dst.Count(c.expected), 4) << std::hex << c.rop;
        EXPECT_EQ(dst.at(3, 3), c.dst) << "outside the blit, " << std::hex << c.rop;
        SelectObject(dst.dc(), old);
        DeleteObject(brush);
    }
    Canvas canvas(2, 2);
    EXPECT_FALSE(PatBlt(canvas.dc(), 0, 0, 1, 1, SRCCOPY)) << "PatBlt has no source";
}

TEST(RasterOps, OverlappingBlitsMoveTheImageInEveryDirection) {
    constexpr int kW = 12, kH = 10;
    auto seed = [](int x, int y) { return RGB(static_cast<BYTE>(x * 20), static_cast<BYTE>(y * 20), 77); };
    const POINT moves[] = {{0, 3}, {0, -3}, {3, 0}, {-3, 0}, {2, 2}, {-2, -2}, {2, -2}, {-2, 2}};
    for (bool complexClip : {false, true}) {
        for (POINT m : moves) {
            Canvas canvas(kW, kH);
            for (int y = 0; y < kH; ++y)
                for (int x = 0; x < kW; ++x) SetPixel(canvas.dc(), x, y, seed(x, y));
            if (complexClip) {
                // Two boxes: the blit must not read pixels it already wrote.
                ExcludeClipRect(canvas.dc(), 5, 0, 6, kH);
            }
            // Move the block (3,3)-(9,7) by m, as scrolling does.
            ASSERT_TRUE(BitBlt(canvas.dc(), 3 + m.x, 3 + m.y, 6, 4, canvas.dc(), 3, 3, SRCCOPY));
            for (int y = 0; y < kH; ++y) {
                for (int x = 0; x < kW; ++x) {
                    bool moved = x >= 3 + m.x && x < 9 + m.x && y >= 3 + m.y && y < 7 + m.y;
                    if (complexClip && x == 5) moved = false;
                    COLORREF expected = moved ? seed(x - m.x, y - m.y) : seed(x, y);
                    ASSERT_EQ(canvas.surface().At(x, y), tq3::fw::ToPixel(expected))
                        << "move " << m.x << "," << m.y << " at " << x << "," << y << (complexClip ? " clipped" : "");
                }
            }
        }
    }
}

// Red/green oracle: the canvas is green, a clip with a hole is selected, each
// primitive paints red over everything; no pixel outside the clip may turn.
TEST(Clipping, EveryPrimitiveStaysInsideTheClip) {
    using Draw = std::function<void(HDC)>;
    const RECT all{-5, -5, 40, 40};
    HBRUSH red = CreateSolidBrush(kRed);
    HPEN redPen = CreatePen(PS_SOLID, 1, kRed);
    Canvas source(30, 30, kRed);
    HRGN big = CreateRectRgn(-5, -5, 40, 40);
    struct Case {
        const char* name;
        Draw draw;
    };
    const std::vector<Case> cases = {
        {"FillRect", [&](HDC dc) { FillRect(dc, &all, red); }},
        {"BitBlt", [&](HDC dc) { BitBlt(dc, 0, 0, 30, 30, source.dc(), 0, 0, SRCCOPY); }},
        {"StretchBlt", [&](HDC dc) { StretchBlt(dc, 0, 0, 30, 30, source.dc(), 0, 0, 15, 15, SRCCOPY); }},
        {"LineTo", [&](HDC dc) {
             SelectObject(dc, redPen);
             for (int y = -2; y < 32; ++y) { MoveToEx(dc, -3, y, nullptr); LineTo(dc, 33, y + 3); }
         }},
        {"Ellipse", [&](HDC dc) { SelectObject(dc, redPen); SelectObject(dc, red); Ellipse(dc, -2, -2, 33, 33); }},
        {"Polygon", [&](HDC dc) {
             const POINT tri[] = {{-10, -10}, {60, 0}, {0, 60}};
             SelectObject(dc, red);
             Polygon(dc, tri, 3);
         }},
        {"InvertRgn", [&](HDC dc) { InvertRgn(dc, big); }},
    };
    for (const Case& c : cases) {
        Canvas canvas(30, 30, kGreen);
        HDC dc = canvas.dc();
        int save = SaveDC(dc);
        HRGN clip = CreateRectRgn(5, 5, 25, 25);
        HRGN hole = CreateRectRgn(10, 10, 15, 15);
        CombineRgn(clip, clip, hole, RGN_DIFF);
        SelectClipRgn(dc, clip);
        c.draw(dc);
        RestoreDC(dc, save);
        int changedInside = 0;
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 30; ++x) {
                bool inClip = PtInRegion(clip, x, y);
                if (!inClip) {
                    ASSERT_EQ(canvas.at(x, y), kGreen) << c.name << " painted outside the clip at " << x << "," << y;
                } else {
                    changedInside += canvas.at(x, y) != kGreen;
                }
            }
        }
        EXPECT_GT(changedInside, 0) << c.name << " painted nothing at all";
        DeleteObject(clip);
        DeleteObject(hole);
    }
    for (HGDIOBJ h : {static_cast<HGDIOBJ>(red), static_cast<HGDIOBJ>(redPen), static_cast<HGDIOBJ>(big)}) {
        DeleteObject(h);
    }
}

TEST(BadInput, DrawingCallsRefuseWithoutCrashing) {
    Canvas canvas(4, 4);
    HDC dc = canvas.dc();
    HDC junk = reinterpret_cast<HDC>(static_cast<std::uintptr_t>(0x12345670));
    RECT r{0, 0, 2, 2};
    EXPECT_FALSE(FillRect(junk, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    EXPECT_FALSE(FillRect(dc, &r, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_PEN))));
    EXPECT_FALSE(Polygon(dc, nullptr, 3));
    EXPECT_FALSE(StretchBlt(dc, 0, 0, 2, 2, dc, 0, 0, 0, 2, SRCCOPY));
    // Absurd coordinates are clipped, not walked (polygons: the region tests).
    Canvas red(1, 1, kRed);
    EXPECT_TRUE(StretchBlt(dc, -2000000000, -2000000000, 2100000000, 2100000000, red.dc(), 0, 0, 1, 1, SRCCOPY));
    EXPECT_EQ(canvas.Count(kRed), 16);
    MoveToEx(dc, -2000000000, 1, nullptr);
    EXPECT_TRUE(LineTo(dc, 2000000000, 1));
}

}  // namespace
}  // namespace tq3::test
