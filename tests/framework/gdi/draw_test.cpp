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
        {{1, 1}, {5, 1}, "......\n.####.\n......\n"},  // horizontal: (5,1) left out
        {{5, 2}, {0, 2}, "......\n......\n.#####\n"},  // right to left: (0,2) left out
        {{2, 0}, {2, 3}, "..#...\n..#...\n..#...\n"},  // vertical
        {{0, 0}, {3, 3}, "#.....\n.#....\n..#...\n"},  // diagonal
        {{3, 1}, {3, 1}, "......\n......\n......\n"},  // zero length draws nothing
    };
    for (const Case& c : cases) {
        Canvas canvas(6, 3);
        MoveToEx(canvas.dc(), c.from.x, c.from.y, nullptr);
        ASSERT_TRUE(LineTo(canvas.dc(), c.to.x, c.to.y));
        EXPECT_EQ(canvas.Picture(kBlack), c.picture) << c.from.x << "," << c.from.y << " -> " << c.to.x << "," << c.to.y;
        POINT pos{};
        GetCurrentPositionEx(canvas.dc(), &pos);
        EXPECT_EQ(pos.x, c.to.x);
        EXPECT_EQ(pos.y, c.to.y);
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
    SetROP2(canvas.dc(), R2_NOT);
    MoveToEx(canvas.dc(), 0, 0, nullptr);
    LineTo(canvas.dc(), 8, 0);
    EXPECT_EQ(canvas.at(3, 0), RGB(245, 55, 225));
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
    EXPECT_EQ(canvas.Count(kRed), 3 * 2);

    // Without a pen the brush fills one pixel less each way.
    canvas.Fill(kWhite);
    SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
    Rectangle(canvas.dc(), 1, 1, 6, 5);
    EXPECT_EQ(canvas.Picture(kRed),
              "........\n"
              ".####...\n"
              ".####...\n"
              ".####...\n"
              "........\n"
              "........\n"
              "........\n");

    // FillRect covers [left, right) x [top, bottom); FrameRect its border only.
    canvas.Fill(kWhite);
    RECT r{2, 1, 5, 4};
    FillRect(canvas.dc(), &r, red);
    EXPECT_EQ(canvas.Count(kRed), 9);
    EXPECT_EQ(canvas.at(5, 1), kWhite);
    EXPECT_EQ(canvas.at(2, 4), kWhite);
    canvas.Fill(kWhite);
    RECT frame{0, 0, 5, 4};
    FrameRect(canvas.dc(), &frame, red);
    EXPECT_EQ(canvas.Picture(kRed),
              "#####...\n"
              "#...#...\n"
              "#...#...\n"
              "#####...\n"
              "........\n"
              "........\n"
              "........\n");
    // A system colour index plus one stands for its brush.
    FillRect(canvas.dc(), &r, reinterpret_cast<HBRUSH>(static_cast<std::uintptr_t>(COLOR_BTNFACE + 1)));
    EXPECT_EQ(canvas.at(3, 2), GetSysColor(COLOR_BTNFACE));
    SelectObject(canvas.dc(), oldBrush);
    DeleteObject(red);
}

TEST(Shapes, PolygonFillRules) {
    // A five-pointed star drawn in one stroke: its centre is crossed twice.
    const POINT star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    for (int mode : {ALTERNATE, WINDING}) {
        Canvas canvas(21, 21);
        SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
        SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
        SetPolyFillMode(canvas.dc(), mode);
        Polygon(canvas.dc(), star, 5);
        EXPECT_EQ(canvas.at(10, 10), mode == WINDING ? kBlack : kWhite) << mode;
        EXPECT_EQ(canvas.at(10, 3), kBlack) << "a point of the star";
        EXPECT_EQ(canvas.at(2, 18), kWhite) << "outside";
    }
    // A polygon of a rectangle's corners covers exactly that rectangle.
    Canvas canvas(8, 8);
    SelectObject(canvas.dc(), GetStockObject(NULL_PEN));
    SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
    const POINT box[] = {{1, 2}, {6, 2}, {6, 5}, {1, 5}};
    Polygon(canvas.dc(), box, 4);
    EXPECT_EQ(canvas.Count(kBlack), 5 * 3);
    EXPECT_EQ(canvas.at(1, 2), kBlack);
    EXPECT_EQ(canvas.at(6, 2), kWhite);
    EXPECT_EQ(canvas.at(1, 5), kWhite);
}

