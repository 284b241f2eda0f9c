// Face names and other names of the platform compare without regard to the case
// of the ASCII letters only: the rule the font cache, the family list and the
// font dialog share.
#pragma once

#include <algorithm>
#include <string_view>

namespace tq3::fw {

constexpr char16_t AsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

inline bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char16_t x, char16_t y) { return AsciiLower(x) == AsciiLower(y); });
}

inline bool LessIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return AsciiLower(x) < AsciiLower(y); });
}

}  // namespace tq3::fw
