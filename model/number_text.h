// Reading and writing the numbers of numeric columns.
//
// A cell's number is read the way the host's runtime reads one from text: leading
// white space, an optional sign, then the longest part that reads as a number; what
// follows is ignored and a text that holds no number reads as 0.
#pragma once

#include <cstdint>

#include "framework/core/cstring.h"
#include "framework/core/wintypes.h"

namespace tq3 {

// The longest leading part of `text` that reads as a floating-point number
// (digits, a point, digits, an exponent); 0 when there is none. Too large a
// magnitude gives an infinity, as the platform's conversion does.
double ReadLeadingDouble(LPCWSTR text);

// The longest leading part of `text` that reads as a signed decimal integer; 0 when
// there is none. Values beyond the 64-bit range stick at its ends.
std::int64_t ReadLeadingInt64(LPCWSTR text);

// `value` with `decimals` digits after the point ("%.*f").
CString FormatFixed(double value, int decimals);

// `value` in decimal.
CString FormatInteger(std::int64_t value);

}  // namespace tq3
