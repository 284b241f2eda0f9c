#include <climits>
#include <memory>
#include <new>
#include <string_view>

#include "framework/core/locale.h"
#include "text/tab_text.h"

namespace {

std::size_t Length(const WCHAR* text) {
    const WCHAR* p = text;
    while (*p != 0) ++p;
    return static_cast<std::size_t>(p - text);
}

}  // namespace

void SearchPartialString(const WCHAR* text, const WCHAR* pattern, DWORD flags, int* start, int* end) {
    if (start != nullptr) *start = -1;
    if (end != nullptr) *end = -1;
    if (text == nullptr || pattern == nullptr) return;
    const std::size_t textLength = Length(text);
    const std::size_t patternLength = Length(pattern);
    if (textLength == 0 || patternLength == 0 || textLength < patternLength) return;

    std::u16string_view haystack(text, textLength);
    std::u16string_view needle(pattern, patternLength);
    // Ignoring case compares lower-cased copies. The case mapping is one code unit
    // for one, so a position in the copy is the same position in the text.
    std::unique_ptr<WCHAR[]> folded;
    if ((flags & NORM_IGNORECASE) != 0) {
        folded.reset(new (std::nothrow) WCHAR[textLength + patternLength + 2]);
        if (!folded) return;
        WCHAR* foldedText = folded.get();
        WCHAR* foldedPattern = folded.get() + textLength + 1;
        haystack.copy(foldedText, textLength);
        foldedText[textLength] = 0;
        needle.copy(foldedPattern, patternLength);
        foldedPattern[patternLength] = 0;
        CharLowerW(foldedText);
        CharLowerW(foldedPattern);
        haystack = std::u16string_view(foldedText, textLength);
        needle = std::u16string_view(foldedPattern, patternLength);
    }

    const std::size_t at = haystack.find(needle);
    if (at == std::u16string_view::npos || at + patternLength - 1 > static_cast<std::size_t>(INT_MAX)) return;
    if (start != nullptr) *start = static_cast<int>(at);
    if (end != nullptr) *end = static_cast<int>(at + patternLength - 1);
}
