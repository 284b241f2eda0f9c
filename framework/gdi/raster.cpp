// The pixel engine: brush resolution, raster operations, clipped fills, blits and
// polygon scan conversion.
//
// Fills and blits walk the clip region's boxes (ForEachClipped). A fill takes each
// box whole where it can (PatBox: one colour, or an 8x8 pattern copied or inverted
// in whole pattern rows) and otherwise runs one loop per row; the common
// operations have their own loops, the others go through the generic ApplyRop3.
#include "framework/gdi/raster.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "framework/gdi/dc.h"
#include "framework/gdi/gdi_objects.h"

namespace tq3::fw::gdi {

constexpr Pixel kMask = 0x00FFFFFF;

Paint SolidPaint(Pixel color) {
    Paint p;
    p.none = false;
    p.solid = true;
    p.color = color & kMask;
    return p;
}

Paint ResolveBrush(const DcState& dc, HBRUSH brush) {
    const BrushData* b = BrushOf(brush);
    Paint p;
    if (!b || b->style == BS_NULL) return p;
    if (b->style == BS_SOLID) return SolidPaint(ToPixel(b->color));
    p.none = false;
    Pixel text = ToPixel(dc.at.textColor);
    Pixel back = ToPixel(dc.at.bkColor);
    for (std::size_t i = 0; i < 64; ++i) {
        Pixel v = b->pattern[i];
        if (b->style == BS_HATCHED) {
            // Hatch lines take the brush colour; the gaps the background colour,
            // or nothing on a transparent background.
            if (v == 0xFFFFFFFFu) {
                p.pattern[i] = back;
                p.skip[i] = dc.at.bkMode == TRANSPARENT;
                p.anySkip = p.anySkip || p.skip[i];
            } else {
                p.pattern[i] = v;
            }
        } else if (b->monochrome) {
            p.pattern[i] = v ? back : text;
        } else {
            p.pattern[i] = v & kMask;
        }
    }
    // The pattern is anchored at the context's device origin plus the brush origin.
    p.phaseX = dc.origin.x + dc.at.brushOrg.x;
    p.phaseY = dc.origin.y + dc.at.brushOrg.y;
    return p;
}

Pixel ApplyRop2(int rop2, Pixel pen, Pixel dst) {
    // The ROP2 code less one is a truth table indexed by (pen bit, destination bit).
    unsigned t = static_cast<unsigned>(rop2 - 1) & 0xF;
    Pixel r = 0;
    if (t & 1) r |= ~pen & ~dst;
    if (t & 2) r |= ~pen & dst;
    if (t & 4) r |= pen & ~dst;
    if (t & 8) r |= pen & dst;
    return r & kMask;
}

Pixel ApplyRop3(std::uint8_t rop, Pixel pat, Pixel src, Pixel dst) {
    // Bit i of the code answers for pattern bit i&4, source bit i&2, destination bit i&1.
    Pixel r = 0;
    for (unsigned i = 0; i < 8; ++i) {
        if (!((rop >> i) & 1)) continue;
        r |= ((i & 4) ? pat : ~pat) & ((i & 2) ? src : ~src) & ((i & 1) ? dst : ~dst);
    }
    return r & kMask;
}

namespace {

constexpr std::uint8_t kPatCopy = 0xF0;
constexpr std::uint8_t kPatInvert = 0x5A;
constexpr std::uint8_t kDstInvert = 0x55;
constexpr std::uint8_t kBlackness = 0x00;
constexpr std::uint8_t kWhiteness = 0xFF;
constexpr std::uint8_t kSrcCopy = 0xCC;
constexpr std::uint8_t kSrcInvert = 0x66;
constexpr std::uint8_t kSrcAnd = 0x88;
constexpr std::uint8_t kSrcPaint = 0xEE;
constexpr std::uint8_t kNotSrcCopy = 0x33;
// Boxes at least this wide are filled with one colour by pixman.
constexpr int kWideFill = 8;

void PatRow(Pixel* row, int y, int x0, int x1, const Paint& paint, std::uint8_t rop) {
    int n = x1 - x0;
    Pixel* p = row + x0;
    switch (rop) {
        case kBlackness:
            std::fill_n(p, n, 0);
            return;
        case kWhiteness:
            std::fill_n(p, n, kMask);
            return;
        case kDstInvert:
            for (int i = 0; i < n; ++i) p[i] ^= kMask;
            return;
        default:
            break;
    }
    if (paint.solid) {
        Pixel c = paint.color;
        // A copy of one colour never comes here: PatBox fills the whole box.
        switch (rop) {
            case kPatInvert:
                for (int i = 0; i < n; ++i) p[i] ^= c;
                return;
            default:
                for (int i = 0; i < n; ++i) p[i] = ApplyRop3(rop, c, 0, p[i]);
                return;
        }
    }
    for (int x = x0; x < x1; ++x) {
        if (paint.Skips(x, y)) continue;
        Pixel c = paint.At(x, y);
        Pixel& d = row[x];
        switch (rop) {
            case kPatCopy:
                d = c;
                break;
            case kPatInvert:
                d ^= c;
                break;
            default:
                d = ApplyRop3(rop, c, 0, d);
                break;
        }
    }
}

// The pattern turned so that each of its rows starts with the column that falls
// on surface x `left`, and written twice over (16 pixels a row): the rows of a
// box beginning there then take it in whole eight-pixel pieces instead of looking
// up every pixel, and any eight pixels of a row, wherever they start, are one piece.
std::array<Pixel, 128> AlignedPattern(const Paint& paint, int left) {
    std::array<Pixel, 128> rows;
    const int shift = (left - paint.phaseX) & 7;
    for (std::size_t r = 0; r < 8; ++r) {
        for (std::size_t k = 0; k < 16; ++k) rows[r * 16 + k] = paint.pattern[r * 8 + ((shift + k) & 7)];
    }
    return rows;
}

// The pixels [0, n) of a row take the aligned pattern row `line`, copied or
// combined by exclusive or.
void CopyPatternRow(Pixel* p, const Pixel* line, int n) {
    constexpr std::size_t kPiece = 8 * sizeof(Pixel);
    if (n < 8) {
        for (int i = 0; i < n; ++i) p[i] = line[i];
        return;
    }
    int i = 0;
    for (; i + 8 <= n; i += 8) std::memcpy(p + i, line, kPiece);
    // The last piece ends at the row's end and overlaps the one before.
    if (i < n) std::memcpy(p + n - 8, line + n % 8, kPiece);
}

void InvertPatternRow(Pixel* p, const Pixel* line, int n) {
    int i = 0;
    for (; i + 8 <= n; i += 8) {
        for (int k = 0; k < 8; ++k) p[i + k] ^= line[k];
    }
    for (int k = 0; i < n; ++i, ++k) p[i] ^= line[k];
}

// A pattern copied or inverted whole over a box (a scroll bar's track, a
// halftone fill or a dragged frame). Rows eight apart take the same pattern row,
// so the box is walked once for each of the eight.
void PatternBox(Surface& s, int l, int t, int r, int b, const Paint& paint, std::uint8_t rop) {
    const std::array<Pixel, 128> rows = AlignedPattern(paint, l);
    const int n = r - l;
    const std::size_t eightRows = 8 * static_cast<std::size_t>(s.Stride());
    for (int first = t; first < b && first < t + 8; ++first) {
        const Pixel* line = rows.data() + static_cast<std::size_t>(((first - paint.phaseY) & 7) * 16);
        Pixel* p = s.Row(first) + l;
        if (rop == kPatCopy) {
            for (int y = first; y < b; y += 8, p += eightRows) CopyPatternRow(p, line, n);
        } else {
            for (int y = first; y < b; y += 8, p += eightRows) InvertPatternRow(p, line, n);
        }
    }
}

// One box of a pattern operation, already inside the clip.
void PatBox(Surface& s, int l, int t, int r, int b, const Paint& paint, std::uint8_t rop) {
    if (paint.solid && rop == kPatCopy) {
        // The common fill of a box with one colour: pixman's fill uses the
        // processor's wide stores, several times faster than a row loop here on
        // wide boxes. On narrow ones (a frame's sides, a line) its set-up for every
        // row costs more than the row: they are filled here, a column at a time.
        if (r - l >= kWideFill) {
            pixman_fill(reinterpret_cast<std::uint32_t*>(s.Data()), s.Stride(), 32, l, t, r - l, b - t, paint.color);
            return;
        }
        const std::size_t stride = static_cast<std::size_t>(s.Stride());
        for (int x = l; x < r; ++x) {
            Pixel* p = s.Row(t) + x;
            for (int y = t; y < b; ++y, p += stride) *p = paint.color;
        }
        return;
    }
    if (!paint.solid && !paint.anySkip && (rop == kPatCopy || rop == kPatInvert)) {
        PatternBox(s, l, t, r, b, paint, rop);
        return;
    }
    for (int y = t; y < b; ++y) PatRow(s.Row(y), y, l, r, paint, rop);
}

void BlitRow(Pixel* d, const Pixel* s, int n, int x, int y, const Paint& paint, std::uint8_t rop) {
    switch (rop) {
        case kSrcCopy:
            std::memmove(d, s, static_cast<std::size_t>(n) * sizeof(Pixel));
            return;
        case kSrcInvert:
            for (int i = 0; i < n; ++i) d[i] ^= s[i];
            return;
        case kSrcAnd:
            for (int i = 0; i < n; ++i) d[i] &= s[i];
            return;
        case kSrcPaint:
            for (int i = 0; i < n; ++i) d[i] |= s[i];
            return;
        case kNotSrcCopy:
            for (int i = 0; i < n; ++i) d[i] = ~s[i] & kMask;
            return;
        default:
            for (int i = 0; i < n; ++i) {
                Pixel pat = paint.none ? 0 : paint.At(x + i, y);
                d[i] = ApplyRop3(rop, pat, s[i], d[i]);
            }
            return;
    }
}

}  // namespace

void PatRect(Surface& s, const Region& clip, const RECT& r, const Paint& paint, std::uint8_t rop) {
    if (paint.none && RopUsesPattern(rop)) return;
    ForEachClipped(clip, r, [&](int l, int t, int rr, int b) { PatBox(s, l, t, rr, b, paint, rop); });
}

void PatRegion(Surface& s, const Region& clip, const Region& area, const Paint& paint, std::uint8_t rop) {
    Region part(area);
    part.Intersect(clip);
    int n = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(part.Native(), &n);
    if (paint.none && RopUsesPattern(rop)) return;
    for (int i = 0; i < n; ++i) PatBox(s, boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2, paint, rop);
}

void Rop2Rect(Surface& s, const Region& clip, const RECT& r, const Paint& paint, int rop2) {
    if (paint.none) return;
    if (rop2 == R2_COPYPEN) {
        PatRect(s, clip, r, paint, kPatCopy);
        return;
    }
    ForEachClipped(clip, r, [&](int l, int t, int rr, int b) {
        for (int y = t; y < b; ++y) {
            Pixel* row = s.Row(y);
            for (int x = l; x < rr; ++x) {
                if (!paint.Skips(x, y)) row[x] = ApplyRop2(rop2, paint.At(x, y), row[x]);
            }
        }
    });
}

void BlitRect(Surface& dst, const Region& clip, const RECT& r, const Surface& src, int sx, int sy, const Paint& paint,
              std::uint8_t rop) {
    // Only the part of the destination that has source pixels behind it is drawn.
    // Callers keep coordinates within 2^30, so these differences fit.
    long long ldx = static_cast<long long>(sx) - r.left;  // source = destination + (dx, dy)
    long long ldy = static_cast<long long>(sy) - r.top;
    long long left = std::max<long long>(r.left, -ldx);
    long long top = std::max<long long>(r.top, -ldy);
    long long right = std::min<long long>(r.right, src.Width() - ldx);
    long long bottom = std::min<long long>(r.bottom, src.Height() - ldy);
    if (right <= left || bottom <= top) return;
    RECT area{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right), static_cast<LONG>(bottom)};
    int dx = static_cast<int>(ldx);
    int dy = static_cast<int>(ldy);

