// Putting coverage onto the surface: glyph blending with integer arithmetic, box
// fills, and the clip rectangles a run may touch.
#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "framework/gdi/text/font_internal.h"

namespace tq3::fw::text {

namespace {

bool Intersect(const RECT& a, const RECT& b, RECT* out) {
    out->left = std::max(a.left, b.left);
    out->top = std::max(a.top, b.top);
    out->right = std::min(a.right, b.right);
    out->bottom = std::min(a.bottom, b.bottom);
    return out->left < out->right && out->top < out->bottom;
}

// dst + (src - dst) * a / 255, exactly rounded, red and blue in one word and green in
// another (each lane stays below 2^16).
inline Pixel Blend(Pixel dst, Pixel src, unsigned a) {
    unsigned inv = 255 - a;
    std::uint32_t rb = (src & 0xFF00FFu) * a + (dst & 0xFF00FFu) * inv + 0x800080u;
    rb = ((rb + ((rb >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
    std::uint32_t g = (src & 0x00FF00u) * a + (dst & 0x00FF00u) * inv + 0x008000u;
    g = ((g + ((g >> 8) & 0x00FF00u)) >> 8) & 0x00FF00u;
    return rb | g;
}

#if defined(__SSE2__)
// Four pixels blended with the same exactly rounded arithmetic as Blend, in 16-bit
// lanes (each channel's sum stays below 2^16). A pixel under coverage 0 comes out
// as it went in, so a group may reach over pixels the glyph leaves alone.
class FourPixels {
public:
    explicit FourPixels(Pixel color)
        : colorWide(_mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(color)), _mm_setzero_si128())) {}

    __m128i Blended(const Pixel* dst, const std::uint8_t* coverage) const {
        const __m128i zero = _mm_setzero_si128();
        const __m128i full = _mm_set1_epi16(255);
        const __m128i half = _mm_set1_epi16(0x80);
        std::uint32_t four;
        std::memcpy(&four, coverage, sizeof four);
        __m128i a = _mm_cvtsi32_si128(static_cast<int>(four));
        a = _mm_unpacklo_epi8(a, a);
        a = _mm_unpacklo_epi16(a, a);  // each coverage byte four times, one per channel
        const __m128i aLo = _mm_unpacklo_epi8(a, zero);
        const __m128i aHi = _mm_unpackhi_epi8(a, zero);
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
        __m128i lo = _mm_add_epi16(_mm_mullo_epi16(colorWide, aLo),
                                   _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), _mm_sub_epi16(full, aLo)));
        __m128i hi = _mm_add_epi16(_mm_mullo_epi16(colorWide, aHi),
                                   _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), _mm_sub_epi16(full, aHi)));
        lo = _mm_add_epi16(lo, half);
        hi = _mm_add_epi16(hi, half);
        lo = _mm_srli_epi16(_mm_add_epi16(lo, _mm_srli_epi16(lo, 8)), 8);
        hi = _mm_srli_epi16(_mm_add_epi16(hi, _mm_srli_epi16(hi, 8)), 8);
        return _mm_and_si128(_mm_packus_epi16(lo, hi), _mm_set1_epi32(0x00FFFFFF));
    }

    static void Store(Pixel* dst, __m128i pixels) { _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), pixels); }

private:
    __m128i colorWide;
};

// One row of a glyph. A row of four pixels or more goes in groups of four, the
// last group ending at the row's end; it may overlap the one before it, so it is
// blended from the row as it was before anything is stored, and both groups give
// the shared pixels the same values. A narrower row is one group when `roomForFour`
// says that four coverage bytes (the row's padding is zero) and four pixels may be
// taken: the pixels past the glyph come out as they went in. The work then has the
// same shape for every row of a glyph, whatever its coverage: a repainted page and
// a page never shown before cost the same, where tests of each pixel's coverage
// made the second one a fifth slower by the branches they mispredicted.
void BlendRow(Pixel* dst, const std::uint8_t* coverage, int width, bool roomForFour, Pixel color,
              const FourPixels& four) {
    if (width < 4) {
        if (roomForFour) {
            FourPixels::Store(dst, four.Blended(dst, coverage));
        } else {
            for (int i = 0; i < width; ++i) dst[i] = Blend(dst[i], color, coverage[i]);
        }
        return;
    }
    const int last = width - 4;
    const __m128i tail = four.Blended(dst + last, coverage + last);
    for (int i = 0; i < last; i += 4) FourPixels::Store(dst + i, four.Blended(dst + i, coverage + i));
    FourPixels::Store(dst + last, tail);
}
#else
class FourPixels {
public:
    explicit FourPixels(Pixel) {}
};

void BlendRow(Pixel* dst, const std::uint8_t* coverage, int width, bool, Pixel color, const FourPixels&) {
    for (int i = 0; i < width; ++i) dst[i] = Blend(dst[i], color, coverage[i]);
}
#endif

}  // namespace

void BlendGlyph(Surface& surface, const Glyph& glyph, int x, int y, Pixel color, const RECT& clip) {
    RECT box{x, y, x + glyph.width, y + glyph.rows};
    RECT area;
    if (!Intersect(box, clip, &area)) return;
    const int width = area.right - area.left;
    // Four pixels from the row's start may be taken when the row runs to the glyph's
    // end (what lies past it in the coverage is the zero padding) and the surface
    // holds them.
    const bool roomForFour = area.right == box.right && area.left - x + 4 <= glyph.stride &&
                             area.left + 4 <= surface.Width();
    const FourPixels four(color);
    for (int row = area.top; row < area.bottom; ++row) {
        const std::uint8_t* src = glyph.coverage.data() + static_cast<std::size_t>(row - y) * glyph.stride +
                                  (area.left - x);
        BlendRow(surface.Row(row) + area.left, src, width, roomForFour, color, four);
    }
}

void FillBox(Surface& surface, RECT box, Pixel color, const RECT& clip) {
    RECT area;
    if (!Intersect(box, clip, &area)) return;
    for (int row = area.top; row < area.bottom; ++row) {
        std::fill(surface.Row(row) + area.left, surface.Row(row) + area.right, color);
    }
}

std::vector<RECT> ClipRects(const TextTarget& target, const RECT& bounds) {
    std::vector<RECT> rects;
    if (target.surface == nullptr) return rects;
    RECT limit;
    if (!Intersect(bounds, RECT{0, 0, target.surface->Width(), target.surface->Height()}, &limit)) return rects;
    if (target.clip == nullptr) {
        rects.push_back(limit);
        return rects;
    }
    int count = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(const_cast<pixman_region32_t*>(target.clip->Native()),
                                                            &count);
    for (int i = 0; i < count; ++i) {
        RECT r;
        if (Intersect(RECT{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2}, limit, &r)) rects.push_back(r);
    }
    return rects;
}

}  // namespace tq3::fw::text
