// The drawing calls over the pixel engine.
//
// Sections: helpers (coordinates, brushes, pens); fills and raster operations;
// blits; lines and shapes; pixels; regions.
//
// Call flow: every call resolves its context (DcOf), moves its coordinates to the
// surface (DcState::Offset) and hands a clipped job to raster.cpp. Pens go through
// Stroke, which plots single pixels (ROP2) or, for wide pens, fills a region so
// that no pixel is touched twice.
#include "framework/gdi/draw.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "framework/gdi/dc.h"
#include "framework/gdi/raster.h"
#include "framework/gdi/sysmetrics.h"

using namespace tq3::fw;
using namespace tq3::fw::gdi;

namespace {

// ---- Helpers -------------------------------------------------------------------------
// Coordinates far outside any surface are pulled in to 2^30 so that sums and
// differences of them cannot overflow; such pixels are clipped away anyway.
LONG Near(long long v) {
    constexpr long long kFar = 1LL << 30;
    return static_cast<LONG>(v < -kFar ? -kFar : v > kFar ? kFar : v);
}

RECT ToSurface(const DcState& s, const RECT& r) {
    POINT off = s.Offset();
    return RECT{Near(static_cast<long long>(r.left) + off.x), Near(static_cast<long long>(r.top) + off.y),
                Near(static_cast<long long>(r.right) + off.x), Near(static_cast<long long>(r.bottom) + off.y)};
}

RECT Ordered(int left, int top, int right, int bottom) {
    RECT r{left, top, right, bottom};
    if (r.right < r.left) std::swap(r.left, r.right);
    if (r.bottom < r.top) std::swap(r.top, r.bottom);
    return r;
}

RECT Normalised(int x, int y, int w, int h) {
    return Ordered(Near(x), Near(y), Near(static_cast<long long>(x) + w), Near(static_cast<long long>(y) + h));
}

HBRUSH BrushArgument(HBRUSH brush) {
    auto v = reinterpret_cast<std::uintptr_t>(brush);
    if (v > 0 && v <= static_cast<std::uintptr_t>(COLOR_MENUBAR + 1)) return GetSysColorBrush(static_cast<int>(v) - 1);
    return brush;
}

// Cosmetic pen styles: lengths of alternating on and off runs, in pixels.
struct Dashes {
    const int* runs = nullptr;
    int count = 0;
};

Dashes DashesOf(UINT style) {
    static const int dash[] = {18, 6};
    static const int dot[] = {3, 3};
    static const int dashDot[] = {9, 6, 3, 6};
    static const int dashDotDot[] = {9, 3, 3, 3, 3, 3};
    switch (style) {
        case PS_DASH:
            return {dash, 2};
        case PS_DOT:
            return {dot, 2};
        case PS_DASHDOT:
            return {dashDot, 4};
        case PS_DASHDOTDOT:
            return {dashDotDot, 6};
        default:
            return {};
    }
}

// Draws line segments (surface units) with the context's pen.
class Stroke {
public:
    explicit Stroke(DcState& s) : s_(s), clip_(s.Clip()) {
        const LOGPEN* pen = PenOf(s.at.pen);
        if (!pen || (pen->lopnStyle & PS_STYLE_MASK) == PS_NULL) return;
        active_ = true;
        color_ = ToPixel(pen->lopnColor);
        width_ = pen->lopnWidth.x > 1 ? pen->lopnWidth.x : 1;
        dashes_ = DashesOf(pen->lopnStyle & PS_STYLE_MASK);
    }
    ~Stroke() { Flush(); }

    bool Active() const { return active_; }

