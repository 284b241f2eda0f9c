#include "model/number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace tq3 {

namespace {

bool IsDigit(WCHAR c) { return c >= u'0' && c <= u'9'; }
bool IsSpace(WCHAR c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// The ASCII characters that could belong to a leading number; the conversion below
// decides how many of them do.
std::string NumberPrefix(LPCWSTR text) {
    std::string ascii;
    if (text == nullptr) return ascii;
    while (IsSpace(*text)) ++text;
    for (; *text != 0; ++text) {
        const WCHAR c = *text;
        if (!(IsDigit(c) || c == u'+' || c == u'-' || c == u'.' || c == u'e' || c == u'E')) break;
        ascii.push_back(static_cast<char>(c));
    }
    return ascii;
}

}  // namespace

double ReadLeadingDouble(LPCWSTR text) {
    std::string ascii = NumberPrefix(text);
    const char* first = ascii.data();
    const char* last = ascii.data() + ascii.size();
    bool negative = false;
    if (first != last && (*first == '+' || *first == '-')) {
        negative = *first == '-';
        ++first;
    }
    double value = 0;
    auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error == std::errc::result_out_of_range) {
        // from_chars leaves the value alone on overflow and underflow; tell them
        // apart by the exponent's sign as the digits before it do not matter.
        const std::string consumed(first, end);
        const auto e = consumed.find_first_of("eE");
        const bool tiny = e != std::string::npos && e + 1 < consumed.size() && consumed[e + 1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    } else if (error != std::errc()) {
        value = 0;
    }
    return negative ? -value : value;
}

std::int64_t ReadLeadingInt64(LPCWSTR text) {
    if (text == nullptr) return 0;
    while (IsSpace(*text)) ++text;
    bool negative = false;
    if (*text == u'+' || *text == u'-') {
        negative = *text == u'-';
        ++text;
    }
    // Accumulated as a negative number: its range holds the 64-bit minimum.
    constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
    std::int64_t value = 0;
    bool overflow = false;
    for (; IsDigit(*text); ++text) {
        const int digit = *text - u'0';
        if (value < (kMin + digit) / 10) {
            overflow = true;
            continue;
        }
        value = value * 10 - digit;
    }
    if (overflow) return negative ? kMin : std::numeric_limits<std::int64_t>::max();
    if (negative) return value;
    return value == kMin ? std::numeric_limits<std::int64_t>::max() : -value;
}

CString FormatFixed(double value, int decimals) {
    CString s;
    s.Format(u"%.*f", decimals, value);
    return s;
}

CString FormatInteger(std::int64_t value) {
    char digits[24];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    CString s;
    for (const char* p = digits; p != result.ptr; ++p) s += static_cast<WCHAR>(*p);
    return s;
}

}  // namespace tq3
