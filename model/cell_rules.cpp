#include "model/cell_rules.h"

#include <cmath>
#include <cstdint>

#include "model/number_text.h"

namespace tq3 {

namespace {

int Length(LPCWSTR text) {
    int n = 0;
    while (text[n] != 0) ++n;
    return n;
}

bool IsDigit(WCHAR c) { return c >= u'0' && c <= u'9'; }

}  // namespace

BOOL CellTextForColumn(const CColumnProp* column, LPCWSTR text, CString& storage, LPCWSTR& cell) {
    cell = text;
    if (KeepsTextAsGiven(column)) return TRUE;
    if (column == nullptr) {
        cell = u"";
        return TRUE;
    }
    if (column->IsListColumn()) {
        storage = column->FindListStringByInitial(text[0]);
        cell = storage;
        return !storage.IsEmpty();
    }
    if (column->IsNumericColumn()) {
        if (!NormaliseNumericCell(text, column->digits, column->decimals, storage)) return FALSE;
        cell = storage;
        return TRUE;
    }
    if (column->maxLength > 0 && Length(text) > column->maxLength) {
        storage = CString(text, column->maxLength);
        cell = storage;
    }
    return TRUE;
}

CString LineFieldForColumn(const CColumnProp& column, LPCWSTR field) {
    if (column.IsListColumn()) {
        CString match = column.FindListStringByInitial(field[0]);
        return match.IsEmpty() ? column.defaultString : match;
    }
    if (column.IsNumericColumn()) {
        if (column.decimals > 0) return FormatFixed(ReadLeadingDouble(field), column.decimals);
        return FormatInteger(ReadLeadingInt64(field));
    }
    return CString(field);
}

BOOL NormaliseNumericCell(LPCWSTR text, int digits, int decimals, CString& cell) {
    if (text == nullptr || text[0] == 0) return FALSE;
    if (text[0] == u'-' ? !IsDigit(text[1]) : !IsDigit(text[0])) return FALSE;

    // Digits are kept from the left: a whole number loses its last digits, a
    // fraction keeps `digits` digits in all and loses decimals first. A minus sign
    // is not a digit and does not count.
    if (decimals > 0) {
        const double value = ReadLeadingDouble(text);
        // A number beyond the range of a double reads as an infinity, which has no
        // digits to keep: the cell keeps its text rather than a word.
        if (!std::isfinite(value)) return FALSE;
        const int neg = value < 0 ? 1 : 0;
        CString formatted = FormatFixed(value, decimals);
        const int point = formatted.Find(u'.');
        int keep = point < digits - decimals + neg ? digits + neg : digits + neg + 1;
        if (keep < 0) keep = 0;
        formatted = formatted.Left(keep);
        formatted.TrimRight(u'.');
        cell = formatted;
    } else {
        const std::int64_t value = ReadLeadingInt64(text);
        const int neg = value < 0 ? 1 : 0;
        const int keep = digits + neg > 0 ? digits + neg : 0;
        cell = FormatInteger(value).Left(keep);
    }
    return TRUE;
}

const WCHAR* ShownFieldEnd(const WCHAR* field) {
    while (*field != 0 && *field != u'\t' && *field != u'\r' && *field != u'\n') ++field;
    return field;
}

const WCHAR* NextField(const WCHAR* field) {
    while (*field != 0 && *field != u'\t') ++field;
    return *field == u'\t' ? field + 1 : nullptr;
}

}  // namespace tq3