    // Styled lines continue their dash pattern from one segment to the next.
    void Segment(POINT a, POINT b) {
        if (!active_) return;
        if (width_ == 1 && dashes_.count == 0 && (a.x == b.x || a.y == b.y)) {
            // Grid lines: a straight solid line is a one-pixel rectangle that
            // stops short of its last point.
            RECT r = a.y == b.y ? (a.x < b.x ? RECT{a.x, a.y, b.x, a.y + 1} : RECT{b.x + 1, a.y, a.x + 1, a.y + 1})
                                : (a.y < b.y ? RECT{a.x, a.y, a.x + 1, b.y} : RECT{a.x, b.y + 1, a.x + 1, a.y + 1});
            Rop2Rect(*s_.surface, clip_, r, SolidPaint(color_), s_.at.rop2);
            return;
        }
        RECT box = clip_.Bounds();
        RECT limit{box.left - width_, box.top - width_, box.right + width_, box.bottom + width_};
        LinePixels(a.x, a.y, b.x, b.y, limit, [&](int x, int y, long long step) { Plot(x, y, phase_ + step); });
        long long dx = b.x > a.x ? static_cast<long long>(b.x) - a.x : static_cast<long long>(a.x) - b.x;
        long long dy = b.y > a.y ? static_cast<long long>(b.y) - a.y : static_cast<long long>(a.y) - b.y;
        phase_ += dx > dy ? dx : dy;
    }

private:
    bool DashOn(long long step) const {
        int total = 0;
        for (int i = 0; i < dashes_.count; ++i) total += dashes_.runs[i];
        long long at = step % total;
        for (int i = 0; i < dashes_.count; ++i) {
            if (at < dashes_.runs[i]) return i % 2 == 0;
            at -= dashes_.runs[i];
        }
        return true;
    }

    void Plot(int x, int y, long long step) {
        bool on = dashes_.count == 0 || DashOn(step);
        Pixel c = color_;
        if (!on) {
            if (s_.at.bkMode != OPAQUE) return;
            c = ToPixel(s_.at.bkColor);  // gaps of a styled line take the background
        }
        if (width_ > 1) {
            try {
                wide_.Union(RECT{x - width_ / 2, y - width_ / 2, x - width_ / 2 + width_, y - width_ / 2 + width_});
            } catch (const std::bad_alloc&) {
            }
            return;
        }
        if (!clip_.Contains(x, y)) return;
        Pixel& d = s_.surface->Row(y)[x];
        d = ApplyRop2(s_.at.rop2, c, d);
    }

    void Flush() {
        if (width_ <= 1 || wide_.IsEmpty()) return;
        Paint p = SolidPaint(color_);
        wide_.Intersect(clip_);
        wide_.ForEachRect([&](const RECT& r) { Rop2Rect(*s_.surface, clip_, r, p, s_.at.rop2); });
    }

    DcState& s_;
    const Region& clip_;
    bool active_ = false;
    Pixel color_ = 0;
    int width_ = 1;
    Dashes dashes_;
    long long phase_ = 0;
    Region wide_;
};

std::vector<POINT> ToSurfacePoints(const DcState& s, const POINT* points, int count) {
    POINT off = s.Offset();
    std::vector<POINT> out(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        out[static_cast<std::size_t>(i)] = POINT{Near(static_cast<long long>(points[i].x) + off.x),
                                                 Near(static_cast<long long>(points[i].y) + off.y)};
    }
    return out;
}

void FillSpans(DcState& s, const std::vector<Span>& spans, const Paint& paint) {
    const Region& clip = s.Clip();
    for (const Span& sp : spans) Rop2Rect(*s.surface, clip, RECT{sp.x0, sp.y, sp.x1, sp.y + 1}, paint, s.at.rop2);
}

BOOL FillPolygons(HDC dc, const POINT* points, const INT* counts, int polygons) {
    DcState* s = DcOf(dc);
    if (!s || !points || !counts || polygons <= 0) return FALSE;
    long long total = 0;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 2) return FALSE;
        total += counts[i];
    }
    if (!s->surface) return TRUE;
    try {
        std::vector<POINT> pts = ToSurfacePoints(*s, points, static_cast<int>(total));
        RECT limit = s->Clip().Bounds();
        Paint paint = ResolveBrush(*s, s->at.brush);
        if (!paint.none) FillSpans(*s, ScanPolygon(pts.data(), counts, polygons, s->at.polyFillMode, limit), paint);
        Stroke stroke(*s);
        const POINT* p = pts.data();
        for (int k = 0; k < polygons; ++k) {
            int n = counts[k];
            for (int i = 0; i < n; ++i) stroke.Segment(p[i], p[(i + 1) % n]);
            p += n;
        }
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    return TRUE;
}

}  // namespace

