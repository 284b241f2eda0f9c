// Reading the fields of one tab-separated record without cutting or copying it:
// the scanner that the field functions and the view's cell setter share.
//
// A field runs from the character after a TAB (or the start of the record) to the
// next TAB or the end of the text. A CR or LF inside it ends the field's text: what
// follows up to the next TAB is dropped with it.
//
// The scans test one comparison per character on the way: TAB, LF and CR are all
// below 14, so ordinary text never reaches the tests that tell them apart.
#pragma once

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "framework/core/wintypes.h"

namespace tq3 {

inline bool EndsFieldText(WCHAR c) { return c == u'\t' || c == u'\r' || c == u'\n' || c == 0; }
inline bool IsLineBreak(WCHAR c) { return c == u'\r' || c == u'\n'; }

// The end of the field's text that starts at `p`.
inline const WCHAR* FieldTextEnd(const WCHAR* p) {
    while (*p > u'\r' || !EndsFieldText(*p)) ++p;
    return p;
}

// The TAB or terminating zero that closes the field in which `p` stands.
inline const WCHAR* FieldEnd(const WCHAR* p) {
    while (*p != u'\t' && *p != 0) ++p;
    return p;
}

// Length of a zero-terminated text and the number of its fields (TABs + 1).
struct RecordShape {
    std::size_t length = 0;
    std::size_t fields = 1;
};

inline RecordShape MeasureRecord(const WCHAR* text) {
    RecordShape shape;
    const WCHAR* p = text;
    for (; *p != 0; ++p) shape.fields += (*p == u'\t');
    shape.length = static_cast<std::size_t>(p - text);
    return shape;
}

// Where field `index` of a record starts, found by a scan that stops there.
struct FieldStart {
    const WCHAR* start = nullptr;  // the field's first character; null when the record has no such field
    const WCHAR* stop = nullptr;   // where the scan stopped: `start`, or the record's terminating zero
    std::size_t tabs = 0;          // TABs passed on the way
    bool breakBefore = false;      // a CR or LF stands before `stop`
};

inline FieldStart LocateField(const WCHAR* text, std::size_t index) {
    FieldStart found;
    const WCHAR* p = text;
    if (index == 0) {
        found.start = found.stop = p;
        return found;
    }
    for (;; ++p) {
        const WCHAR c = *p;
        if (c > u'\r') continue;
        if (c == u'\t') {
            if (++found.tabs == index) {
                found.start = found.stop = p + 1;
                return found;
            }
        } else if (IsLineBreak(c)) {
            found.breakBefore = true;
        } else if (c == 0) {
            found.stop = p;
            return found;
        }
    }
}

// Whether a CR or LF stands in [from, to). Written without an early exit, so the
// compiler can test several characters at a time.
inline bool HasLineBreak(const WCHAR* from, const WCHAR* to) {
    unsigned found = 0;
    for (; from < to; ++from) found |= static_cast<unsigned>(*from == u'\r') | static_cast<unsigned>(*from == u'\n');
    return found != 0;
}

// Field `index` of a settled record body [text, end): a body that holds no CR or
// LF, in which the field's TAB comes before any zero. On success `start` is the
// field's first character and `stop` the TAB, zero or `end` that closes its text.
// One pass over the body does both: finding the field and proving that no line
// break stands anywhere in it, before, inside or after the field.
inline bool FindSettledFieldScalar(const WCHAR* text, const WCHAR* end, std::size_t index, const WCHAR*& start,
                                   const WCHAR*& stop) {
    const WCHAR* fieldStart = text;
    const WCHAR* fieldStop = end;
    bool started = index == 0;
    bool stopped = false;
    std::size_t tabs = 0;
    for (const WCHAR* p = text; p < end; ++p) {
        const WCHAR c = *p;
        if (c > u'\r') continue;
        if (IsLineBreak(c)) return false;
        if (c == u'\t') {
            if (!started) {
                started = ++tabs == index;
                fieldStart = p + 1;
            } else if (!stopped) {
                stopped = true;
                fieldStop = p;
            }
        } else if (c == 0) {
            if (!started) return false;
            if (!stopped) {
                stopped = true;
                fieldStop = p;
            }
        }
    }
    if (!started) return false;
    start = fieldStart;
    stop = fieldStop;
    return true;
}

#if defined(__SSE2__)
// The same pass eight characters at a time. Each block yields bit masks of its
// TABs and zeros (two mask bits per character) and gathers its line breaks, which
// are looked at once at the end; ordinary text costs the compares alone. The last
// block is taken ending at `end`, overlapping the one before it, so nothing past
// the body is read; the characters it repeats are masked off from the TAB and zero
// counts.
inline bool FindSettledField(const WCHAR* text, const WCHAR* end, std::size_t index, const WCHAR*& start,
                             const WCHAR*& stop) {
    const std::size_t length = static_cast<std::size_t>(end - text);
    if (length < 8) return FindSettledFieldScalar(text, end, index, start, stop);
    const __m128i tab = _mm_set1_epi16(u'\t');
    const __m128i cr = _mm_set1_epi16(u'\r');
    const __m128i lf = _mm_set1_epi16(u'\n');
    const __m128i zero = _mm_setzero_si128();
    __m128i breaks = zero;  // the line breaks met, told only at the end: they are rare
    const WCHAR* fieldStart = text;
    const WCHAR* fieldStop = end;
    bool started = index == 0;
    bool stopped = false;
    std::size_t tabs = 0;
    std::size_t at = 0;
    for (;;) {
        unsigned fresh = 0xFFFFu;
        const bool last = at + 8 >= length;
        if (last) {
            fresh = (0xFFFFu << (2 * (at - (length - 8)))) & 0xFFFFu;
            at = length - 8;
        }
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        breaks = _mm_or_si128(breaks, _mm_or_si128(_mm_cmpeq_epi16(v, cr), _mm_cmpeq_epi16(v, lf)));
        if (!stopped) {
            unsigned tabBits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(v, tab))) & fresh & 0x5555u;
            const unsigned zeroBits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(v, zero))) & fresh & 0x5555u;
            unsigned stopBits = tabBits | zeroBits;
            if (!started) {
                while (tabBits != 0 && ++tabs != index) tabBits &= tabBits - 1;
                if (tabBits == 0) {
                    if (zeroBits != 0) return false;
                } else {
                    const unsigned bit = static_cast<unsigned>(__builtin_ctz(tabBits));
                    if ((zeroBits & ((1u << bit) - 1)) != 0) return false;
                    started = true;
                    fieldStart = text + at + bit / 2 + 1;
                    stopBits &= ~((1u << (bit + 2)) - 1);
                }
            }
            if (started && stopBits != 0) {
                stopped = true;
                fieldStop = text + at + static_cast<unsigned>(__builtin_ctz(stopBits)) / 2;
            }
        }
        if (last) break;
        at += 8;
    }
    if (!started || _mm_movemask_epi8(breaks) != 0) return false;
    start = fieldStart;
    stop = fieldStop;
    return true;
}
#else
inline bool FindSettledField(const WCHAR* text, const WCHAR* end, std::size_t index, const WCHAR*& start,
                             const WCHAR*& stop) {
    return FindSettledFieldScalar(text, end, index, start, stop);
}
#endif

// The length of a text that must be a single field's text, or -1 when it holds a
// TAB, CR or LF (and so would not stay one field).
inline long SingleFieldLength(const WCHAR* text) {
    const WCHAR* p = text;
    for (;; ++p) {
        if (*p > u'\r') continue;
        if (*p == 0) return static_cast<long>(p - text);
        if (EndsFieldText(*p)) return -1;
    }
}

}  // namespace tq3
