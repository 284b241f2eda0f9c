// CString: the framework's UTF-16 string.
//
// Layout: one pointer to a heap block holding the length, the capacity and the
// zero-terminated code units, so a CString costs 8 bytes plus one allocation when
// it holds text. Every empty string shares one static block and allocates nothing,
// which matters for tables that keep a string per line. Copies are deep (no
// reference counting); moves are free.
//
// Positions and lengths are in UTF-16 code units, as ints. Text may contain
// embedded zeros when built from a pointer and a count; searches look at the whole
// length, not just up to the first zero.
//
// Failure behaviour:
//   - Out-of-range positions and counts are clamped or ignored (documented per
//     member); a null LPCWSTR argument reads as the empty string. None of these
//     crash or change the string unexpectedly.
//   - Running out of memory throws std::bad_alloc, and so does a request for more
//     than kMaxLength code units. Every member gives the strong guarantee: when it
//     throws, the string is unchanged. Library operations that report failure
//     catch std::bad_alloc around their CString work.
#pragma once

#include <cstdarg>

#include "framework/core/wintypes.h"

class TQ3FW_API CString {
public:
    // The longest string a CString holds, in code units.
    static constexpr int kMaxLength = 0x3FFFFFFF;

    CString() noexcept;
    CString(const CString& other);
    CString(CString&& other) noexcept;
    CString(LPCWSTR text);
    CString(LPCWSTR text, int length);  // `length` units, zeros included; <= 0 gives empty
    explicit CString(WCHAR ch, int repeat = 1);
    ~CString();

    CString& operator=(const CString& other);
    CString& operator=(CString&& other) noexcept;
    CString& operator=(LPCWSTR text);
    CString& operator=(WCHAR ch);

    // Size and raw access.
    int GetLength() const noexcept { return Length(); }
    bool IsEmpty() const noexcept { return Length() == 0; }
    void Empty() noexcept;
    int GetAllocLength() const noexcept { return Capacity(); }
    LPCWSTR GetString() const noexcept { return m_data; }
    operator LPCWSTR() const noexcept { return m_data; }
    // Out-of-range reads give 0; out-of-range writes are ignored.
    WCHAR GetAt(int index) const noexcept;
    WCHAR operator[](int index) const noexcept { return GetAt(index); }
    void SetAt(int index, WCHAR ch) noexcept;
    void SetString(LPCWSTR text);
    void SetString(LPCWSTR text, int length);

