// What a cell keeps of a text, by its column's edit mode, and what of a cell's
// field is shown. These rules need no window: the view applies them when a cell or
// a whole line is set and when it paints, and they are tested on their own.
//
// Edit modes (see CColumnProp): a list column keeps the list string whose first
// character matches, a numeric column keeps the number cut to its digits, a text
// column keeps at most its maximum length.
#pragma once

#include "framework/core/cstring.h"
#include "framework/core/export.h"
#include "framework/core/wintypes.h"
#include "model/column_prop.h"

namespace tq3 {

// The text a cell of `column` stores when the user or the host sets it to `text`;
// FALSE when the column refuses it (a list string of no other initial, a text that
// is no number). `cell` points either at `text` itself (a text column that keeps it
// whole costs no copy) or at `storage`. Without a column the cell is empty.
TQ3VIEW_API BOOL CellTextForColumn(const CColumnProp* column, LPCWSTR text, CString& storage, LPCWSTR& cell);

// Whether a cell of `column` stores any text exactly as given: a text column
// without a length limit. Inline, so that a setter called once per cell of a
// large table can skip the conversion without a call.
inline bool KeepsTextAsGiven(const CColumnProp* column) {
    return column != nullptr && column->IsTextColumn() && column->maxLength <= 0;
}

// The text a whole-line conversion keeps for one field: a list field falls back to
// the column's default string, a number is formatted but not cut, a text is kept
// whole.
TQ3VIEW_API CString LineFieldForColumn(const CColumnProp& column, LPCWSTR field);

// The text a numeric cell stores for `text`, cut to `digits` digits with `decimals`
// of them after the point; FALSE when `text` is no number (it must begin with a
// digit or with "-" and a digit), or, with decimals, one too large for a double.
TQ3VIEW_API BOOL NormaliseNumericCell(LPCWSTR text, int digits, int decimals, CString& cell);

// The end of what is shown of the field starting at `field`: the next TAB, CR, LF
// or the end of the text. A CR or LF inside a field ends what is shown of it, as it
// ends the text the field functions copy; the field itself goes on to the next TAB.
TQ3VIEW_API const WCHAR* ShownFieldEnd(const WCHAR* field);

// The field after the one starting at `field`, or null after the last one.
TQ3VIEW_API const WCHAR* NextField(const WCHAR* field);

}  // namespace tq3
