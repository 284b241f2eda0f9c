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

TEST(Rect, EmptinessAndNullness) {
    struct Case {
        RECT rc;
        bool empty;
        bool null;
    } cases[] = {
        {{0, 0, 0, 0}, true, true},        {{0, 0, 1, 1}, false, false},
        {{5, 5, 5, 10}, true, false},      // zero width
        {{5, 5, 10, 5}, true, false},      // zero height
        {{10, 0, 5, 10}, true, false},     // reversed horizontally
        {{-3, -3, -1, -2}, false, false},  // negative coordinates are fine
    };
    for (const auto& c : cases) {
        CRect r(c.rc);
        EXPECT_EQ(r.IsRectEmpty() != FALSE, c.empty) << c.rc;
        EXPECT_EQ(IsRectEmpty(&c.rc) != FALSE, c.empty) << c.rc;
        EXPECT_EQ(r.IsRectNull() != FALSE, c.null) << c.rc;
    }
    EXPECT_TRUE(IsRectEmpty(nullptr));
}

TEST(Rect, PointInsideExcludesRightAndBottomEdges) {
    const CRect r(10, 20, 30, 40);
    struct Case {
        POINT pt;
        bool inside;
    } cases[] = {
        {{10, 20}, true}, {{29, 39}, true}, {{30, 20}, false}, {{10, 40}, false}, {{9, 25}, false}, {{15, 19}, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(r.PtInRect(c.pt) != FALSE, c.inside) << c.pt;
        EXPECT_EQ(PtInRect(&r, c.pt) != FALSE, c.inside) << c.pt;
    }
    // An empty or reversed rectangle contains nothing.
    const CRect reversed(30, 40, 10, 20);
    EXPECT_FALSE(reversed.PtInRect(CPoint(20, 30)));
    EXPECT_FALSE(PtInRect(nullptr, CPoint(0, 0)));
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
        {"touching edges do not intersect", {0, 0, 10, 10}, {10, 0, 20, 10}, FALSE, {0, 0, 0, 0},
         TRUE, {0, 0, 20, 10}, TRUE, {0, 0, 10, 10}},
        {"union ignores an empty operand", {0, 0, 10, 10}, {50, 50, 50, 60}, FALSE, {0, 0, 0, 0},
         TRUE, {0, 0, 10, 10}, TRUE, {0, 0, 10, 10}},
        {"empty first operand", {50, 50, 40, 60}, {0, 0, 10, 10}, FALSE, {0, 0, 0, 0},
         TRUE, {0, 0, 10, 10}, FALSE, {0, 0, 0, 0}},
        {"both empty", {1, 1, 1, 1}, {5, 5, 2, 2}, FALSE, {0, 0, 0, 0},
         FALSE, {0, 0, 0, 0}, FALSE, {0, 0, 0, 0}},
        {"contained", {0, 0, 10, 10}, {2, 2, 4, 4}, TRUE, {2, 2, 4, 4},
         TRUE, {0, 0, 10, 10}, TRUE, {0, 0, 10, 10}},
        {"covering", {2, 2, 4, 4}, {0, 0, 10, 10}, TRUE, {2, 2, 4, 4},
         TRUE, {0, 0, 10, 10}, FALSE, {0, 0, 0, 0}},
        {"cut off the left side", {0, 0, 10, 10}, {-5, -1, 3, 11}, TRUE, {0, 0, 3, 10},
         TRUE, {-5, -1, 10, 11}, TRUE, {3, 0, 10, 10}},
        {"cut off the right side", {0, 0, 10, 10}, {7, 0, 12, 10}, TRUE, {7, 0, 10, 10},
         TRUE, {0, 0, 12, 10}, TRUE, {0, 0, 7, 10}},
        {"cut off the top", {0, 0, 10, 10}, {0, -2, 10, 4}, TRUE, {0, 0, 10, 4},
         TRUE, {0, -2, 10, 10}, TRUE, {0, 4, 10, 10}},
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

        // The operators agree with the functions.
        EXPECT_PRED2(Same, CRect(c.a) & c.b, c.intersection);
        EXPECT_PRED2(Same, CRect(c.a) | c.b, c.unionRect);
        // The destination may be one of the operands.
        CRect inPlace(c.b);
        EXPECT_EQ(inPlace.SubtractRect(&c.a, &inPlace), c.subtractResult);
        EXPECT_PRED2(Same, inPlace, c.difference);
    }
}