// ---- Fills and raster operations -------------------------------------------------------
int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    DcState* s = DcOf(dc);
    brush = BrushArgument(brush);
    if (!s || !rect || !BrushOf(brush)) return FALSE;
    if (!s->surface) return TRUE;
    PatRect(*s->surface, s->Clip(), ToSurface(*s, *rect), ResolveBrush(*s, brush), Rop3Code(PATCOPY));
    return TRUE;
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush) {
    DcState* s = DcOf(dc);
    brush = BrushArgument(brush);
    if (!s || !rect || !BrushOf(brush)) return FALSE;
    if (rect->right <= rect->left || rect->bottom <= rect->top || !s->surface) return TRUE;
    RECT r = ToSurface(*s, *rect);
    Region frame(r);
    frame.Subtract(RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
    PatRegion(*s->surface, s->Clip(), frame, ResolveBrush(*s, brush), Rop3Code(PATCOPY));
    return TRUE;
}

BOOL InvertRect(HDC dc, const RECT* rect) {
    DcState* s = DcOf(dc);
    if (!s || !rect) return FALSE;
    if (!s->surface) return TRUE;
    PatRect(*s->surface, s->Clip(), ToSurface(*s, *rect), Paint{}, Rop3Code(DSTINVERT));
    return TRUE;
}

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop) {
    DcState* s = DcOf(dc);
    std::uint8_t code = Rop3Code(rop);
    if (!s || RopUsesSource(code)) return FALSE;
    if (!s->surface) return TRUE;
    PatRect(*s->surface, s->Clip(), ToSurface(*s, Normalised(x, y, width, height)), ResolveBrush(*s, s->at.brush),
            code);
    return TRUE;
}

// ---- Blits ------------------------------------------------------------------------------------
BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop) {
    DcState* d = DcOf(dst);
    std::uint8_t code = Rop3Code(rop);
    if (!d) return FALSE;
    if (!RopUsesSource(code)) return PatBlt(dst, x, y, width, height, rop);
    DcState* sc = DcOf(src);
    if (!sc || width < 0 || height < 0) return FALSE;
    if (!d->surface || !sc->surface) return TRUE;
    RECT r = ToSurface(*d, Normalised(x, y, width, height));
    POINT so = sc->Offset();
    Paint paint = RopUsesPattern(code) ? ResolveBrush(*d, d->at.brush) : Paint{};
    BlitRect(*d->surface, d->Clip(), r, *sc->surface, Near(static_cast<long long>(xSrc) + so.x),
             Near(static_cast<long long>(ySrc) + so.y), paint, code);
    return TRUE;
}

BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int widthSrc,
                int heightSrc, DWORD rop) {
    if (width == widthSrc && height == heightSrc) return BitBlt(dst, x, y, width, height, src, xSrc, ySrc, rop);
    DcState* d = DcOf(dst);
    DcState* sc = DcOf(src);
    std::uint8_t code = Rop3Code(rop);
    if (!d || !sc || width <= 0 || height <= 0 || widthSrc <= 0 || heightSrc <= 0) return FALSE;
    if (!d->surface || !sc->surface) return TRUE;
    // Scale the visible part of the destination into a scratch surface, then blit that.
    RECT r = ToSurface(*d, Normalised(x, y, width, height));
    RECT box = d->Clip().Bounds();
    RECT part{std::max(r.left, box.left), std::max(r.top, box.top), std::min(r.right, box.right),
              std::min(r.bottom, box.bottom)};
    if (part.right <= part.left || part.bottom <= part.top) return TRUE;
    Surface scaled;
    try {
        scaled.Resize(part.right - part.left, part.bottom - part.top);
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    POINT so = sc->Offset();
    const Surface& from = *sc->surface;
    for (int j = 0; j < scaled.Height(); ++j) {
        long long sy = static_cast<long long>(ySrc) + so.y +
                       (static_cast<long long>(part.top) - r.top + j) * heightSrc / height;
        for (int i = 0; i < scaled.Width(); ++i) {
            long long sx = static_cast<long long>(xSrc) + so.x +
                           (static_cast<long long>(part.left) - r.left + i) * widthSrc / width;
            bool inside = sx >= 0 && sy >= 0 && sx < from.Width() && sy < from.Height();
            scaled.Set(i, j, inside ? from.At(static_cast<int>(sx), static_cast<int>(sy)) : 0);
        }
    }
    Paint paint = RopUsesPattern(code) ? ResolveBrush(*d, d->at.brush) : Paint{};
    BlitRect(*d->surface, d->Clip(), part, scaled, 0, 0, paint, code);
    return TRUE;
}

// ---- Lines and shapes ------------------------------------------------------------------------
BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
    DcState* s = DcOf(dc);
    if (!s) return FALSE;
    if (previous) *previous = s->at.position;
    s->at.position = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
    DcState* s = DcOf(dc);
    if (!s) return FALSE;
    if (s->surface) {
        POINT off = s->Offset();
        Stroke stroke(*s);
        stroke.Segment(POINT{Near(static_cast<long long>(s->at.position.x) + off.x),
                             Near(static_cast<long long>(s->at.position.y) + off.y)},
                       POINT{Near(static_cast<long long>(x) + off.x), Near(static_cast<long long>(y) + off.y)});
    }
    s->at.position = POINT{x, y};
    return TRUE;
}