    const Surface* from = &src;
    Surface copy;
    bool same = &dst == &src;
    if (same && (dx != 0 || dy != 0)) {
        int boxes = 0;
        pixman_region32_rectangles(const_cast<pixman_region32_t*>(clip.Native()), &boxes);
        if (rop == kSrcCopy && boxes == 1) {
            // One box: copy rows in the order that never reads a row already
            // written (bottom-up when moving down); memmove handles each row's
            // horizontal overlap.
            ForEachClipped(clip, area, [&](int l, int t, int rr, int b) {
                std::size_t bytes = static_cast<std::size_t>(rr - l) * sizeof(Pixel);
                if (dy < 0) {  // moving down: source rows above destination rows
                    for (int y = b - 1; y >= t; --y) std::memmove(dst.Row(y) + l, dst.Row(y + dy) + l + dx, bytes);
                } else {
                    for (int y = t; y < b; ++y) std::memmove(dst.Row(y) + l, dst.Row(y + dy) + l + dx, bytes);
                }
            });
            return;
        }
        // Several boxes may read each other's output: take the source aside first.
        try {
            copy.Resize(area.right - area.left, area.bottom - area.top);
        } catch (const std::bad_alloc&) {
            return;
        }
        for (int y = area.top; y < area.bottom; ++y) {
            std::memcpy(copy.Row(y - area.top), src.Row(y + dy) + area.left + dx,
                        static_cast<std::size_t>(copy.Width()) * sizeof(Pixel));
        }
        from = &copy;
        dx = -area.left;
        dy = -area.top;
    }
    ForEachClipped(clip, area, [&](int l, int t, int rr, int b) {
        for (int y = t; y < b; ++y) BlitRow(dst.Row(y) + l, from->Row(y + dy) + l + dx, rr - l, l, y, paint, rop);
    });
}

