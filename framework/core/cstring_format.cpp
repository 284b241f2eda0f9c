// CString::Format and friends: a printf engine that writes UTF-16.
//
// Flow: FormatV/AppendFormatV -> Render (walks the format, copies literal runs)
// -> ParseSpec (flags, width, precision, size) -> one Emit* function per kind of
// conversion -> AppendPadded (width and justification).
//
// Numbers are produced by the C library in the "C" locale, whatever locale the
// host has set, so a decimal point is always '.', as callers that post-process
// formatted numbers expect.
#include "framework/core/cstring.h"

#include <climits>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <locale.h>
#include <new>
#include <string>
#include <string_view>

#include "framework/core/utf.h"

namespace {

enum class ArgSize { Default, Char, Short, Long32, Long64, Pointer };

struct Spec {
    bool left = false;   // '-': pad on the right
    bool plus = false;   // '+'
    bool space = false;  // ' '
    bool zero = false;   // '0'
    bool alt = false;    // '#'
    int width = 0;
    int precision = -1;  // -1: none given
    ArgSize size = ArgSize::Default;
    bool wideString = false;   // 'l' or 'w' before s/S/c/C
    bool narrowString = false; // 'h' before s/S/c/C
    WCHAR conversion = 0;
};

// va_list travels by reference inside a struct so that every helper consumes
// from the same position.
struct Args {
    va_list ap;
};

// Reads a decimal number, saturating far beyond any length a string can have.
int ReadNumber(LPCWSTR& p) {
    long long value = 0;
    while (*p >= u'0' && *p <= u'9') {
        value = value * 10 + (*p - u'0');
        if (value > CString::kMaxLength) value = CString::kMaxLength + 1LL;
        ++p;
    }
    return static_cast<int>(value);
}

void ReadFlags(LPCWSTR& p, Spec& spec) {
    for (;; ++p) {
        switch (*p) {
            case u'-': spec.left = true; break;
            case u'+': spec.plus = true; break;
            case u' ': spec.space = true; break;
            case u'0': spec.zero = true; break;
            case u'#': spec.alt = true; break;
            default: return;
        }
    }
}

void ReadWidthAndPrecision(LPCWSTR& p, Spec& spec, Args& args) {
    if (*p == u'*') {
        ++p;
        const int w = va_arg(args.ap, int);
        if (w < 0) {
            spec.left = true;
            spec.width = w == INT_MIN ? INT_MAX : -w;
        } else {
            spec.width = w;
        }
    } else {
        spec.width = ReadNumber(p);
    }
    if (*p != u'.') return;
    ++p;
    if (*p == u'*') {
        ++p;
        const int prec = va_arg(args.ap, int);
        spec.precision = prec < 0 ? -1 : prec;  // a negative precision counts as none
    } else {
        spec.precision = ReadNumber(p);
    }
}

bool StartsWith(LPCWSTR p, std::u16string_view what) {
    for (WCHAR c : what) {
        if (*p++ != c) return false;
    }
    return true;
}

void ReadSize(LPCWSTR& p, Spec& spec) {
    if (StartsWith(p, u"I64")) { spec.size = ArgSize::Long64; p += 3; return; }
    if (StartsWith(p, u"I32")) { spec.size = ArgSize::Long32; p += 3; return; }
    if (StartsWith(p, u"hh")) { spec.size = ArgSize::Char; p += 2; return; }
    if (StartsWith(p, u"ll")) { spec.size = ArgSize::Long64; p += 2; return; }
    switch (*p) {
        case u'h': spec.size = ArgSize::Short; spec.narrowString = true; ++p; return;
        case u'l': spec.size = ArgSize::Long32; spec.wideString = true; ++p; return;
        case u'w': spec.wideString = true; ++p; return;
        case u'L': ++p; return;  // long double is double here
        case u'I': case u'z': case u't': case u'j': spec.size = ArgSize::Pointer; ++p; return;
        default: return;
    }
}

// Parses what follows a '%'. Returns false when the conversion is not one we know;
// `p` is then left after whatever was read.
bool ParseSpec(LPCWSTR& p, Spec& spec, Args& args) {
    ReadFlags(p, spec);
    ReadWidthAndPrecision(p, spec, args);
    ReadSize(p, spec);
    switch (*p) {
        case u'd': case u'i': case u'u': case u'x': case u'X': case u'o':
        case u'c': case u'C': case u's': case u'S': case u'p':
        case u'f': case u'F': case u'e': case u'E': case u'g': case u'G': case u'a': case u'A':
            spec.conversion = *p++;
            return true;
        default:
            return false;
    }
}

// Appends through a small stack buffer so that the string grows geometrically.
void AppendAscii(CString& out, const char* text, std::size_t length) {
    WCHAR chunk[256];
    while (length > 0) {
        const std::size_t n = length < 256 ? length : 256;
        for (std::size_t i = 0; i < n; ++i) chunk[i] = static_cast<unsigned char>(text[i]);
        out.Append(chunk, static_cast<int>(n));
        text += n;
        length -= n;
    }
}

void AppendRepeated(CString& out, WCHAR ch, int count) {
    if (count <= 0) return;
    if (static_cast<long long>(out.GetLength()) + count > CString::kMaxLength) throw std::bad_alloc();
    WCHAR chunk[256];
    for (WCHAR& c : chunk) c = ch;
    while (count > 0) {
        const int n = count < 256 ? count : 256;
        out.Append(chunk, n);
        count -= n;
    }
}

void AppendPadded(CString& out, LPCWSTR text, int length, const Spec& spec) {
    const int pad = spec.width > length ? spec.width - length : 0;
    if (!spec.left) AppendRepeated(out, u' ', pad);
    out.Append(text, length);
    if (spec.left) AppendRepeated(out, u' ', pad);
}

// Switches the calling thread to the "C" locale for as long as it lives.
class CLocaleScope {
public:
    CLocaleScope() {
        static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        if (cLocale) m_previous = uselocale(cLocale);
    }
    ~CLocaleScope() {
        if (m_previous) uselocale(m_previous);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t m_previous = static_cast<locale_t>(nullptr);
};

// Runs snprintf in the "C" locale and appends its ASCII result.
template <typename T>
void AppendCFormatted(CString& out, const std::string& format, T value) {
    char small[64];
    std::string large;
    int n;
    {
        CLocaleScope cLocale;
        n = std::snprintf(small, sizeof small, format.c_str(), value);
        if (n >= static_cast<int>(sizeof small)) {
            large.resize(static_cast<std::size_t>(n) + 1);
            n = std::snprintf(large.data(), large.size(), format.c_str(), value);
        }
    }
    if (n < 0) throw std::bad_alloc();  // only when the result cannot be represented
    AppendAscii(out, large.empty() ? small : large.data(), static_cast<std::size_t>(n));
}

std::string CFormat(const Spec& spec, const char* size, char conversion) {
    std::string f = "%";
    if (spec.left) f += '-';
    if (spec.plus) f += '+';
    if (spec.space) f += ' ';
    if (spec.zero) f += '0';
    if (spec.alt) f += '#';
    if (spec.width > 0) f += std::to_string(spec.width);
    if (spec.precision >= 0) f += '.' + std::to_string(spec.precision);
    f += size;
    f += conversion;
    return f;
}

void EmitInteger(CString& out, const Spec& spec, Args& args) {
    const bool isSigned = spec.conversion == u'd' || spec.conversion == u'i';
    const char conversion = static_cast<char>(spec.conversion == u'i' ? u'd' : spec.conversion);
    const std::string format = CFormat(spec, "ll", conversion);
    long long s = 0;
    unsigned long long u = 0;
    switch (spec.size) {
        case ArgSize::Char: s = static_cast<signed char>(va_arg(args.ap, int)); u = static_cast<unsigned char>(s); break;
        case ArgSize::Short: s = static_cast<short>(va_arg(args.ap, int)); u = static_cast<unsigned short>(s); break;
        case ArgSize::Long64: s = va_arg(args.ap, long long); u = static_cast<unsigned long long>(s); break;
        case ArgSize::Pointer: s = va_arg(args.ap, std::intptr_t); u = static_cast<std::uintptr_t>(s); break;
        default: s = va_arg(args.ap, int); u = static_cast<unsigned int>(s); break;  // LONG is 32-bit
    }
    if (isSigned) {
        AppendCFormatted(out, format, s);
    } else {
        AppendCFormatted(out, format, u);
    }
}

void EmitFloating(CString& out, const Spec& spec, Args& args) {
    const double value = va_arg(args.ap, double);
    AppendCFormatted(out, CFormat(spec, "", static_cast<char>(spec.conversion)), value);
}

void EmitCharacter(CString& out, const Spec& spec, Args& args) {
    const int value = va_arg(args.ap, int);
    const bool narrow = spec.narrowString || (spec.conversion == u'C' && !spec.wideString);
    const WCHAR ch = narrow ? static_cast<WCHAR>(static_cast<unsigned char>(value)) : static_cast<WCHAR>(value);
    AppendPadded(out, &ch, 1, spec);
}

int LimitedLength(LPCWSTR text, int precision) {
    const int limit = precision >= 0 ? precision : CString::kMaxLength;
    int n = 0;
    while (n < limit && text[n] != 0) ++n;
    return n;
}

void EmitString(CString& out, const Spec& spec, Args& args) {
    const bool narrow = spec.narrowString || (spec.conversion == u'S' && !spec.wideString);
    if (narrow) {
        const char* text = va_arg(args.ap, const char*);
        const CString converted = text ? tq3::fw::FromUtf8(text) : CString(u"(null)");
        AppendPadded(out, converted, LimitedLength(converted, spec.precision), spec);
        return;
    }
    LPCWSTR text = va_arg(args.ap, LPCWSTR);
    if (text == nullptr) text = u"(null)";
    AppendPadded(out, text, LimitedLength(text, spec.precision), spec);
}

void EmitPointer(CString& out, const Spec& spec, Args& args) {
    const void* value = va_arg(args.ap, const void*);
    char digits[32];
    const int n = std::snprintf(digits, sizeof digits, "%016llX",
                                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(value)));
    CString text;
    AppendAscii(text, digits, static_cast<std::size_t>(n));
    AppendPadded(out, text, text.GetLength(), spec);
}

void Emit(CString& out, const Spec& spec, Args& args) {
    // A width or precision past the longest possible string can only fail; fail
    // before producing gigabytes of padding.
    if (spec.width > CString::kMaxLength || spec.precision > CString::kMaxLength) throw std::bad_alloc();
    switch (spec.conversion) {
        case u'c': case u'C': EmitCharacter(out, spec, args); return;
        case u's': case u'S': EmitString(out, spec, args); return;
        case u'p': EmitPointer(out, spec, args); return;
        case u'd': case u'i': case u'u': case u'x': case u'X': case u'o': EmitInteger(out, spec, args); return;
        default: EmitFloating(out, spec, args); return;
    }
}

void Render(CString& out, LPCWSTR format, Args& args) {
    LPCWSTR p = format;
    while (*p != 0) {
        LPCWSTR run = p;
        while (*p != 0 && *p != u'%') ++p;
        out.Append(run, static_cast<int>(p - run));
        if (*p == 0) break;
        LPCWSTR percent = p++;
        if (*p == u'%') {
            out.AppendChar(u'%');
            ++p;
            continue;
        }
        Spec spec;
        if (ParseSpec(p, spec, args)) {
            Emit(out, spec, args);
        } else {
            // Not a conversion we know: keep it as written (a lone '%' at the end
            // included) and consume no argument for it.
            if (*p != 0) ++p;
            out.Append(percent, static_cast<int>(p - percent));
        }
    }
}

}  // namespace

void CString::AppendFormatV(LPCWSTR format, va_list args) {
    if (format == nullptr) return;
    Args copy;
    va_copy(copy.ap, args);
    CString result;
    try {
        Render(result, format, copy);
    } catch (...) {
        va_end(copy.ap);
        throw;
    }
    va_end(copy.ap);
    // Rendered apart so that an argument may be this string and a failure leaves it as it was.
    if (IsEmpty()) {
        swap(*this, result);
    } else {
        Append(result, result.GetLength());
    }
}

void CString::FormatV(LPCWSTR format, va_list args) {
    CString result;
    result.AppendFormatV(format, args);
    swap(*this, result);
}

void CString::Format(LPCWSTR format, ...) {
    va_list args;
    va_start(args, format);
    try {
        FormatV(format, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

void CString::AppendFormat(LPCWSTR format, ...) {
    va_list args;
    va_start(args, format);
    try {
        AppendFormatV(format, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}