    // Direct writing. GetBuffer returns room for at least `minLength` units (plus
    // the terminator) holding the current text; after writing, ReleaseBuffer sets
    // the length: -1 measures up to the first zero, any other value is clamped to
    // the room given out. GetBufferSetLength sizes the string to `length` at once.
    LPWSTR GetBuffer();
    LPWSTR GetBuffer(int minLength);
    LPWSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1) noexcept;
    void ReleaseBufferSetLength(int newLength) noexcept { ReleaseBuffer(newLength < 0 ? 0 : newLength); }
    void Preallocate(int length);
    void FreeExtra();
    void Truncate(int length) noexcept;  // only shortens

    // Comparison by code unit, or after the one-to-one upper-case mapping of
    // CharUpperW. Results are -1, 0 or 1.
    // The CString forms compare whole lengths, embedded zeros included.
    int Compare(LPCWSTR text) const noexcept;
    int Compare(const CString& text) const noexcept;
    int CompareNoCase(LPCWSTR text) const noexcept;
    int CompareNoCase(const CString& text) const noexcept;
    // Order for people to read: CompareStringW in the user's locale (with case, or
    // ignoring it). Falls back to Compare/CompareNoCase if the collator fails.
    int Collate(LPCWSTR text) const noexcept;
    int CollateNoCase(LPCWSTR text) const noexcept;

    // Concatenation.
    CString& operator+=(const CString& text);
    CString& operator+=(LPCWSTR text);
    CString& operator+=(WCHAR ch);
    void Append(LPCWSTR text);
    void Append(LPCWSTR text, int length);
    void AppendChar(WCHAR ch);

    // Searching; each returns a position or -1. A start before 0 or past the end
    // finds nothing (an empty pattern is found at any start up to the length).
    int Find(WCHAR ch, int start = 0) const noexcept;
    int Find(LPCWSTR pattern, int start = 0) const noexcept;
    int ReverseFind(WCHAR ch) const noexcept;
    int FindOneOf(LPCWSTR set) const noexcept;

    // Editing. Replace works left to right on non-overlapping matches and returns
    // how many it replaced (an empty pattern replaces nothing; a null replacement
    // removes). Insert and Delete clamp the position and return the new length.
    int Replace(WCHAR oldCh, WCHAR newCh) noexcept;
    int Replace(LPCWSTR oldText, LPCWSTR newText);
    int Remove(WCHAR ch) noexcept;
    int Insert(int index, WCHAR ch);
    int Insert(int index, LPCWSTR text);
    int Delete(int index, int count = 1) noexcept;

    // Extraction; counts and positions are clamped to the text.
    CString Left(int count) const;
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Right(int count) const;
    // The leading run of characters that are (are not) in `set`.
    CString SpanIncluding(LPCWSTR set) const;
    CString SpanExcluding(LPCWSTR set) const;
    // The next token at or after `start`, skipping leading delimiters; `start`
    // moves past the delimiter that ends the token. When no token remains, the
    // result is empty and `start` becomes -1. With no delimiters at all, the rest
    // of the string is one token.
    CString Tokenize(LPCWSTR delimiters, int& start) const;

    // Case and trimming. Case mapping is the one-to-one mapping of CharUpperW and
    // CharLowerW, so positions stay where they were. Trim() without an argument
    // removes white space: ASCII tab, line feed, vertical tab, form feed, carriage
    // return and space, and the Unicode space separators (U+00A0, U+1680,
    // U+2000..U+200A, U+2028, U+2029, U+202F, U+205F, U+3000) plus U+0085.
    CString& MakeUpper() noexcept;
    CString& MakeLower() noexcept;
    CString& MakeReverse() noexcept;
    CString& Trim() noexcept;
    CString& Trim(WCHAR ch) noexcept;
    CString& Trim(LPCWSTR set) noexcept;
    CString& TrimLeft() noexcept;
    CString& TrimLeft(WCHAR ch) noexcept;
    CString& TrimLeft(LPCWSTR set) noexcept;
    CString& TrimRight() noexcept;
    CString& TrimRight(WCHAR ch) noexcept;
    CString& TrimRight(LPCWSTR set) noexcept;

    // printf-style formatting into UTF-16. Conversions:
    //   %d %i        int (h: short, hh: signed char, l: 32-bit LONG, ll/I64: 64-bit,
    //                z/I: pointer-sized)
    //   %u %x %X %o  the unsigned forms of the same sizes
    //   %c           one WCHAR (passed as int); %C takes a char, read as Latin-1
    //   %s           LPCWSTR; a null pointer prints "(null)"; the precision limits
    //                the code units taken
    //   %S           the other width, as on the platform: a const char* string,
    //                read as UTF-8 (invalid bytes become U+FFFD); %hs is the same,
    //                %ls and %ws mean LPCWSTR like %s
    //   %f %e %g %a  double (upper-case forms too; an l or L size letter still
    //                means double); %.*f takes the precision as an int argument;
    //                rounding is that of the exact binary value, halves to even;
    //                the decimal point is '.' whatever the process locale
    //   %p           a pointer as 16 upper-case hex digits
    //   %%           a percent sign
    // Flags - + space 0 # and widths (also *) work as in C. Width and padding
    // count code units. An unknown conversion (%n included) is copied to the
    // output as written and consumes no argument of its own. A CString argument
    // must be passed as LPCWSTR (GetString() or a cast): objects cannot travel
    // through "...". Throws std::bad_alloc (string unchanged) when memory runs out
    // or a width or precision asks for more than kMaxLength code units.
    void Format(LPCWSTR format, ...);
    void AppendFormat(LPCWSTR format, ...);
    void FormatV(LPCWSTR format, va_list args);
    void AppendFormatV(LPCWSTR format, va_list args);

    // Loads string table entry `id` from the current resource module; FALSE and
    // an empty string when there is none. Provided by the resource loading code
    // of the system area.
    BOOL LoadString(UINT id);

    friend void swap(CString& a, CString& b) noexcept {
        LPWSTR t = a.m_data;
        a.m_data = b.m_data;
        b.m_data = t;
    }

private:
    // The block in front of the code units holds {length, capacity} as two ints.
    int Length() const noexcept { return reinterpret_cast<const int*>(m_data)[-2]; }
    int Capacity() const noexcept { return reinterpret_cast<const int*>(m_data)[-1]; }
    bool Owned() const noexcept;     // false for the shared empty block
    void Reserve(int capacity, bool exact);  // keeps the text
    void Assign(LPCWSTR text, int length);
    void SetLength(int length) noexcept;  // an owned block only
    int InsertUnits(int index, LPCWSTR text, int count);

    LPWSTR m_data;  // the code units of a Rep block (never null)
};

TQ3FW_API CString operator+(const CString& a, const CString& b);
TQ3FW_API CString operator+(const CString& a, LPCWSTR b);
TQ3FW_API CString operator+(LPCWSTR a, const CString& b);
TQ3FW_API CString operator+(const CString& a, WCHAR b);
TQ3FW_API CString operator+(WCHAR a, const CString& b);

inline bool operator==(const CString& a, const CString& b) noexcept {
    return a.GetLength() == b.GetLength() && a.Compare(b) == 0;  // length first: cheap
}
inline bool operator==(const CString& a, LPCWSTR b) noexcept { return a.Compare(b) == 0; }
inline bool operator==(LPCWSTR a, const CString& b) noexcept { return b.Compare(a) == 0; }
inline bool operator!=(const CString& a, const CString& b) noexcept { return !(a == b); }
inline bool operator!=(const CString& a, LPCWSTR b) noexcept { return !(a == b); }
inline bool operator!=(LPCWSTR a, const CString& b) noexcept { return !(a == b); }
inline bool operator<(const CString& a, const CString& b) noexcept { return a.Compare(b) < 0; }
inline bool operator<(const CString& a, LPCWSTR b) noexcept { return a.Compare(b) < 0; }
inline bool operator<(LPCWSTR a, const CString& b) noexcept { return b.Compare(a) > 0; }
inline bool operator>(const CString& a, const CString& b) noexcept { return b < a; }
inline bool operator<=(const CString& a, const CString& b) noexcept { return !(b < a); }
inline bool operator>=(const CString& a, const CString& b) noexcept { return !(a < b); }
