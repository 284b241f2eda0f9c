#include "framework/gdi/dc.h"

#include <gtest/gtest.h>

#include <functional>

#include "framework/core/geometry.h"
#include "framework/gdi/draw.h"
#include "framework/gdi/rgn.h"
#include "tests/framework/gdi/canvas.h"

namespace tq3::test {
namespace {

using tq3::fw::Region;
using tq3::fw::Surface;
using tq3::test::Canvas;

CRect ClipBox(HDC dc, int* type = nullptr) {
    CRect box(-1, -1, -1, -1);
    const int t = GetClipBox(dc, &box);
    if (type != nullptr) *type = t;
    return box;
}

TEST(DeviceContext, SurfaceContextsPaintOnlyTheirVisibleRegionAtTheirOrigin) {
    Surface desktop(40, 30, 0);
    // A window at (10, 5) whose visible part is two boxes.
    Region visible(10, 5, 30, 25);
    visible.Subtract(RECT{18, 5, 22, 25});
    HDC dc = tq3::fw::CreateSurfaceDC(&desktop, POINT{10, 5}, visible);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetObjectType(dc), OBJ_DC);
    int type = 0;
    EXPECT_EQ(ClipBox(dc, &type), CRect(0, 0, 20, 20));
    EXPECT_EQ(type, COMPLEXREGION);
    RECT all{0, 0, 100, 100};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    int painted = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) painted += desktop.At(x, y) != 0;
    EXPECT_EQ(painted, 16 * 20);
    EXPECT_EQ(desktop.At(10, 5), 0xFFFFFFu);
    EXPECT_EQ(desktop.At(19, 10), 0u) << "the hole in the visible region";
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 40);
    // Handed out again for a window with nothing to paint.
    ASSERT_TRUE(tq3::fw::ResetSurfaceDC(dc, &desktop, POINT{0, 0}, Region()));
    ClipBox(dc, &type);
    EXPECT_EQ(type, NULLREGION);
    EXPECT_FALSE(PtVisible(dc, 0, 0));
    EXPECT_TRUE(tq3::fw::ReleaseSurfaceDC(dc));
    EXPECT_EQ(GetObjectType(dc), 0u);
    EXPECT_FALSE(tq3::fw::ReleaseSurfaceDC(dc));
}

TEST(DeviceContext, MemoryContextsAndBitmapSelection) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetObjectType(dc), OBJ_MEMDC);
    // A new memory context holds a 1x1 one-bit bitmap.
    BITMAP bm{};
    ASSERT_GT(GetObjectW(GetCurrentObject(dc, OBJ_BITMAP), sizeof bm, &bm), 0);
    EXPECT_EQ(CSize(bm.bmWidth, bm.bmBitsPixel), CSize(1, 1));
    EXPECT_EQ(ClipBox(dc), CRect(0, 0, 1, 1));
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 20, 10);
    HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), bitmap);
    EXPECT_EQ(ClipBox(dc), CRect(0, 0, 20, 10));
    // A bitmap lives in one memory context at a time, and never in a window context.
    HDC other = CreateCompatibleDC(dc);
    EXPECT_EQ(SelectObject(other, bitmap), nullptr);
    Surface desktop(4, 4);
    HDC window = tq3::fw::CreateSurfaceDC(&desktop, POINT{0, 0}, Region(0, 0, 4, 4));
    EXPECT_EQ(SelectObject(window, bitmap), nullptr);
    EXPECT_FALSE(DeleteObject(bitmap)) << "selected bitmaps are not deleted";
    EXPECT_EQ(SelectObject(dc, old), bitmap);
    EXPECT_NE(SelectObject(other, bitmap), nullptr);
    DeleteDC(other);
    EXPECT_TRUE(DeleteObject(bitmap));
    tq3::fw::ReleaseSurfaceDC(window);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
}

