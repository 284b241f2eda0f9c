// Conversions between the framework's UTF-16 strings and UTF-8.
//
// Valid input converts losslessly both ways. Invalid input never fails: an
// unpaired surrogate in UTF-16 becomes U+FFFD in UTF-8, and in UTF-8 each
// ill-formed sequence (a stray continuation byte, a truncated sequence, an
// overlong form, an encoded surrogate, a value above U+10FFFF) becomes one U+FFFD
// per maximal ill-formed part, so valid text after it survives unchanged.
// Out of memory throws std::bad_alloc.
#pragma once

#include <string>
#include <string_view>

#include "framework/core/cstring.h"

namespace tq3::fw {

// `length` in code units; -1 reads up to the terminating zero. A null text gives "".
TQ3FW_API std::string ToUtf8(LPCWSTR text, int length = -1);
TQ3FW_API std::string ToUtf8(const CString& text);
TQ3FW_API std::string ToUtf8(std::u16string_view text);

// A null text gives an empty string.
TQ3FW_API CString FromUtf8(const char* text);
TQ3FW_API CString FromUtf8(std::string_view text);
TQ3FW_API std::u16string Utf8ToU16(std::string_view text);
// Appends the UTF-16 form of `text` to `out`, as Utf8ToU16 converts it: a caller
// that reserved room first converts without a copy.
TQ3FW_API void AppendUtf8AsU16(std::string_view text, std::u16string& out);

}  // namespace tq3::fw
