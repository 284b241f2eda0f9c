#include "framework/gdi/dc.h"

#include <gtest/gtest.h>

#include <functional>

#include "framework/core/geometry.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/rgn.h"
#include "tests/framework/gdi/canvas.h"

namespace tq3::test {
namespace {

using tq3::test::Canvas;

CRect ClipBox(HDC dc, int* type = nullptr) {
    CRect box(-1, -1, -1, -1);
    const int t = GetClipBox(dc, &box);
    if (type != nullptr) *type = t;
    return box;
}

TEST(DeviceContext, ABitmapLivesInOneMemoryContextAndIsNotDeletedWhileSelected) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(ClipBox(dc), CRect(0, 0, 1, 1)) << "a new memory context holds a 1x1 bitmap";
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 20, 10);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(ClipBox(dc), CRect(0, 0, 20, 10));
    HDC other = CreateCompatibleDC(dc);
    EXPECT_EQ(SelectObject(other, bitmap), nullptr);
    EXPECT_FALSE(DeleteObject(bitmap)) << "selected bitmaps are not deleted";
    EXPECT_EQ(SelectObject(dc, old), bitmap);
    DeleteDC(other);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
}

TEST(DeviceContext, SelectObjectReturnsThePreviousObjectAndDefersDeletion) {
    Canvas canvas(4, 4);
    HDC dc = canvas.dc();
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    EXPECT_EQ(oldPen, GetStockObject(BLACK_PEN));
    // Deleting the selected pen is deferred: it still draws until deselected.
    EXPECT_TRUE(DeleteObject(pen));
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 4, 0);
    EXPECT_EQ(canvas.at(1, 0), RGB(255, 0, 0));
    EXPECT_EQ(SelectObject(dc, oldPen), pen);
    EXPECT_EQ(GetObjectType(pen), 0u) << "deleted once released";
    // Selecting a region copies it as the clip and answers with its type.
    HRGN rgn = CreateRectRgn(1, 1, 3, 3);
    EXPECT_EQ(reinterpret_cast<std::intptr_t>(SelectObject(dc, rgn)), SIMPLEREGION);
    OffsetRgn(rgn, 10, 10);  // the copy does not follow
    DeleteObject(rgn);
    EXPECT_TRUE(PtVisible(dc, 1, 1) && !PtVisible(dc, 0, 0)) << "the clip is the context's own copy";
}

TEST(DeviceContext, SaveAndRestoreIncludingRelativeLevels) {
    Canvas canvas(20, 20);
    HDC dc = canvas.dc();
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    SetTextColor(dc, RGB(1, 1, 1));
    EXPECT_EQ(SaveDC(dc), 1);
    SetTextColor(dc, RGB(2, 2, 2));
    SelectObject(dc, red);
    IntersectClipRect(dc, 0, 0, 5, 5);
    SetViewportOrgEx(dc, 3, 3, nullptr);
    EXPECT_EQ(SaveDC(dc), 2);
    EXPECT_EQ(SaveDC(dc), 3);
    EXPECT_FALSE(RestoreDC(dc, 4));
    ASSERT_TRUE(RestoreDC(dc, -2));  // back to level 2
    EXPECT_EQ(GetTextColor(dc), RGB(2, 2, 2));
    EXPECT_EQ(ClipBox(dc), CRect(-3, -3, 2, 2)) << "the clip is in device units, the box in logical";
    // The red brush is deleted while held by a saved state: it survives until restored away.
    EXPECT_TRUE(DeleteObject(red));
    ASSERT_TRUE(RestoreDC(dc, 1));
    EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
    EXPECT_EQ(GetObjectType(red), 0u);
    EXPECT_FALSE(RestoreDC(dc, -1)) << "nothing saved any more";
}

TEST(DeviceContext, ClipOperationsAndTheirResults) {
    Canvas canvas(20, 20);
    HDC dc = canvas.dc();
    HRGN r = CreateRectRgn(2, 2, 10, 10);
    struct Step {
        const char* what;
        std::function<int()> run;
        int expected;
        RECT box;
    };
    const Step steps[] = {
        {"intersect", [&] { return IntersectClipRect(dc, 0, 0, 12, 12); }, SIMPLEREGION, {0, 0, 12, 12}},
        {"exclude", [&] { return ExcludeClipRect(dc, 4, 4, 6, 6); }, COMPLEXREGION, {0, 0, 12, 12}},
        {"and", [&] { return ExtSelectClipRgn(dc, r, RGN_AND); }, COMPLEXREGION, {2, 2, 10, 10}},
        {"diff", [&] { return ExtSelectClipRgn(dc, r, RGN_DIFF); }, NULLREGION, {0, 0, 0, 0}},
        {"clear", [&] { return SelectClipRgn(dc, nullptr); }, SIMPLEREGION, {0, 0, 20, 20}},
        {"bad mode", [&] { return ExtSelectClipRgn(dc, r, 99); }, ERROR, {0, 0, 20, 20}},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(s.run(), s.expected) << s.what;
        EXPECT_EQ(ClipBox(dc), CRect(s.box)) << s.what;
    }
    DeleteObject(r);
}

}  // namespace
}  // namespace tq3::test
