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
// Four pixels at a time, with the same exactly rounded arithmetic as Blend, in 16-bit
// lanes (each channel's sum stays below 2^16). Returns how many pixels it did.
int BlendFour(Pixel* dst, const std::uint8_t* coverage, int width, Pixel color) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(255);
    const __m128i half = _mm_set1_epi16(0x80);
    const __m128i rgbMask = _mm_set1_epi32(0x00FFFFFF);
    const __m128i colorWide = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(color)), zero);
    int i = 0;
    for (; i + 4 <= width; i += 4) {
        std::uint32_t four;
        std::memcpy(&four, coverage + i, sizeof four);
        if (four == 0) continue;
        __m128i a = _mm_cvtsi32_si128(static_cast<int>(four));
        a = _mm_unpacklo_epi8(a, a);
        a = _mm_unpacklo_epi16(a, a);  // each coverage byte four times, one per channel
        const __m128i aLo = _mm_unpacklo_epi8(a, zero);
        const __m128i aHi = _mm_unpackhi_epi8(a, zero);
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst + i));
        __m128i lo = _mm_add_epi16(_mm_mullo_epi16(colorWide, aLo),
                                   _mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), _mm_sub_epi16(full, aLo)));
        __m128i hi = _mm_add_epi16(_mm_mullo_epi16(colorWide, aHi),
                                   _mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), _mm_sub_epi16(full, aHi)));
        lo = _mm_add_epi16(lo, half);
        hi = _mm_add_epi16(hi, half);
        lo = _mm_srli_epi16(_mm_add_epi16(lo, _mm_srli_epi16(lo, 8)), 8);
        hi = _mm_srli_epi16(_mm_add_epi16(hi, _mm_srli_epi16(hi, 8)), 8);
        const __m128i out = _mm_and_si128(_mm_packus_epi16(lo, hi), rgbMask);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), out);
    }
    return i;
}
#else
int BlendFour(Pixel*, const std::uint8_t*, int, Pixel) { return 0; }
#endif

}  // namespace

void BlendGlyph(Surface& surface, const Glyph& glyph, int x, int y, Pixel color, const RECT& clip) {
    RECT box{x, y, x + glyph.width, y + glyph.rows};
    RECT area;
    if (!Intersect(box, clip, &area)) return;
    const int width = area.right - area.left;
    for (int row = area.top; row < area.bottom; ++row) {
        const std::uint8_t* src = glyph.coverage.data() + static_cast<std::size_t>(row - y) * glyph.width +
                                  (area.left - x);
        Pixel* dst = surface.Row(row) + area.left;
        for (int i = BlendFour(dst, src, width, color); i < width; ++i) {
            unsigned a = src[i];
            if (a == 0) continue;
            dst[i] = a == 255 ? color : Blend(dst[i], color, a);
        }
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
