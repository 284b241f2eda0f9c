#include "framework/gdi/rgn.h"

#include <new>
#include <vector>

#include "framework/gdi/dc.h"
#include "framework/gdi/raster.h"

using namespace tq3::fw;
using namespace tq3::fw::gdi;

namespace {

HRGN NewRegion(const Region& r) {
    try {
        auto o = std::make_unique<Object>();
        o->kind = Kind::Region;
        o->region = r;
        return static_cast<HRGN>(Insert(std::move(o)));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// Rectangles given in either order are normalised, as on the platform.
RECT Ordered(int left, int top, int right, int bottom) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    return RECT{left, top, right, bottom};
}

// Polygon regions are limited to the 16-bit coordinate space the platform offers.
constexpr RECT kPolygonLimit{-32768, -32768, 32767, 32767};

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return NewRegion(Region(Ordered(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
    if (!rect) return nullptr;
    return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode) {
    if (!points || !counts || polygons <= 0 || (fillMode != ALTERNATE && fillMode != WINDING)) return nullptr;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 0) return nullptr;
    }
    try {
        Region r;
        for (const Span& s : ScanPolygon(points, counts, polygons, fillMode, kPolygonLimit)) {
            r.Union(RECT{s.x0, s.y, s.x1, s.y + 1});
        }
        return NewRegion(r);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    return CreatePolyPolygonRgn(points, &count, 1, fillMode);
}

int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode) {
    Region* d = RegionOf(dst);
    const Region* a = RegionOf(src1);
    if (!d || !a) return ERROR;
    if (mode == RGN_COPY) {
        *d = *a;
        return RegionType(*d);
    }
    const Region* b = RegionOf(src2);
    if (!b) return ERROR;
    Region result(*a);
    switch (mode) {
        case RGN_AND:
            result.Intersect(*b);
            break;
        case RGN_OR:
            result.Union(*b);
            break;
        case RGN_XOR:
            result.Xor(*b);
            break;
        case RGN_DIFF:
            result.Subtract(*b);
            break;
        default:
            return ERROR;
    }
    *d = std::move(result);
    return RegionType(*d);
}

int OffsetRgn(HRGN region, int dx, int dy) {
    Region* r = RegionOf(region);
    if (!r) return ERROR;
    r->Offset(dx, dy);
    return RegionType(*r);
}

BOOL PtInRegion(HRGN region, int x, int y) {
    const Region* r = RegionOf(region);
    return r && r->Contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN region, const RECT* rect) {
    const Region* r = RegionOf(region);
    if (!r || !rect) return FALSE;
    return r->Intersects(Ordered(rect->left, rect->top, rect->right, rect->bottom)) ? TRUE : FALSE;
}

int GetRgnBox(HRGN region, LPRECT rect) {
    const Region* r = RegionOf(region);
    if (!r || !rect) return ERROR;
    *rect = r->Bounds();
    return RegionType(*r);
}

BOOL EqualRgn(HRGN a, HRGN b) {
    const Region* ra = RegionOf(a);
    const Region* rb = RegionOf(b);
    if (!ra || !rb) return ERROR;
    return *ra == *rb ? TRUE : FALSE;
}

BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
    Region* r = RegionOf(region);
    if (!r) return FALSE;
    r->SetRect(Ordered(left, top, right, bottom));
    return TRUE;
}
