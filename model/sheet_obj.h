/// \file
/// CSheetObj, one sheet of a table view.
#pragma once

#include "framework/core/cstring.h"
#include "framework/core/geometry.h"
#include "framework/core/object.h"
#include "framework/core/wintypes.h"
#include "model/column_prop.h"
#include "model/line_prop.h"
#include "model/record_list.h"

/// One sheet (one tab) of a table view. It owns its lines and its
/// columns and keeps its own selection, cursor, first line and horizontal scroll
/// offset, so that switching sheets returns the user to where they were on each.
///
/// The list operations check their own indexes; which indexes the view's exported
/// interface accepts, what is repainted and which hooks run is the view's business.
class TQ3VIEW_API CSheetObj : public CObject {
    DECLARE_DYNAMIC(CSheetObj)

public:
    CSheetObj() noexcept = default;
    /// Destroys the columns, then the lines.
    ~CSheetObj() override;
    CSheetObj(const CSheetObj&) = delete;
    CSheetObj& operator=(const CSheetObj&) = delete;

    /// Puts a copy of `source` before line `at`, or at the end when `at` is not less
    /// than the line count, and returns `at`, or the new line count when it
    /// appended; -1 (nothing added) for a negative `at` or when memory runs out.
    /// This and the other line operations keep `headerLineCount` equal to the line
    /// count.
    int InsertLine(int at, const CLineProp& source);
    /// Destroys line `line`: 1, or 0 for a bad index.
    int DeleteLine(int line);
    /// Destroys every line.
    void DeleteAllLines();
    /// Sets `headerLineCount` to the line count and returns it.
    int UpdateLineCount();
    /// Line `line`, or null for a bad index.
    CLineProp* GetLine(int line) const { return lines.GetAt(line); }
    /// The number of lines.
    int GetLineCount() const { return lines.GetCount(); }

    /// Puts a copy of `source` (its `index` and `extent` included) at `at` and
    /// returns it; when it went before an existing column,
    /// `at` becomes the old column count and every column is renumbered by
    /// position; when appended, the new column is numbered and `at` is left alone.
    /// Null (nothing added) for a negative `at` or when memory runs out.
    CColumnProp* InsertColumn(int& at, const CColumnProp& source);
    /// Destroys column `column` and renumbers those behind it: 1, or 0 for a bad
    /// index. The lines keep their texts.
    int DeleteColumn(int column);
    /// Destroys every column.
    void DeleteAllColumns();
    /// Column `column`, or null for a bad index.
    CColumnProp* GetColumn(int column) const { return columns.GetAt(column); }
    /// The number of columns.
    int GetColumnCount() const { return columns.GetCount(); }

    CRect selection;                    ///< selected block: columns left..right, lines top..bottom
    CPoint cursor;                      ///< cursor cell: x column, y line
    CString name;                       ///< the sheet's name, shown on its tab
    tq3::RecordList<CLineProp> lines;   ///< the lines, in display order
    tq3::RecordList<CColumnProp> columns;  ///< the columns, in field order
    int topLine = 0;                    ///< first line shown
    int headerLineCount = 0;            ///< line count last handed to the line header
    int scrollX = 0;                    ///< horizontal scroll offset in pixels
    /// The host's word; it also names the sheet's persisted column widths. It
    /// starts at 0 so that a sheet the host never tagged reads and saves the same
    /// way every time.
    DWORD data = 0;
};
