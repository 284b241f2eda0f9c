// The number rules shared by the cell edit box and the numeric combo box (see
// cell_number.h).
#include "view/cell_number.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace tq3::view {

namespace {

constexpr const WCHAR* kNumberChars = u"-1234567890.";

bool IsBlank(WCHAR c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

}  // namespace

double ReadNumber(LPCWSTR text) {
    if (text == nullptr) return 0.0;
    while (IsBlank(*text)) ++text;
    // Only what can belong to a decimal number goes to the parser, so hexadecimal
    // forms, "inf" and "nan" read as the runtime's reader reads them here: 0.
    std::string ascii;
    for (const WCHAR* p = text; *p != 0 && ascii.size() < 400; ++p) {
        WCHAR c = *p;
        bool numeric = (c >= u'0' && c <= u'9') || c == u'.' || c == u'-' || c == u'+' || c == u'e' || c == u'E';
        if (!numeric) break;
        ascii.push_back(static_cast<char>(c));
    }
    double value = std::strtod(ascii.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

CString NumberPrefix(LPCWSTR text) { return CString(text).SpanIncluding(kNumberChars); }

void NumberEdit::Order() {
    const int length = text.GetLength();
    if (start < 0 || start > length) start = length;
    if (end < 0 || end > length) end = length;
    if (start > end) std::swap(start, end);
}

void NumberEdit::DeleteSelection() {
    Order();
    text.Delete(start, end - start);
    end = start;
}

NumberEdit ToggleSign(NumberEdit edit) {
    edit.DeleteSelection();
    if (edit.text.Find(u'-') >= 0) {
        edit.text.Remove(u'-');
        edit.start = edit.start > 0 ? edit.start - 1 : 0;
    } else {
        edit.text.Insert(0, u'-');
        edit.start += 1;
    }
    if (edit.start > edit.text.GetLength()) edit.start = edit.text.GetLength();
    edit.end = edit.start;
    return edit;
}

bool TypePoint(NumberEdit& edit, int decimals) {
    NumberEdit work = edit;
    work.DeleteSelection();
    // A point inside the selection is typed over, so only the rest counts.
    if (decimals == 0 || work.text.Find(u'.') >= 0) return false;
    work.text.Insert(work.start, u'.');
    work.start += 1;
    work.end = work.start;
    edit = work;
    return true;
}

bool DigitRefused(const NumberEdit& edit, int digitsInText, int digits, int decimals) {
    if (digitsInText >= digits && edit.start == edit.end) return true;
    const int point = edit.text.Find(u'.');
    return point >= 0 && edit.start > point && edit.start >= edit.end && edit.text.GetLength() - point > decimals;
}

bool InsertNumberFragment(NumberEdit& edit, const CString& fragment, int digits, int decimals) {
    NumberEdit work = edit;
    work.DeleteSelection();
    int counted = 0;
    const int sign = fragment.Find(u'-');
    if (sign >= 0) {
        if (work.text.Find(u'-') >= 0 || work.start >= 1 || sign != 0) return false;
        ++counted;
    }
    if (fragment.Find(u'.') >= 0) {
        if (work.text.Find(u'.') >= 0 || decimals == 0) return false;
        ++counted;
    }
    if (fragment.SpanIncluding(u"-0123456789").IsEmpty()) return false;
    if (work.text.GetLength() + fragment.GetLength() - counted > digits) return false;
    work.text.Insert(work.start, fragment.GetString());
    work.end = work.start + fragment.GetLength();
    edit = work;
    return true;
}

}  // namespace tq3::view

CString FormatNumber(double value, BYTE decimals) {
    if (!std::isfinite(value)) value = 0.0;
    // The widest text: 309 integer digits, a sign, a point and 255 places.
    char buffer[600];
    const int written = std::snprintf(buffer, sizeof buffer, "%.*f", static_cast<int>(decimals), value);
    std::string formatted(buffer, static_cast<size_t>(std::clamp(written, 0, static_cast<int>(sizeof buffer) - 1)));
    if (formatted.find('.') != std::string::npos) {
        while (!formatted.empty() && formatted.back() == '0') formatted.pop_back();
        if (!formatted.empty() && formatted.back() == '.') formatted.pop_back();
    }
    CString text;
    for (char c : formatted) text.AppendChar(static_cast<WCHAR>(c));
    return text;
}

void FormatNumber(WCHAR* buffer, double value, BYTE decimals, UINT size) {
    if (buffer == nullptr || size == 0) return;
    for (UINT i = 0; i < size; ++i) buffer[i] = 0;
    const CString text = FormatNumber(value, decimals);
    const UINT count = std::min<UINT>(static_cast<UINT>(text.GetLength()), size - 1);
    for (UINT i = 0; i < count; ++i) buffer[i] = text[static_cast<int>(i)];
}

int CountDigits(CWnd* window) {
    if (window == nullptr || window->GetSafeHwnd() == nullptr) return 0;
    WCHAR text[101] = {};
    window->GetWindowText(text, 101);
    int count = 0;
    for (const WCHAR* p = text; *p != 0; ++p) count += (*p >= u'0' && *p <= u'9') ? 1 : 0;
    return count;
}
