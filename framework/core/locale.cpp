#include "framework/core/locale.h"

#include <unicode/uchar.h>

namespace {

// Surrogates are left alone: a supplementary character's case pair may lie in
// another plane's range of lengths, and a one-to-one mapping must never change how
// many code units the text has.
template <typename Map>
void MapInPlace(LPWSTR text, DWORD length, Map map) {
    for (DWORD i = 0; i < length; ++i) {
        WCHAR c = text[i];
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        UChar32 mapped = map(static_cast<UChar32>(c));
        if (mapped <= 0xFFFF && !(mapped >= 0xD800 && mapped <= 0xDFFF)) text[i] = static_cast<WCHAR>(mapped);
    }
}

DWORD Length(LPCWSTR text) {
    DWORD n = 0;
    while (text[n] != 0) ++n;
    return n;
}

template <typename Map>
LPWSTR MapArgument(LPWSTR text, Map map) {
    if (text == nullptr) return nullptr;
    if (IS_INTRESOURCE(text)) {
        WCHAR c = static_cast<WCHAR>(reinterpret_cast<ULONG_PTR>(text));
        MapInPlace(&c, 1, map);
        return reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c));
    }
    MapInPlace(text, Length(text), map);
    return text;
}

}  // namespace

LPWSTR CharLowerW(LPWSTR text) { return MapArgument(text, u_tolower); }
LPWSTR CharUpperW(LPWSTR text) { return MapArgument(text, u_toupper); }

DWORD CharLowerBuffW(LPWSTR text, DWORD length) {
    if (text == nullptr) return 0;
    MapInPlace(text, length, u_tolower);
    return length;
}

DWORD CharUpperBuffW(LPWSTR text, DWORD length) {
    if (text == nullptr) return 0;
    MapInPlace(text, length, u_toupper);
    return length;
}