TEST(RasterOps, PatInvertWithTheHalftoneBrushFlipsACheckerboard) {
    Canvas canvas(8, 6, RGB(0x30, 0x60, 0x90));
    HGDIOBJ old = SelectObject(canvas.dc(), tq3::fw::gdi::HalftoneBrush());
    ASSERT_TRUE(PatBlt(canvas.dc(), 1, 1, 6, 4, PATINVERT));
    const COLORREF flipped = RGB(0x30, 0x60, 0x90) ^ 0xFFFFFF;
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            bool inside = x >= 1 && x < 7 && y >= 1 && y < 5;
            bool marked = inside && ((x + y) & 1) == 1;
            EXPECT_EQ(canvas.at(x, y), marked ? flipped : RGB(0x30, 0x60, 0x90)) << x << "," << y;
        }
    }
    // Drawing the same band again erases it; a shifted brush origin does not.
    PatBlt(canvas.dc(), 1, 1, 6, 4, PATINVERT);
    EXPECT_EQ(canvas.Count(RGB(0x30, 0x60, 0x90)), 48);
    SetBrushOrgEx(canvas.dc(), 1, 0, nullptr);
    PatBlt(canvas.dc(), 1, 1, 6, 4, PATINVERT);
    EXPECT_EQ(canvas.at(1, 1), flipped);
    SelectObject(canvas.dc(), old);
}

// Every pixel of an 8x8 pattern brush differs, so a piece of a row taken from
// the wrong column or row of the pattern shows. Boxes start at odd columns and
// run past several whole pattern widths; the oracle looks the pattern up pixel
// by pixel from the brush origin.
TEST(RasterOps, PatternFillsTileTheBrushFromItsOriginInEveryBox) {
    const COLORREF base = RGB(0x20, 0x40, 0x60);
    auto tile = [](int x, int y) { return RGB(static_cast<BYTE>(1 + x * 16), static_cast<BYTE>(1 + y * 16), 7); };
    Canvas tileSource(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) SetPixel(tileSource.dc(), x, y, tile(x, y));
    HBITMAP bits = static_cast<HBITMAP>(GetCurrentObject(tileSource.dc(), OBJ_BITMAP));
    HBRUSH pattern = CreatePatternBrush(bits);
    ASSERT_NE(pattern, nullptr);
    // A frame with a hole: its middle band has a box of 8 and one of 25 pixels.
    HRGN ring = CreateRectRgn(2, 1, 38, 19);
    HRGN hole = CreateRectRgn(10, 5, 13, 15);
    CombineRgn(ring, ring, hole, RGN_DIFF);
    enum class Area { Rect, Ring, Both };  // where the fill lands: the rectangle, the ring, or both at once
    struct Case {
        const char* name;
        POINT origin;
        Area area;
        bool invert;
        std::function<void(HDC)> draw;
    };
    const RECT wide{3, 2, 36, 18};
    const Case cases[] = {
        {"FillRect", {0, 0}, Area::Rect, false, [&](HDC dc) { FillRect(dc, &wide, pattern); }},
        {"FillRect, moved origin", {3, 5}, Area::Rect, false, [&](HDC dc) { FillRect(dc, &wide, pattern); }},
        {"FillRgn", {5, 2}, Area::Ring, false, [&](HDC dc) { FillRgn(dc, ring, pattern); }},
        {"FillRect through a clip", {1, 6}, Area::Both, false, [&](HDC dc) {
             SelectClipRgn(dc, ring);
             FillRect(dc, &wide, pattern);
         }},
        {"PATINVERT", {6, 1}, Area::Rect, true, [&](HDC dc) {
             SelectObject(dc, pattern);
             PatBlt(dc, wide.left, wide.top, wide.right - wide.left, wide.bottom - wide.top, PATINVERT);
         }},
    };
    for (const Case& c : cases) {
        Canvas canvas(40, 20, base);
        int saved = SaveDC(canvas.dc());
        SetBrushOrgEx(canvas.dc(), c.origin.x, c.origin.y, nullptr);
        c.draw(canvas.dc());
        RestoreDC(canvas.dc(), saved);
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 40; ++x) {
                const bool inRect = x >= wide.left && x < wide.right && y >= wide.top && y < wide.bottom;
                const bool inRing = PtInRegion(ring, x, y) != FALSE;
                const bool painted = c.area == Area::Rect ? inRect : c.area == Area::Ring ? inRing : inRect && inRing;
                const COLORREF p = tile((x - c.origin.x) & 7, (y - c.origin.y) & 7);
                const COLORREF expected = !painted ? base : c.invert ? base ^ p : p;
                ASSERT_EQ(canvas.at(x, y), expected) << c.name << " at " << x << "," << y;
            }
        }
    }
    DeleteObject(ring);
    DeleteObject(hole);
    DeleteObject(pattern);
}

