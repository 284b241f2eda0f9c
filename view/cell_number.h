// The number rules that the cell edit box in numeric mode and the numeric combo
// box share: formatting a value with a column's decimals, counting digits, and
// what the sign key, the point key and a digit key do to a text and its
// selection. The rules work on a text and a selection only; each control reads
// them from its own window and writes the answer back.
#pragma once

#include "framework/app/wnd.h"
#include "framework/core/cstring.h"

// Clears `buffer` (`size` characters) and writes `value` with `decimals` places,
// then drops trailing zeros after the point and the point itself when nothing is
// left after it: 2.50 with 2 decimals gives "2.5", 3.0 with 1 gives "3". A value
// that is not finite is written as 0. The text is cut to fit the buffer.
TQ3VIEW_API void FormatNumber(WCHAR* buffer, double value, BYTE decimals, UINT size);
// The same into a string.
TQ3VIEW_API CString FormatNumber(double value, BYTE decimals);

// How many of the first 100 characters of the window's text are '0'-'9'.
TQ3VIEW_API int CountDigits(CWnd* window);

namespace tq3::view {

// The number a text starts with, read as the platform's runtime reads one:
// leading blanks, a sign, digits, a point and an exponent; 0 when there is none
// or it is not finite.
double ReadNumber(LPCWSTR text);

// The leading run of `text` made of characters from "-1234567890.".
CString NumberPrefix(LPCWSTR text);

// A text with its selection (start <= end after Order()) or caret.
struct NumberEdit {
    CString text;
    int start = 0;
    int end = 0;

    // Puts the selection in order and within the text.
    void Order();
    // Deletes the selected characters; the caret stays at the start.
    void DeleteSelection();
};

// The sign key: the selection is deleted, then every '-' is removed (caret one
// to the left) or one is put in front (caret one to the right).
NumberEdit ToggleSign(NumberEdit edit);

// The point key. False when the key changes nothing (no decimals allowed, or the
// text keeps a point outside the selection); otherwise `edit` becomes the text
// with the point typed over the selection and the caret after it.
bool TypePoint(NumberEdit& edit, int decimals);

// Whether a digit typed now is refused: every digit is used and nothing is
// selected to make room, or the caret is after the point with every decimal
// place used.
bool DigitRefused(const NumberEdit& edit, int digitsInText, int digits, int decimals);

// Inserts the number fragment over the selection when the rules allow it: one
// sign, only at the very front and only first in the fragment; one point, only
// with decimals; the fragment starting with a sign or a digit; the digits within
// `digits`. On success `edit` holds the new text with the fragment selected.
bool InsertNumberFragment(NumberEdit& edit, const CString& fragment, int digits, int decimals);

}  // namespace tq3::view
