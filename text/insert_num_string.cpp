// The text of a numeric entry after characters are typed or pasted over a
// selection.
//
// The entry lives in a buffer of 102 characters (101 and the terminating zero), and
// so does the text being inserted. Whatever the caller passes, this function reads
// at most 101 characters of either string and writes at most 101 characters and a
// zero into `text`:
//  - a `text` or `insert` longer than 101 characters is taken as its first 101;
//  - selection positions are clamped to the entry as read: a start past its end
//    means "at the end", an end past its end means "to the end" (positions are
//    never wrapped around);
//  - a result that would exceed 101 characters is cut at 101.
// When `insert` ends with a point that is taken, the entry ends there: the point is
// dropped and the text behind the selection is not kept either. That is the
// established result hosts already see, so it stays.
// The fourth argument is accepted for compatibility and not read.
#include "text/tab_text.h"

namespace {

constexpr int kBufferChars = 102;
constexpr int kMaxChars = kBufferChars - 1;
// The digit limit and the selection end used when the caller gives none.
constexpr int kNoLimit = 100;

bool IsDigit(WCHAR c) { return c >= u'0' && c <= u'9'; }

// Copies at most kMaxChars characters of `from` and returns how many.
int CopyBounded(WCHAR* to, const WCHAR* from) {
    int n = 0;
    if (from != nullptr) {
        while (n < kMaxChars && from[n] != 0) {
            to[n] = from[n];
            ++n;
        }
    }
    to[n] = 0;
    return n;
}

// Output into the caller's entry, never past its last character.
struct BoundedWriter {
    WCHAR* to;
    int length = 0;

    void Put(WCHAR c) {
        if (length < kMaxChars) to[length++] = c;
    }
    void Finish() { to[length] = 0; }
};

}  // namespace

void InsertNumString(WCHAR* text, const WCHAR* insert, int maxDigits, int /*spare*/, int selStart, int selEnd) {
    if (text == nullptr) return;
    WCHAR old[kBufferChars];
    WCHAR typed[kBufferChars];
    const int oldLength = CopyBounded(old, text);
    const int typedLength = CopyBounded(typed, insert);

    int start = selStart < 0 ? 0 : selStart;
    int end = selEnd < 0 ? kNoLimit : (selEnd > start ? selEnd : start);
    if (start > oldLength) start = oldLength;
    if (end > oldLength) end = oldLength;
    const int limit = maxDigits <= 0 ? kNoLimit : maxDigits;

    int digits = 0;
    bool hasPoint = false;
    for (int i = 0; i < oldLength; ++i) {
        if ((i < start || i >= end) && IsDigit(old[i])) ++digits;
    }
    // An existing point only blocks another when the selection starts past the
    // first character and ends past it too.
    if (start != 0 && end != 0) {
        for (int i = 0; i < oldLength && !hasPoint; ++i) hasPoint = old[i] == u'.';
    }

    BoundedWriter out{text};
    for (int i = 0; i < start; ++i) out.Put(old[i]);
    if (start == 0 && oldLength > 0 && old[0] == u'-') out.Put(u'-');

    for (int i = 0; i < typedLength && digits < limit; ++i) {
        WCHAR c = typed[i];
        if (IsDigit(c)) {
            out.Put(c);
            ++digits;
        } else if (c == u'.' && !hasPoint) {
            if (i == typedLength - 1) {
                out.Finish();
                return;
            }
            out.Put(c);
        } else {
            break;
        }
    }
    for (int i = end; i < oldLength; ++i) out.Put(old[i]);
    out.Finish();
}
