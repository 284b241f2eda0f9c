#include "framework/core/geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

// Readable failure output for rectangles and points.
inline std::ostream& operator<<(std::ostream& os, const RECT& r) {
    return os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
inline std::ostream& operator<<(std::ostream& os, const POINT& p) { return os << "(" << p.x << "," << p.y << ")"; }

namespace tq3::test {
namespace {

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(Rect, EmptinessAndPointsOnTheEdges) {
    for (const RECT& rc : {RECT{5, 5, 10, 5}, RECT{10, 0, 5, 10}}) EXPECT_TRUE(IsRectEmpty(&rc)) << rc;
    const CRect r(10, 20, 30, 40);
    EXPECT_TRUE(PtInRect(&r, CPoint(29, 39)));
    EXPECT_FALSE(PtInRect(&r, CPoint(30, 20))) << "the right edge is outside";
    EXPECT_FALSE(PtInRect(&r, CPoint(10, 40))) << "the bottom edge is outside";
    EXPECT_FALSE(CRect(30, 40, 10, 20).PtInRect(CPoint(20, 30))) << "a reversed rectangle contains nothing";
}

TEST(Rect, IntersectUnionSubtract) {
    struct Case {
        const char* what;
        RECT a, b;
        BOOL intersects;
        RECT intersection;
        BOOL unionResult;
        RECT unionRect;
        BOOL subtractResult;
        RECT difference;
    } cases[] = {
        {"overlapping corner", {0, 0, 10, 10}, {5, 5, 15, 15}, TRUE, {5, 5, 10, 10},
         TRUE, {0, 0, 15, 15}, TRUE, {0, 0, 10, 10}},
        {"disjoint gives all zero", {0, 0, 10, 10}, {20, 20, 30, 30}, FALSE, {0, 0, 0, 0},
         TRUE, {0, 0, 30, 30}, TRUE, {0, 0, 10, 10}},
        {"empty first operand", {50, 50, 40, 60}, {0, 0, 10, 10}, FALSE, {0, 0, 0, 0},
         TRUE, {0, 0, 10, 10}, FALSE, {0, 0, 0, 0}},
        {"covering", {2, 2, 4, 4}, {0, 0, 10, 10}, TRUE, {2, 2, 4, 4},
         TRUE, {0, 0, 10, 10}, FALSE, {0, 0, 0, 0}},
        {"cut off the bottom", {0, 0, 10, 10}, {-1, 6, 11, 20}, TRUE, {0, 6, 10, 10},
         TRUE, {-1, 0, 11, 20}, TRUE, {0, 0, 10, 6}},
        {"middle band leaves two pieces", {0, 0, 10, 10}, {3, -1, 6, 11}, TRUE, {3, 0, 6, 10},
         TRUE, {0, -1, 10, 11}, TRUE, {0, 0, 10, 10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RECT out{-7, -7, -7, -7};
        EXPECT_EQ(IntersectRect(&out, &c.a, &c.b), c.intersects);
        EXPECT_PRED2(Same, out, c.intersection);
        out = RECT{-7, -7, -7, -7};
        EXPECT_EQ(UnionRect(&out, &c.a, &c.b), c.unionResult);
        EXPECT_PRED2(Same, out, c.unionRect);
        out = RECT{-7, -7, -7, -7};
        EXPECT_EQ(SubtractRect(&out, &c.a, &c.b), c.subtractResult);
        EXPECT_PRED2(Same, out, c.difference);
        EXPECT_PRED2(Same, CRect(c.a) & c.b, c.intersection);
        // The destination may be one of the operands.
        CRect inPlace(c.b);
        EXPECT_EQ(inPlace.SubtractRect(&c.a, &inPlace), c.subtractResult);
        EXPECT_PRED2(Same, inPlace, c.difference);
    }
}

TEST(Rect, ExtremeCoordinatesWrapWithoutTrapping) {
    CRect r(INT_MIN, 0, INT_MAX, 10);
    EXPECT_EQ(r.Width(), -1);  // the true width does not fit in 32 bits
    EXPECT_FALSE(r.IsRectEmpty());
    EXPECT_EQ(r.CenterPoint().x, 0);
    r.OffsetRect(1, 0);
    EXPECT_EQ(r.right, INT_MIN);
    r.InflateRect(INT_MAX, INT_MAX);
    EXPECT_EQ(r.top, -INT_MAX);
}

}  // namespace
}  // namespace tq3::test
