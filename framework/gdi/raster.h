// The pixel engine under the drawing calls: raster operations, brush patterns,
// clipped fills and blits on a Surface. Everything here is in surface units and
// takes the clip region explicitly; nothing knows about handles.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "framework/gdi/region.h"
#include "framework/gdi/surface.h"

namespace tq3::fw::gdi {

struct DcState;

// A brush made ready for one context: its colours resolved against the
// context's text and background colours and its pattern phased to the brush origin.
struct Paint {
    bool none = true;    // nothing to paint (null brush)
    bool solid = false;  // one colour
    Pixel color = 0;
    std::array<Pixel, 64> pattern{};  // 8x8 pattern, row by row
    std::array<bool, 64> skip{};      // pattern pixels left alone (hatch on a transparent background)
    bool anySkip = false;
    int phaseX = 0;  // surface x of a pattern column 0
    int phaseY = 0;

    Pixel At(int x, int y) const {
        return solid ? color : pattern[static_cast<std::size_t>(((y - phaseY) & 7) * 8 + ((x - phaseX) & 7))];
    }
    bool Skips(int x, int y) const {
        return anySkip && skip[static_cast<std::size_t>(((y - phaseY) & 7) * 8 + ((x - phaseX) & 7))];
    }
};

Paint ResolveBrush(const DcState& dc, HBRUSH brush);
Paint SolidPaint(Pixel color);

// Raster operations. ROP2 combines pen P and destination D; ROP3 (the third byte of
// a BitBlt code) combines pattern P, source S and destination D.
Pixel ApplyRop2(int rop2, Pixel pen, Pixel dst);
Pixel ApplyRop3(std::uint8_t rop, Pixel pat, Pixel src, Pixel dst);
inline std::uint8_t Rop3Code(DWORD rop) { return static_cast<std::uint8_t>((rop >> 16) & 0xFF); }
inline bool RopUsesSource(std::uint8_t rop) { return ((rop >> 2) ^ rop) & 0x33; }
inline bool RopUsesPattern(std::uint8_t rop) { return ((rop >> 4) ^ rop) & 0x0F; }

// Calls f(left, top, right, bottom) for each piece of `r` inside `clip`.
template <typename F>
void ForEachClipped(const Region& clip, const RECT& r, F&& f) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(const_cast<pixman_region32_t*>(clip.Native()), &n);
    for (int i = 0; i < n; ++i) {
        const pixman_box32_t& b = boxes[i];
        if (b.y1 >= r.bottom) break;  // bands are sorted top to bottom
        int l = b.x1 > r.left ? b.x1 : r.left;
        int t = b.y1 > r.top ? b.y1 : r.top;
        int rr = b.x2 < r.right ? b.x2 : r.right;
        int bb = b.y2 < r.bottom ? b.y2 : r.bottom;
        if (l < rr && t < bb) f(l, t, rr, bb);
    }
}

// Pattern-and-destination operation (PatBlt, FillRect) over r ∩ clip.
void PatRect(Surface& s, const Region& clip, const RECT& r, const Paint& paint, std::uint8_t rop);
// The same over every box of `area` ∩ clip.
void PatRegion(Surface& s, const Region& clip, const Region& area, const Paint& paint, std::uint8_t rop);
// Fills r ∩ clip combining the paint with ROP2 (shape interiors).
void Rop2Rect(Surface& s, const Region& clip, const RECT& r, const Paint& paint, int rop2);
// Source operation: dst rectangle `r` takes pixels from `src` at (sx, sy) for its
// top-left corner. Overlapping source and destination on the same surface are
// correct in every direction.
void BlitRect(Surface& dst, const Region& clip, const RECT& r, const Surface& src, int sx, int sy,
              const Paint& paint, std::uint8_t rop);

// A horizontal run of pixels [x0, x1) on row y.
struct Span {
    int y;
    int x0;
    int x1;
};

// Scan conversion of a closed polygon: a pixel (x, y) is inside when the point
// (x, y) is, with left and top edges inside and right and bottom edges outside, so
// that a polygon of a rectangle's corners covers exactly that rectangle. Only rows
// and columns inside `limit` are produced, so absurd coordinates cost nothing.
std::vector<Span> ScanPolygon(const POINT* points, const int* counts, int polygons, int fillMode, const RECT& limit);

// The pixels of a line from (x0, y0) towards (x1, y1), the last point excluded:
// plot(x, y, step). Along the longer axis every step moves one pixel; the other
// axis follows i * minor / major rounded to the nearest pixel, halves rounding
// back towards the start (the classic midpoint rule). Only steps whose pixels can
// fall inside `limit` are visited, so a line across the whole coordinate space
// costs what its visible part costs.
template <typename F>
void LinePixels(int x0, int y0, int x1, int y1, const RECT& limit, F&& plot) {
    long long dx = x1 > x0 ? static_cast<long long>(x1) - x0 : static_cast<long long>(x0) - x1;
    long long dy = y1 > y0 ? static_cast<long long>(y1) - y0 : static_cast<long long>(y0) - y1;
    int sx = x1 > x0 ? 1 : -1;
    int sy = y1 > y0 ? 1 : -1;
    bool xMajor = dx >= dy;
    long long major = xMajor ? dx : dy;
    long long minor = xMajor ? dy : dx;
    if (major == 0) return;
    long long a0 = xMajor ? x0 : y0;
    long long b0 = xMajor ? y0 : x0;
    int sa = xMajor ? sx : sy;
    int sb = xMajor ? sy : sx;
    long long aLo = xMajor ? limit.left : limit.top;
    long long aHi = xMajor ? limit.right : limit.bottom;
    long long bLo = xMajor ? limit.top : limit.left;
    long long bHi = xMajor ? limit.bottom : limit.right;
    // Steps whose major coordinate is inside the limit.
    long long iLo = sa > 0 ? aLo - a0 : a0 - aHi + 1;
    long long iHi = sa > 0 ? aHi - a0 : a0 - aLo + 1;
    if (minor > 0) {
        // Steps whose minor offset can reach the limit (with a little slack).
        long long mLo = sb > 0 ? bLo - b0 : b0 - bHi + 1;
        long long mHi = sb > 0 ? bHi - b0 : b0 - bLo + 1;
        if (mLo > 0) iLo = iLo > mLo * major / minor - 2 ? iLo : mLo * major / minor - 2;
        if (mHi < minor + 1) iHi = iHi < mHi * major / minor + 2 ? iHi : mHi * major / minor + 2;
    }
    if (iLo < 0) iLo = 0;
    if (iHi > major) iHi = major;
    for (long long i = iLo; i < iHi; ++i) {
        long long m = (2 * minor * i + major - 1) / (2 * major);
        long long a = a0 + sa * i;
        long long b = b0 + sb * m;
        if (xMajor) {
            plot(static_cast<int>(a), static_cast<int>(b), i);
        } else {
            plot(static_cast<int>(b), static_cast<int>(a), i);
        }
    }
}

}  // namespace tq3::fw::gdi
