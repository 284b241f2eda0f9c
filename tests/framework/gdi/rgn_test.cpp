#include "framework/gdi/rgn.h"

#include <gtest/gtest.h>

#include <vector>

#include "framework/core/geometry.h"
#include "framework/gdi/gdi_objects.h"
#include "framework/gdi/region.h"

namespace tq3::test {
namespace {

TEST(RegionHandles, CombineReturnsTheResultType) {
    HRGN a = CreateRectRgn(0, 0, 10, 10);
    HRGN b = CreateRectRgn(5, 5, 15, 15);
    HRGN d = CreateRectRgn(0, 0, 0, 0);
    struct Case {
        HRGN x, y;
        int mode, type;
        RECT box;
        int area;
    };
    const Case cases[] = {
        {a, b, RGN_AND, SIMPLEREGION, {5, 5, 10, 10}, 25},
        {a, b, RGN_OR, COMPLEXREGION, {0, 0, 15, 15}, 175},
        {a, b, RGN_XOR, COMPLEXREGION, {0, 0, 15, 15}, 150},
        {a, b, RGN_DIFF, COMPLEXREGION, {0, 0, 10, 10}, 75},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CombineRgn(d, c.x, c.y, c.mode), c.type) << c.mode;
        RECT box{};
        EXPECT_EQ(GetRgnBox(d, &box), c.type);
        EXPECT_TRUE(EqualRect(&box, &c.box)) << c.mode;
        int area = 0;
        for (const RECT& r : tq3::fw::gdi::RegionOf(d)->Rects()) area += (r.right - r.left) * (r.bottom - r.top);
        EXPECT_EQ(area, c.area) << c.mode;
    }
    // Errors leave the destination alone.
    CombineRgn(d, a, nullptr, RGN_COPY);
    EXPECT_EQ(CombineRgn(d, a, b, 0), ERROR);
    EXPECT_TRUE(EqualRgn(d, a));
    // The destination may be one of the sources.
    EXPECT_EQ(CombineRgn(a, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(a, 14, 14));
    for (HRGN h : {a, b, d}) DeleteObject(h);
}

TEST(RegionHandles, QueriesAndEdges) {
    HRGN r = CreateRectRgn(10, 10, 0, 0);  // corners in either order
    RECT box{};
    EXPECT_EQ(GetRgnBox(r, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 10);
    EXPECT_FALSE(PtInRegion(r, 10, 9)) << "the right edge is outside";
    RECT touching{10, 0, 20, 10};
    EXPECT_FALSE(RectInRegion(r, &touching));
    EXPECT_TRUE(SetRectRgn(r, 3, 3, 3, 8));
    EXPECT_EQ(GetRgnBox(r, &box), NULLREGION);
    HRGN empty = CreateRectRgn(5, 5, 5, 5);
    EXPECT_TRUE(EqualRgn(r, empty)) << "all empty regions are equal";
    EXPECT_EQ(OffsetRgn(reinterpret_cast<HRGN>(GetStockObject(BLACK_PEN)), 1, 1), ERROR);
    DeleteObject(r);
    DeleteObject(empty);
}

TEST(RegionHandles, PolygonRegionsFollowTheFillRule) {
    // A rectangle's corners make exactly that rectangle.
    const POINT box[] = {{2, 3}, {12, 3}, {12, 8}, {2, 8}};
    HRGN poly = CreatePolygonRgn(box, 4, ALTERNATE);
    HRGN rect = CreateRectRgn(2, 3, 12, 8);
    EXPECT_TRUE(EqualRgn(poly, rect));
    // Two overlapping squares traced in the same direction: the overlap is a hole
    // with ALTERNATE and filled with WINDING.
    const POINT squares[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}, {15, 5}, {15, 15}, {5, 15}};
    const INT counts[] = {4, 4};
    HRGN alt = CreatePolyPolygonRgn(squares, counts, 2, ALTERNATE);
    HRGN wind = CreatePolyPolygonRgn(squares, counts, 2, WINDING);
    EXPECT_FALSE(PtInRegion(alt, 7, 7));
    EXPECT_TRUE(PtInRegion(wind, 7, 7));
    // A triangle: the slanted edge follows the exact crossing of each row.
    const POINT tri[] = {{0, 0}, {4, 0}, {0, 4}};
    HRGN t = CreatePolygonRgn(tri, 3, ALTERNATE);
    std::vector<int> widths(4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) widths[y] += PtInRegion(t, x, y);
    EXPECT_EQ(widths, (std::vector<int>{4, 3, 2, 1}));
    // Degenerate and bad input.
    EXPECT_EQ(CreatePolygonRgn(nullptr, 3, ALTERNATE), nullptr);
    EXPECT_EQ(CreatePolygonRgn(box, 4, 0), nullptr);
    const POINT huge[] = {{-2000000000, -2000000000}, {2000000000, -2000000000}, {0, 2000000000}};
    HRGN big = CreatePolygonRgn(huge, 3, WINDING);
    ASSERT_NE(big, nullptr);
    EXPECT_TRUE(PtInRegion(big, 0, 0));
    for (HRGN h : {poly, rect, alt, wind, t, big}) DeleteObject(h);
}

}  // namespace
}  // namespace tq3::test
