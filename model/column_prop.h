/// \file
/// CColumnProp, one column of a sheet, and the limits of its geometry.
#pragma once

#include <vector>

#include "framework/core/cstring.h"
#include "framework/core/geometry.h"
#include "framework/core/object.h"
#include "framework/core/wintypes.h"

namespace tq3 {

/// Column edges lie within this distance of the row's start, either way. Widths are
/// taken as the host or the settings give them, and a damaged store could hold one
/// so large that adding the line header's width, a margin or the scroll offset to an
/// edge would overflow; a row that reaches this far shows nothing more anyway.
constexpr int kFarthestColumnEdge = 1 << 30;

/// `edge` moved by `by` pixels, stopped at the farthest edge either way.
inline int MoveColumnEdge(int edge, long long by) {
    const long long moved = static_cast<long long>(edge) + by;
    if (moved > kFarthestColumnEdge) return kFarthestColumnEdge;
    if (moved < -kFarthestColumnEdge) return -kFarthestColumnEdge;
    return static_cast<int>(moved);
}

}  // namespace tq3

/// One column of a sheet. It carries what governs how the column's
/// cells are entered and stored (its edit mode), its header title and its geometry
/// in the column header. The sheet owns its column records; CTableView::InsertColumn
/// copies the one it is given.
///
/// What a cell keeps of a text set by the user or the host (CTableView::SetCellText):
///
/// | mode | when | what a cell keeps | editor |
/// |---|---|---|---|
/// | list | the column has list strings | the list string whose first character matches the text's (case ignored); refused when none does | drop-down list |
/// | numeric | `numeric` is 1 | the number cut to `digits` digits, `decimals` of them after the point; refused when the text is no number, or with decimals one beyond the range of a double | edit box taking digits, one point and a leading minus |
/// | text | otherwise | the text, cut to `maxLength` characters when that is more than 0 | edit box |
///
/// The edit mode is not stored; it follows from the fields, in this order: a list
/// column has list strings; a numeric column has `numeric` equal to 1; any other
/// column is a text column. `numeric` keeps whatever byte the host gives: a value
/// other than 0 and 1 is kept as given and does not make a numeric column (the
/// edit mode asks for exactly 1), while code that only asks "is the flag set"
/// sees it as set.
class TQ3VIEW_API CColumnProp : public CObject {
    DECLARE_DYNAMIC(CColumnProp)

public:
    CColumnProp() noexcept = default;
    ~CColumnProp() override;

    /// Copies every field, `index` and `extent` included; the list strings are
    /// replaced by copies of the other's, in order. Throws std::bad_alloc and then
    /// leaves this record as it was.
    CColumnProp& operator=(const CColumnProp& other);

    /// The first list string whose first character equals `c` when both are mapped
    /// to upper case (CharUpperW); empty list strings never match. The string is
    /// returned as stored; empty text when none matches.
    CString FindListStringByInitial(WCHAR c) const;

    /// Whether the column is a list column: it has list strings.
    bool IsListColumn() const noexcept { return !listStrings.empty(); }
    /// Whether the column is a numeric column: no list strings and `numeric` is 1.
    bool IsNumericColumn() const noexcept { return !IsListColumn() && numeric == 1; }
    /// Whether the column is a text column: neither a list nor a numeric column.
    bool IsTextColumn() const noexcept { return !IsListColumn() && numeric != 1; }

    DWORD data = 0;                     ///< the host's word
    int maxLength = -1;                 ///< text column: most characters a cell holds; <= 0 no limit
    /// List column: the choices, in order. A vector: the strings are read by
    /// position (the drop-down list, paste checks), and a list is short.
    std::vector<CString> listStrings;
    BYTE numeric = 0;                   ///< 1 for a numeric column
    BYTE digits = 7;                    ///< numeric column: digits a cell keeps
    BYTE decimals = 0;                  ///< numeric column: digits after the point; 0 whole numbers
    CString defaultString;              ///< the column's default string
    int defaultWidth = 0;               ///< natural width in pixels (from the title or the settings)
    CString title;                      ///< the header's text
    int index = -1;                     ///< position within the sheet's columns
    CRect extent;                       ///< pixel rectangle in the column header; empty until laid out
};