BOOL Polyline(HDC dc, const POINT* points, int count) {
    DcState* s = DcOf(dc);
    if (!s || !points || count < 2) return FALSE;
    if (!s->surface) return TRUE;
    try {
        std::vector<POINT> pts = ToSurfacePoints(*s, points, count);
        Stroke stroke(*s);
        for (int i = 0; i + 1 < count; ++i) stroke.Segment(pts[static_cast<std::size_t>(i)], pts[static_cast<std::size_t>(i) + 1]);
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    return TRUE;
}

BOOL Polygon(HDC dc, const POINT* points, int count) { return FillPolygons(dc, points, &count, 1); }

BOOL PolyPolygon(HDC dc, const POINT* points, const INT* counts, int polygons) {
    return FillPolygons(dc, points, counts, polygons);
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    DcState* s = DcOf(dc);
    if (!s) return FALSE;
    RECT r = Ordered(Near(left), Near(top), Near(right), Near(bottom));
    if (!s->surface || r.right <= r.left || r.bottom <= r.top) return TRUE;
    RECT sr = ToSurface(*s, r);
    Stroke stroke(*s);
    Paint paint = ResolveBrush(*s, s->at.brush);
    // With a pen the outline covers the edge pixels and the brush the inside; with
    // none the brush covers the rectangle less its right column and bottom row.
    RECT inside = stroke.Active() ? RECT{sr.left + 1, sr.top + 1, sr.right - 1, sr.bottom - 1}
                                  : RECT{sr.left, sr.top, sr.right - 1, sr.bottom - 1};
    Rop2Rect(*s->surface, s->Clip(), inside, paint, s->at.rop2);
    if (stroke.Active()) {
        POINT c[4] = {{sr.left, sr.top}, {sr.right - 1, sr.top}, {sr.right - 1, sr.bottom - 1}, {sr.left, sr.bottom - 1}};
        if (sr.right == sr.left + 1 || sr.bottom == sr.top + 1) {
            // Degenerate outline: one line of pixels, each touched once.
            Region line(sr);
            Paint pen = SolidPaint(ToPixel(PenOf(s->at.pen)->lopnColor));
            line.ForEachRect([&](const RECT& b) { Rop2Rect(*s->surface, s->Clip(), b, pen, s->at.rop2); });
        } else {
            for (int i = 0; i < 4; ++i) stroke.Segment(c[i], c[(i + 1) % 4]);
        }
    }
    return TRUE;
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
    DcState* s = DcOf(dc);
    if (!s) return FALSE;
    RECT r = ToSurface(*s, Ordered(Near(left), Near(top), Near(right), Near(bottom)));
    long long w = static_cast<long long>(r.right) - r.left;
    long long h = static_cast<long long>(r.bottom) - r.top;
    if (!s->surface || w < 1 || h < 1) return TRUE;
    // A pixel is inside when its centre is inside the ellipse inscribed in the
    // rectangle's pixels; the outline is the inside pixels that touch the outside.
    const Region& clip = s->Clip();
    RECT box = clip.Bounds();
    if (r.top >= box.bottom || r.bottom <= box.top || r.left >= box.right || r.right <= box.left) return TRUE;
    double cx = r.left + static_cast<double>(w) / 2.0;
    double cy = r.top + static_cast<double>(h) / 2.0;
    double a = static_cast<double>(w) / 2.0;
    double b = static_cast<double>(h) / 2.0;
    auto halfWidth = [&](int y) -> double {
        if (y < r.top || y >= r.bottom) return -1;
        double t = (y + 0.5 - cy) / b;
        double q = 1 - t * t;
        return q < 0 ? -1 : a * std::sqrt(q);
    };
    auto inside = [&](int x, int y) {
        double hw = halfWidth(y);
        double dx = x + 0.5 - cx;
        return hw >= 0 && dx >= -hw && dx <= hw;
    };
    Stroke stroke(*s);
    const LOGPEN* pen = PenOf(s->at.pen);
    Paint penPaint = stroke.Active() && pen ? SolidPaint(ToPixel(pen->lopnColor)) : Paint{};
    Paint brush = ResolveBrush(*s, s->at.brush);
    int y0 = std::max(r.top, box.top);
    int y1 = std::min(r.bottom, box.bottom);
    for (int y = y0; y < y1; ++y) {
        int x0 = std::max(r.left, box.left);
        int x1 = std::min(r.right, box.right);
        for (int x = x0; x < x1; ++x) {
            if (!inside(x, y)) continue;
            bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
            const Paint& p = edge && !penPaint.none ? penPaint : brush;
            Rop2Rect(*s->surface, clip, RECT{x, y, x + 1, y + 1}, p, s->at.rop2);
        }
    }
    return TRUE;
}

// ---- Pixels ------------------------------------------------------------------------------------
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    DcState* s = DcOf(dc);
    if (!s || !s->surface) return CLR_INVALID;
    POINT off = s->Offset();
    if (!s->Clip().Contains(x + off.x, y + off.y)) return CLR_INVALID;
    s->surface->Set(x + off.x, y + off.y, ToPixel(color));
    return color & 0x00FFFFFF;
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color) { return SetPixel(dc, x, y, color) != CLR_INVALID; }