TEST(Rect, NullPointersAreRefusedWithoutWriting) {
    RECT out{1, 2, 3, 4};
    const RECT a{0, 0, 5, 5};
    EXPECT_FALSE(IntersectRect(&out, &a, nullptr));
    EXPECT_FALSE(UnionRect(&out, nullptr, &a));
    EXPECT_FALSE(SubtractRect(&out, &a, nullptr));
    EXPECT_FALSE(CopyRect(&out, nullptr));
    EXPECT_PRED2(Same, out, (RECT{1, 2, 3, 4}));
    EXPECT_FALSE(SetRect(nullptr, 1, 2, 3, 4));
    EXPECT_FALSE(SetRectEmpty(nullptr));
    EXPECT_FALSE(OffsetRect(nullptr, 1, 1));
    EXPECT_FALSE(InflateRect(nullptr, 1, 1));
    EXPECT_FALSE(IntersectRect(nullptr, &a, &a));
    EXPECT_FALSE(EqualRect(&a, nullptr));
}

TEST(Rect, MovingAndResizing) {
    CRect r(10, 20, 30, 60);
    EXPECT_EQ(r.CenterPoint(), CPoint(20, 40));
    EXPECT_EQ(CRect(-3, -3, 0, 0).CenterPoint(), CPoint(-1, -1));  // rounds toward zero

    struct Case {
        const char* what;
        void (*apply)(CRect&);
        RECT expected;
    } cases[] = {
        {"offset", [](CRect& c) { c.OffsetRect(5, -5); }, {15, 15, 35, 55}},
        {"plus point", [](CRect& c) { c = c + CPoint(1, 2); }, {11, 22, 31, 62}},
        {"minus size", [](CRect& c) { c -= CSize(10, 20); }, {0, 0, 20, 40}},
        {"inflate by a rect", [](CRect& c) { c.InflateRect(CRect(1, 2, 3, 4)); }, {9, 18, 33, 64}},
        {"deflate four sides", [](CRect& c) { c.DeflateRect(1, 2, 3, 4); }, {11, 22, 27, 56}},
        {"deflate past empty", [](CRect& c) { c.DeflateRect(15, 0); }, {25, 20, 15, 60}},
        {"plus rect inflates", [](CRect& c) { c = c + CRect(1, 1, 1, 1); }, {9, 19, 31, 61}},
        {"minus rect deflates", [](CRect& c) { c -= CRect(1, 1, 1, 1); }, {11, 21, 29, 59}},
        {"move to", [](CRect& c) { c.MoveToXY(0, 0); }, {0, 0, 20, 40}},
        {"normalize keeps an ordered rect", [](CRect& c) { c.NormalizeRect(); }, {10, 20, 30, 60}},
        {"normalize reversed", [](CRect& c) { c.SetRect(30, 60, 10, 20); c.NormalizeRect(); }, {10, 20, 30, 60}},
        {"set empty", [](CRect& c) { c.SetRectEmpty(); }, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        CRect work = r;
        c.apply(work);
        EXPECT_PRED2(Same, work, c.expected) << c.what;
    }
    // The plain inflate moves every edge outwards.
    RECT plain{0, 0, 4, 4};
    InflateRect(&plain, -1, 1);
    EXPECT_PRED2(Same, plain, (RECT{1, -1, 3, 5}));
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

TEST(PointAndSize, Arithmetic) {
    CPoint p(3, 4);
    EXPECT_EQ(p - CSize(1, 1), CPoint(2, 3));
    EXPECT_EQ(p - CPoint(1, 2), CSize(2, 2));  // difference of points is a size
    EXPECT_EQ(-p, CPoint(-3, -4));
    EXPECT_EQ(CSize(5, 6) - CSize(1, 2), CSize(4, 4));
    // A point packed in a message parameter carries signed 16-bit coordinates.
    EXPECT_EQ(CPoint(MAKELPARAM(static_cast<WORD>(-5), 7)), CPoint(-5, 7));
    EXPECT_PRED2(Same, CPoint(1, 1) + CRect(0, 0, 2, 2), (RECT{1, 1, 3, 3}));
}

}  // namespace
}  // namespace tq3::test
