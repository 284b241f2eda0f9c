// Reading fields of one tab-separated record without cutting it: the helpers the
// field copy and replace functions share.
//
// A field runs from the character after a TAB (or the start of the record) to the
// next TAB or the end of the text. A CR or LF inside it ends the field's text: what
// follows up to the next TAB is dropped with it.
#pragma once

#include <cstddef>

#include "framework/core/wintypes.h"

namespace tq3::detail {

inline bool EndsFieldText(WCHAR c) { return c == u'\t' || c == u'\r' || c == u'\n' || c == 0; }

// The end of the field's text that starts at `p`.
inline const WCHAR* FieldTextEnd(const WCHAR* p) {
    while (!EndsFieldText(*p)) ++p;
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

}  // namespace tq3::detail