COLORREF GetPixel(HDC dc, int x, int y) {
    DcState* s = DcOf(dc);
    if (!s || !s->surface) return CLR_INVALID;
    POINT off = s->Offset();
    if (!s->Clip().Contains(x + off.x, y + off.y)) return CLR_INVALID;
    return ToColorRef(s->surface->At(x + off.x, y + off.y));
}

// ---- Regions ------------------------------------------------------------------------------------
namespace {

// The region moved to surface units, or nullptr on a bad handle.
bool SurfaceRegion(const DcState& s, HRGN region, Region* out) {
    const Region* r = RegionOf(region);
    if (!r) return false;
    *out = *r;
    POINT off = s.Offset();
    out->Offset(off.x, off.y);
    return true;
}

BOOL PaintRegion(HDC dc, HRGN region, HBRUSH brush, DWORD rop) {
    DcState* s = DcOf(dc);
    Region area;
    if (!s || !SurfaceRegion(*s, region, &area)) return FALSE;
    if (brush && !BrushOf(brush)) return FALSE;
    if (!s->surface) return TRUE;
    PatRegion(*s->surface, s->Clip(), area, brush ? ResolveBrush(*s, brush) : Paint{}, Rop3Code(rop));
    return TRUE;
}

}  // namespace

BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush) {
    brush = BrushArgument(brush);
    if (!brush) return FALSE;
    return PaintRegion(dc, region, brush, PATCOPY);
}

BOOL PaintRgn(HDC dc, HRGN region) {
    DcState* s = DcOf(dc);
    if (!s) return FALSE;
    return PaintRegion(dc, region, s->at.brush, PATCOPY);
}

BOOL InvertRgn(HDC dc, HRGN region) { return PaintRegion(dc, region, nullptr, DSTINVERT); }

BOOL FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height) {
    DcState* s = DcOf(dc);
    brush = BrushArgument(brush);
    Region area;
    if (!s || !BrushOf(brush) || !SurfaceRegion(*s, region, &area) || width < 0 || height < 0) return FALSE;
    if (!s->surface) return TRUE;
    // The frame is the region less the region shrunk by width and height; a
    // frame wider than the region is the whole region.
    RECT bounds = area.Bounds();
    width = std::min(width, static_cast<int>(bounds.right - bounds.left));
    height = std::min(height, static_cast<int>(bounds.bottom - bounds.top));
    Region inner(area);
    for (int i = 1; i <= width; ++i) {
        Region l(area), r(area);
        l.Offset(i, 0);
        r.Offset(-i, 0);
        inner.Intersect(l);
        inner.Intersect(r);
    }
    for (int i = 1; i <= height; ++i) {
        Region u(area), d(area);
        u.Offset(0, i);
        d.Offset(0, -i);
        inner.Intersect(u);
        inner.Intersect(d);
    }
    area.Subtract(inner);
    PatRegion(*s->surface, s->Clip(), area, ResolveBrush(*s, brush), Rop3Code(PATCOPY));
    return TRUE;
}
