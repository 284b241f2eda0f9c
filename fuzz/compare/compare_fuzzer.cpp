// Drives CompareStringW with arbitrary UTF-16 (unpaired surrogates included) and
// every combination of the flags it accepts, checking that the answer is an order:
// a string equals itself, swapping the strings swaps the answer, and a count
// limits what is compared.
//
// Input: one byte of flags (bits 0-4: ignore case, marks, symbols, kana type,
// width), one byte that splits the rest, then the rest as two UTF-16 strings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/core/locale.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

std::u16string FromBytes(const std::uint8_t* data, std::size_t size) {
    std::u16string s;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (c == 0) break;
        s.push_back(c);
    }
    return s;
}

int Swapped(int result) { return result == CSTR_EQUAL ? CSTR_EQUAL : CSTR_LESS_THAN + CSTR_GREATER_THAN - result; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const DWORD bits[] = {NORM_IGNORECASE, NORM_IGNORENONSPACE, NORM_IGNORESYMBOLS, NORM_IGNOREKANATYPE,
                          NORM_IGNOREWIDTH};
    DWORD flags = 0;
    for (int i = 0; i < 5; ++i) {
        if ((data[0] >> i) & 1) flags |= bits[i];
    }
    const std::size_t rest = size - 2;
    const std::size_t split = (data[1] * rest / 256) & ~std::size_t{1};
    const std::u16string a = FromBytes(data + 2, split);
    const std::u16string b = FromBytes(data + 2 + split, rest - split);

    const int ab = CompareStringW(LOCALE_USER_DEFAULT, flags, a.c_str(), -1, b.c_str(), -1);
    const int ba = CompareStringW(LOCALE_USER_DEFAULT, flags, b.c_str(), -1, a.c_str(), -1);
    Check(ab >= CSTR_LESS_THAN && ab <= CSTR_GREATER_THAN);
    Check(ba == Swapped(ab));
    Check(CompareStringW(LOCALE_USER_DEFAULT, flags, a.c_str(), -1, a.c_str(), -1) == CSTR_EQUAL);
    // Counts: the same result as the zero-terminated forms, and text behind the
    // count is not looked at.
    const std::u16string longer = a + u"\u30A2x";
    Check(CompareStringW(LOCALE_USER_DEFAULT, flags, longer.c_str(), static_cast<int>(a.size()), b.c_str(),
                         static_cast<int>(b.size())) == ab);
    // Bits outside the known flags are refused.
    Check(CompareStringW(LOCALE_USER_DEFAULT, flags | 0x8, a.c_str(), -1, b.c_str(), -1) == 0);
    return 0;
}
