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
namespace detail {

// The TAB lanes of eight characters; lanes of any other character up to CR (a
// zero, LF, CR, or one of the rarer control characters) are gathered in `other`.
inline __m128i SettledTabs(const WCHAR* at, __m128i& other) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    const __m128i tabs = _mm_cmpeq_epi16(v, _mm_set1_epi16(u'\t'));
    const __m128i low = _mm_cmpeq_epi16(_mm_subs_epu16(v, _mm_set1_epi16(u'\r')), _mm_setzero_si128());
    other = _mm_or_si128(other, _mm_xor_si128(low, tabs));
    return tabs;
}

// One bit per character of the sixteen whose TAB lanes are `first` and `second`.
inline unsigned TabBits(__m128i first, __m128i second) {
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(first, second)));
}

}  // namespace detail

// The same pass sixteen characters at a time, for a body of ordinary text and
// TABs. Each block adds its TABs to a bit mask, which is walked only until the
// field is found and closed; every block, to the end, adds any other character up
// to CR to one register looked at once at the end. A body that holds one (a line
// break, which makes it unsettled, or a zero or another control character, which
// are rare) is read again by the scalar pass, which tells them apart. The last
// block is taken ending at `end`, overlapping the one before it, so nothing past
// the body is read; the characters it repeats are shifted off its TAB bits.
// Always inline: it is the cell setter's per-cell path, and the call would cost
// about as much as reading a short line.
__attribute__((always_inline)) inline bool FindSettledField(const WCHAR* text, const WCHAR* end, std::size_t index,
                                                            const WCHAR*& start, const WCHAR*& stop) {
    const std::size_t length = static_cast<std::size_t>(end - text);
    if (length < 8) return FindSettledFieldScalar(text, end, index, start, stop);
    __m128i other = _mm_setzero_si128();
    const WCHAR* fieldStart = text;
    const WCHAR* fieldStop = end;
    std::size_t toPass = index;  // TABs still to pass before the field starts
    bool stopped = false;
    // The TABs of `bits`, bit i standing for the character at `at` + i, in order.
    const auto take = [&](unsigned bits, const WCHAR* at) {
        if (toPass != 0) {
            for (;; bits &= bits - 1) {
                if (bits == 0) return;
                if (--toPass == 0) break;
            }
            fieldStart = at + __builtin_ctz(bits) + 1;
            bits &= bits - 1;
        }
        if (bits != 0) {
            stopped = true;
            fieldStop = at + __builtin_ctz(bits);
        }
    };
    std::size_t at = 0;
    for (; at + 16 <= length; at += 16) {
        const __m128i first = detail::SettledTabs(text + at, other);
        const __m128i second = detail::SettledTabs(text + at + 8, other);
        if (!stopped) take(detail::TabBits(first, second), text + at);
    }
    if (length < 16) {
        // Two blocks of eight, the second ending at `end`: its bits go to the places
        // of its characters, over the same bits of the ones both blocks hold.
        const __m128i first = detail::SettledTabs(text, other);
        const __m128i second = detail::SettledTabs(end - 8, other);
        const unsigned bits = detail::TabBits(first, second);
        take((bits & 0xFFu) | ((bits >> 8) << (length - 8)), text);
    } else if (at < length) {
        const __m128i first = detail::SettledTabs(end - 16, other);
        const __m128i second = detail::SettledTabs(end - 8, other);
        if (!stopped) take(detail::TabBits(first, second) >> (16 - (length - at)), text + at);
    }
    if (_mm_movemask_epi8(other) != 0) return FindSettledFieldScalar(text, end, index, start, stop);
    if (toPass != 0) return false;
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