// ---- Scan conversion ---------------------------------------------------------------
namespace {

struct Edge {
    int yTop;     // first row the edge crosses
    int yBottom;  // first row it no longer crosses
    long long x0; // x at yTop
    long long dx; // x change over the edge's height
    int winding;  // +1 downwards, -1 upwards

    // The first integer x at or right of the crossing with row y, exactly.
    int CeilX(int y) const {
        long long h = yBottom - yTop;
        long long num = x0 * h + dx * (y - yTop);
        long long q = num / h;
        if (num % h != 0 && num > 0) ++q;
        return static_cast<int>(q);
    }
};

}  // namespace

std::vector<Span> ScanPolygon(const POINT* points, const int* counts, int polygons, int fillMode, const RECT& limit) {
    std::vector<Span> spans;
    std::vector<Edge> edges;
    int yMin = INT32_MAX;
    int yMax = INT32_MIN;
    const POINT* p = points;
    for (int k = 0; k < polygons; ++k) {
        int n = counts[k];
        for (int i = 0; i < n; ++i) {
            // Coordinates are kept within 2^27 so the exact crossing arithmetic
            // cannot overflow.
            auto clamp = [](POINT q) {
                constexpr LONG kFar = 1 << 27;
                return POINT{std::clamp(q.x, -kFar, kFar), std::clamp(q.y, -kFar, kFar)};
            };
            POINT a = clamp(p[i]);
            POINT b = clamp(p[(i + 1) % n]);
            if (a.y == b.y) continue;  // horizontal edges cross no row
            int winding = a.y < b.y ? 1 : -1;
            if (a.y > b.y) std::swap(a, b);
            edges.push_back(Edge{a.y, b.y, a.x, static_cast<long long>(b.x) - a.x, winding});
            yMin = std::min(yMin, a.y);
            yMax = std::max(yMax, b.y);
        }
        p += n;
    }
    if (edges.empty()) return spans;
    struct Crossing {
        int x;
        int winding;
    };
    std::vector<Crossing> xs;
    yMin = std::max(yMin, limit.top);
    yMax = std::min(yMax, limit.bottom);
    auto emit = [&](int y, int x0, int x1) {
        x0 = std::max(x0, limit.left);
        x1 = std::min(x1, limit.right);
        if (x0 < x1) spans.push_back(Span{y, x0, x1});
    };
    for (int y = yMin; y < yMax; ++y) {
        xs.clear();
        for (const Edge& e : edges) {
            if (y < e.yTop || y >= e.yBottom) continue;
            xs.push_back(Crossing{e.CeilX(y), e.winding});
        }
        std::sort(xs.begin(), xs.end(), [](const Crossing& a, const Crossing& b) { return a.x < b.x; });
        if (fillMode == WINDING) {
            int wind = 0;
            for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
                wind += xs[i].winding;
                if (wind != 0) emit(y, xs[i].x, xs[i + 1].x);
            }
        } else {
            for (std::size_t i = 0; i + 1 < xs.size(); i += 2) {
                emit(y, xs[i].x, xs[i + 1].x);
            }
        }
    }
    return spans;
}

}  // namespace tq3::fw::gdi