TEST(DeviceContext, SelectObjectReturnsThePreviousObjectAndDefersDeletion) {
    Canvas canvas(4, 4);
    HDC dc = canvas.dc();
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    EXPECT_EQ(oldPen, GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(dc, GetStockObject(WHITE_BRUSH)), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT)), GetStockObject(SYSTEM_FONT));
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
    EXPECT_TRUE(PtVisible(dc, 1, 1) && PtVisible(dc, 2, 2)) << "the clip is the context's own copy";
    EXPECT_FALSE(PtVisible(dc, 0, 0));
    EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
    EXPECT_EQ(SelectObject(nullptr, GetStockObject(BLACK_PEN)), nullptr);
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
    SetTextColor(dc, RGB(3, 3, 3));
    SetBkMode(dc, TRANSPARENT);
    EXPECT_EQ(SaveDC(dc), 3);
    SetTextColor(dc, RGB(4, 4, 4));
    for (int level : {0, 4, -4}) EXPECT_FALSE(RestoreDC(dc, level)) << level;
    EXPECT_EQ(GetTextColor(dc), RGB(4, 4, 4)) << "a refused restore changes nothing";

    ASSERT_TRUE(RestoreDC(dc, -2));  // back to level 2
    EXPECT_EQ(GetTextColor(dc), RGB(2, 2, 2));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), red);
    EXPECT_EQ(ClipBox(dc), CRect(-3, -3, 2, 2)) << "the clip is in device units, the box in logical";
    EXPECT_EQ(SaveDC(dc), 2) << "levels above the restored one are gone";
    // The red brush is deleted while held by a saved state: it survives until restored away.
    EXPECT_TRUE(DeleteObject(red));
    ASSERT_TRUE(RestoreDC(dc, 1));
    EXPECT_EQ(GetTextColor(dc), RGB(1, 1, 1));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetObjectType(red), 0u);
    EXPECT_EQ(ClipBox(dc), CRect(0, 0, 20, 20));
    CPoint org(-1, -1);
    GetViewportOrgEx(dc, &org);
    EXPECT_EQ(org, CPoint(0, 0));
    EXPECT_FALSE(RestoreDC(dc, -1)) << "nothing saved any more";
}

TEST(DeviceContext, ClipOperationsAndTheirResults) {
    Canvas canvas(20, 20);
    HDC dc = canvas.dc();
    HRGN out = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(dc, out), 0) << "no clip region of its own yet";
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
        {"offset", [&] { return OffsetClipRgn(dc, 5, 0); }, COMPLEXREGION, {7, 2, 15, 10}},
        {"copy", [&] { return ExtSelectClipRgn(dc, r, RGN_COPY); }, SIMPLEREGION, {2, 2, 10, 10}},
        {"diff", [&] { return ExtSelectClipRgn(dc, r, RGN_DIFF); }, NULLREGION, {0, 0, 0, 0}},
        {"or", [&] { return ExtSelectClipRgn(dc, r, RGN_OR); }, SIMPLEREGION, {2, 2, 10, 10}},
        {"xor", [&] { return ExtSelectClipRgn(dc, r, RGN_XOR); }, NULLREGION, {0, 0, 0, 0}},
        {"clear", [&] { return SelectClipRgn(dc, nullptr); }, SIMPLEREGION, {0, 0, 20, 20}},
        {"outside", [&] { return IntersectClipRect(dc, 30, 30, 40, 40); }, NULLREGION, {0, 0, 0, 0}},
        {"bad mode", [&] { return ExtSelectClipRgn(dc, r, 99); }, ERROR, {0, 0, 0, 0}},
        {"bad region", [&] { return SelectClipRgn(dc, reinterpret_cast<HRGN>(dc)); }, ERROR, {0, 0, 0, 0}},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(s.run(), s.expected) << s.what;
        EXPECT_EQ(ClipBox(dc), CRect(s.box)) << s.what;
    }
    EXPECT_EQ(GetClipRgn(dc, out), 1);
    EXPECT_EQ(GetClipRgn(dc, nullptr), -1);
    RECT visible{1, 1, 3, 3};
    SelectClipRgn(dc, nullptr);
    EXPECT_TRUE(RectVisible(dc, &visible));
    DeleteObject(r);
    DeleteObject(out);
}

TEST(DeviceContext, ViewportAndWindowOriginsMoveDrawing) {
    Canvas canvas(10, 10);
    HDC dc = canvas.dc();
    CPoint prev;
    SetViewportOrgEx(dc, 4, 4, nullptr);
    OffsetViewportOrgEx(dc, 1, 0, &prev);
    EXPECT_EQ(prev, CPoint(4, 4));
    SetWindowOrgEx(dc, 2, 2, nullptr);
    // logical (3, 3) -> device (3 - 2 + 5, 3 - 2 + 4) = (6, 5)
    SetPixel(dc, 3, 3, RGB(255, 0, 0));
    EXPECT_EQ(canvas.at(6, 5), RGB(255, 0, 0));
    CPoint p(3, 3);
    LPtoDP(dc, &p, 1);
    EXPECT_EQ(p, CPoint(6, 5));
    DPtoLP(dc, &p, 1);
    EXPECT_EQ(p, CPoint(3, 3));
    // IntersectClipRect takes logical units.
    IntersectClipRect(dc, 3, 3, 4, 4);
    EXPECT_EQ(ClipBox(dc), CRect(3, 3, 4, 4));
    EXPECT_FALSE(PtVisible(dc, 4, 3));
}

}  // namespace
}  // namespace tq3::test