TEST(RasterOps, PatBltAndBitBltCodes) {
    struct Case {
        DWORD rop;
        COLORREF dst, src, brush, expected;
    };
    const Case cases[] = {
        {PATCOPY, RGB(1, 2, 3), 0, RGB(9, 8, 7), RGB(9, 8, 7)},
        {DSTINVERT, RGB(1, 2, 3), 0, 0, RGB(254, 253, 252)},
        {BLACKNESS, RGB(1, 2, 3), 0, 0, kBlack},
        {WHITENESS, RGB(1, 2, 3), 0, 0, kWhite},
        {SRCCOPY, RGB(1, 2, 3), RGB(50, 60, 70), 0, RGB(50, 60, 70)},
        {SRCINVERT, RGB(0xF0, 0x0F, 0xFF), RGB(0xFF, 0xFF, 0x0F), 0, RGB(0x0F, 0xF0, 0xF0)},
        {SRCAND, RGB(0xF0, 0x0F, 0xFF), RGB(0xFF, 0xFF, 0x0F), 0, RGB(0xF0, 0x0F, 0x0F)},
        {SRCPAINT, RGB(0xF0, 0x0F, 0x00), RGB(0x0F, 0x00, 0x0F), 0, RGB(0xFF, 0x0F, 0x0F)},
        {NOTSRCCOPY, RGB(1, 2, 3), RGB(0, 0xFF, 0x10), 0, RGB(0xFF, 0, 0xEF)},
        {MERGECOPY, RGB(1, 2, 3), RGB(0xF0, 0xF0, 0xF0), RGB(0x3C, 0x3C, 0x3C), RGB(0x30, 0x30, 0x30)},
    };
    for (const Case& c : cases) {
        Canvas dst(4, 4, c.dst);
        Canvas src(4, 4, c.src);
        HBRUSH brush = CreateSolidBrush(c.brush);
        HGDIOBJ old = SelectObject(dst.dc(), brush);
        ASSERT_TRUE(BitBlt(dst.dc(), 1, 1, 2, 2, src.dc(), 0, 0, c.rop)) << std::hex << c.rop;
        EXPECT_EQ(dst.at(1, 1), c.expected) << std::hex << c.rop;
        EXPECT_EQ(dst.at(2, 2), c.expected) << std::hex << c.rop;
        EXPECT_EQ(dst.at(3, 3), c.dst) << "outside the blit, " << std::hex << c.rop;
        SelectObject(dst.dc(), old);
        DeleteObject(brush);
    }
    Canvas canvas(2, 2);
    EXPECT_FALSE(PatBlt(canvas.dc(), 0, 0, 1, 1, SRCCOPY)) << "PatBlt has no source";
    EXPECT_FALSE(BitBlt(canvas.dc(), 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
}

TEST(RasterOps, OverlappingBlitsMoveTheImageInEveryDirection) {
    constexpr int kW = 12, kH = 10;
    auto seed = [](int x, int y) { return RGB(static_cast<BYTE>(x * 20), static_cast<BYTE>(y * 20), 77); };
    const POINT moves[] = {{0, 3}, {0, -3}, {3, 0}, {-3, 0}, {2, 2}, {-2, -2}, {2, -2}, {-2, 2}, {0, 1}, {1, 0}};
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

TEST(RasterOps, StretchBltDoublesPixels) {
    Canvas src(2, 1);
    SetPixel(src.dc(), 0, 0, kRed);
    SetPixel(src.dc(), 1, 0, kGreen);
    Canvas dst(4, 2);
    ASSERT_TRUE(StretchBlt(dst.dc(), 0, 0, 4, 2, src.dc(), 0, 0, 2, 1, SRCCOPY));
    EXPECT_EQ(dst.Picture(kRed), "##..\n##..\n");
    EXPECT_EQ(dst.Picture(kGreen), "..##\n..##\n");
}

TEST(Regions, XorOfTwoRectanglesInvertedTwiceRestoresTheSurface) {
    Canvas canvas(12, 10, RGB(0x12, 0x34, 0x56));
    HRGN a = CreateRectRgn(1, 1, 7, 6);
    HRGN b = CreateRectRgn(4, 3, 10, 9);
    HRGN x = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(x, a, b, RGN_XOR), COMPLEXREGION);
    ASSERT_TRUE(InvertRgn(canvas.dc(), x));
    const COLORREF base = RGB(0x12, 0x34, 0x56), flipped = base ^ 0xFFFFFF;
    EXPECT_EQ(canvas.at(1, 1), flipped);
    EXPECT_EQ(canvas.at(5, 4), base) << "the overlap is in neither";
    EXPECT_EQ(canvas.at(9, 8), flipped);
    EXPECT_EQ(canvas.at(10, 9), base);
    EXPECT_EQ(canvas.Count(flipped), 30 + 36 - 2 * 9);
    ASSERT_TRUE(InvertRgn(canvas.dc(), x));
    EXPECT_EQ(canvas.Count(base), 120);

    // FillRgn, PaintRgn and FrameRgn paint through the region.
    HBRUSH red = CreateSolidBrush(kRed);
    FillRgn(canvas.dc(), a, red);
    EXPECT_EQ(canvas.Count(kRed), 30);
    canvas.Fill(kWhite);
    FrameRgn(canvas.dc(), x, red, 1, 1);
    EXPECT_EQ(canvas.at(1, 1), kRed);
    EXPECT_EQ(canvas.at(2, 2), kWhite);
    EXPECT_EQ(canvas.at(6, 2), kRed) << "right edge of the first rectangle";
    canvas.Fill(kWhite);
    SelectObject(canvas.dc(), red);
    PaintRgn(canvas.dc(), b);
    EXPECT_EQ(canvas.Count(kRed), 36);
    SelectObject(canvas.dc(), GetStockObject(WHITE_BRUSH));
    for (HGDIOBJ h : {static_cast<HGDIOBJ>(a), static_cast<HGDIOBJ>(b), static_cast<HGDIOBJ>(x),
                      static_cast<HGDIOBJ>(red)}) {
        DeleteObject(h);
    }
}

// Red/green oracle: the canvas is green, a clip with a hole is selected, each
// primitive paints red over everything; no pixel outside the clip may turn.
TEST(Clipping, EveryPrimitiveStaysInsideTheClip) {
    using Draw = std::function<void(HDC)>;
    const RECT all{-5, -5, 40, 40};
    HBRUSH red = CreateSolidBrush(kRed);
    HPEN redPen = CreatePen(PS_SOLID, 1, kRed);
    HPEN widePen = CreatePen(PS_SOLID, 5, kRed);
    Canvas source(30, 30, kRed);
    HRGN big = CreateRectRgn(-5, -5, 40, 40);
    struct Case {
        const char* name;
        Draw draw;
    };
    const std::vector<Case> cases = {
        {"FillRect", [&](HDC dc) { FillRect(dc, &all, red); }},
        {"PatBlt", [&](HDC dc) { SelectObject(dc, red); PatBlt(dc, -5, -5, 45, 45, PATCOPY); }},
        {"InvertRect", [&](HDC dc) { InvertRect(dc, &all); }},
        {"BitBlt", [&](HDC dc) { BitBlt(dc, 0, 0, 30, 30, source.dc(), 0, 0, SRCCOPY); }},
        {"StretchBlt", [&](HDC dc) { StretchBlt(dc, 0, 0, 30, 30, source.dc(), 0, 0, 15, 15, SRCCOPY); }},
        {"LineTo", [&](HDC dc) {
             SelectObject(dc, redPen);
             for (int y = -2; y < 32; ++y) { MoveToEx(dc, -3, y, nullptr); LineTo(dc, 33, y + 3); }
         }},
        {"WidePen", [&](HDC dc) { SelectObject(dc, widePen); MoveToEx(dc, 0, 15, nullptr); LineTo(dc, 30, 15); }},
        {"Rectangle", [&](HDC dc) { SelectObject(dc, redPen); SelectObject(dc, red); Rectangle(dc, -2, -2, 33, 33); }},
        {"Ellipse", [&](HDC dc) { SelectObject(dc, redPen); SelectObject(dc, red); Ellipse(dc, -2, -2, 33, 33); }},
        {"Polygon", [&](HDC dc) {
             const POINT tri[] = {{-10, -10}, {60, 0}, {0, 60}};
             SelectObject(dc, red);
             Polygon(dc, tri, 3);
         }},
        {"SetPixel", [&](HDC dc) {
             for (int y = 0; y < 30; ++y)
                 for (int x = 0; x < 30; ++x) SetPixel(dc, x, y, kRed);
         }},
        {"FillRgn", [&](HDC dc) { FillRgn(dc, big, red); }},
        {"InvertRgn", [&](HDC dc) { InvertRgn(dc, big); }},
        {"FrameRgn", [&](HDC dc) { FrameRgn(dc, big, red, 20, 20); }},
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
    for (HGDIOBJ h : {static_cast<HGDIOBJ>(red), static_cast<HGDIOBJ>(redPen), static_cast<HGDIOBJ>(widePen),
                      static_cast<HGDIOBJ>(big)}) {
        DeleteObject(h);
    }
}

TEST(Pixels, GetAndSetPixelHonourOriginAndClip) {
    Canvas canvas(10, 10);
    SetViewportOrgEx(canvas.dc(), 3, 2, nullptr);
    EXPECT_EQ(SetPixel(canvas.dc(), 1, 1, kRed), kRed);
    EXPECT_EQ(canvas.at(4, 3), kRed);
    EXPECT_EQ(GetPixel(canvas.dc(), 1, 1), kRed);
    EXPECT_EQ(GetPixel(canvas.dc(), 5, 0), kWhite);
    EXPECT_EQ(GetPixel(canvas.dc(), 7, 8), CLR_INVALID) << "below the bitmap";
    EXPECT_EQ(SetPixel(canvas.dc(), -4, 0, kRed), CLR_INVALID);
    IntersectClipRect(canvas.dc(), 0, 0, 2, 2);
    EXPECT_EQ(GetPixel(canvas.dc(), 3, 3), CLR_INVALID) << "outside the clip";
}

TEST(BadInput, DrawingCallsRefuseWithoutCrashing) {
    Canvas canvas(4, 4);
    HDC dc = canvas.dc();
    HDC junk = reinterpret_cast<HDC>(static_cast<std::uintptr_t>(0x12345670));
    RECT r{0, 0, 2, 2};
    EXPECT_FALSE(FillRect(junk, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    EXPECT_FALSE(FillRect(dc, nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    EXPECT_FALSE(FillRect(dc, &r, reinterpret_cast<HBRUSH>(GetStockObject(BLACK_PEN))));
    EXPECT_FALSE(Polygon(dc, nullptr, 3));
    const POINT one[] = {{0, 0}};
    EXPECT_FALSE(Polygon(dc, one, 1));
    EXPECT_FALSE(Polyline(dc, one, -5));
    EXPECT_FALSE(InvertRgn(dc, nullptr));
    EXPECT_FALSE(LineTo(junk, 1, 1));
    EXPECT_FALSE(BitBlt(dc, 0, 0, -1, 2, dc, 0, 0, SRCCOPY));
    EXPECT_FALSE(StretchBlt(dc, 0, 0, 2, 2, dc, 0, 0, 0, 2, SRCCOPY));
    // Absurd coordinates are clipped, not walked.
    const POINT far[] = {{-2000000000, -2000000000}, {2000000000, -2000000000}, {0, 2000000000}};
    SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    EXPECT_TRUE(Polygon(dc, far, 3));
    EXPECT_EQ(canvas.Count(kBlack), 16);
    EXPECT_TRUE(Ellipse(dc, -2000000000, -2000000000, 2000000000, 2000000000));
    EXPECT_TRUE(PatBlt(dc, 2000000000, 2000000000, -2000000000, -2000000000, WHITENESS));
    EXPECT_EQ(canvas.Count(kWhite), 16);
    Canvas red(1, 1, kRed);
    EXPECT_TRUE(StretchBlt(dc, -2000000000, -2000000000, 2100000000, 2100000000, red.dc(), 0, 0, 1, 1, SRCCOPY));
    EXPECT_EQ(canvas.Count(kRed), 16);
    EXPECT_TRUE(BitBlt(dc, 2000000000, -2000000000, 2000000000, 5, red.dc(), -2000000000, 0, SRCCOPY));
    MoveToEx(dc, -2000000000, 1, nullptr);
    EXPECT_TRUE(LineTo(dc, 2000000000, 1));
    // Nothing stored was lost: the canvas is still drawable.
    EXPECT_EQ(SetPixel(dc, 0, 0, kRed), kRed);
}

}  // namespace
}  // namespace tq3::test
