// Finding a code unit in a long UTF-16 text, eight units at a time: the end of a
// clipboard text of hundreds of megabytes, the line breaks of a pasted block, the
// end of a field the search passes over. Nothing at or past `end` is read.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "framework/core/wintypes.h"

namespace tq3::fw {

// The first place in [p, end) that holds `a`, `b` or `c`; `end` when none does.
inline const WCHAR* FindAnyUnit(const WCHAR* p, const WCHAR* end, WCHAR a, WCHAR b, WCHAR c) {
#if defined(__SSE2__)
    const __m128i wantA = _mm_set1_epi16(static_cast<short>(a));
    const __m128i wantB = _mm_set1_epi16(static_cast<short>(b));
    const __m128i wantC = _mm_set1_epi16(static_cast<short>(c));
    for (; end - p >= 8; p += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, wantA), _mm_cmpeq_epi16(v, wantB)),
                                         _mm_cmpeq_epi16(v, wantC));
        const int hits = _mm_movemask_epi8(hit);
        if (hits != 0) return p + __builtin_ctz(static_cast<unsigned>(hits)) / 2;
    }
#endif
    while (p < end && *p != a && *p != b && *p != c) ++p;
    return p;
}

// The first place in [p, end) that holds `a` or `b`; `end` when none does.
inline const WCHAR* FindEitherUnit(const WCHAR* p, const WCHAR* end, WCHAR a, WCHAR b) {
    return FindAnyUnit(p, end, a, b, b);
}

// The first place in [p, end) that holds `a`; `end` when none does.
inline const WCHAR* FindUnit(const WCHAR* p, const WCHAR* end, WCHAR a) { return FindAnyUnit(p, end, a, a, a); }

}  // namespace tq3::fw
