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
