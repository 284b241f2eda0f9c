/// \file
/// CTableView: a spreadsheet-like view. It holds named sheets, chosen from a strip of
/// tabs; each sheet is a grid of lines (numbered in the line header) and columns
/// (titled in the column header) whose cells are the tab-separated fields of each
/// line's text.
///
/// The host builds and reads the table through the structure and text operations
/// below; every operation checks its indexes and answers an invalid one with its
/// failure value. None of them repaints or calls a hook, except that storing a
/// changed cell calls OnCellChanged; the host selects a sheet (which repaints) when
/// it has finished filling.
///
/// The class is implemented across the library, each part in the folder of its
/// subject; every section below names the file that holds it.
#pragma once

#include <string>
#include <vector>

#include "framework/app/view.h"
#include "framework/core/cstring.h"
#include "framework/core/lists.h"
#include "framework/gdi/gdi_classes.h"
#include "framework/gdi/offscreen_buffer.h"
#include "headers/column_header_wnd.h"
#include "headers/line_header_wnd.h"
#include "headers/sheet_tab_wnd.h"
#include "model/column_prop.h"
#include "model/line_prop.h"
#include "model/record_list.h"
#include "model/sheet_obj.h"
#include "view/cell_combo.h"
#include "view/cell_edit.h"
#include "view/undo_list.h"

/// @name Edit-function mask
/// Bits of the mask given to CTableView::SetEditFunctions: a clear bit makes the
/// command's handler do nothing and takes its item off the view's context menu.
///@{
constexpr DWORD kEditCopy = 0x01;     ///< Copy (ID_EDIT_COPY)
constexpr DWORD kEditCut = 0x02;      ///< Cut (ID_EDIT_CUT)
constexpr DWORD kEditPaste = 0x04;    ///< Paste (ID_EDIT_PASTE)
constexpr DWORD kEditClear = 0x08;    ///< the context menu's Clear item (ID_EDIT_CLEAR)
constexpr DWORD kEditFind = 0x10;     ///< Find (ID_EDIT_FIND)
constexpr DWORD kEditReplace = 0x20;  ///< Replace (ID_EDIT_REPLACE)
constexpr DWORD kEditUndo = 0x40;     ///< Undo (ID_EDIT_UNDO), carried out by the host
constexpr DWORD kEditFunctionsDefault = 0x77;  ///< everything but clear
///@}

/// @name Control ids of the view's in-cell editors
///@{
constexpr UINT kCellComboId = 1002;  ///< the drop-down list of list cells (CCellCombo)
constexpr UINT kCellEditId = 1003;   ///< the edit box of text and numeric cells (CCellEdit)
///@}

/// @name Search flags
/// Flags of CTableView::Find and of a find/replace request (FindReplaceNotify::flags).
///@{
constexpr DWORD kFindEntireCells = 0x1;  ///< the whole cell text must equal the search text
constexpr DWORD kFindMatchCase = 0x2;    ///< case counts
/// A request's high half: Replace. The high half of a request's flags says what the
/// dialog asks for; any other value there is Find Next.
constexpr DWORD kFindReplace = 0x10000;
constexpr DWORD kFindReplaceAll = 0x20000;  ///< a request's high half: Replace All
///@}

/// @name Notification codes of the find/replace dialog
/// What the dialog sends the view with WM_NOTIFY.
///@{

/// A request: the lParam is a FindReplaceNotify record.
constexpr UINT kFindReplaceRequest = static_cast<UINT>(-100);
/// The choice of one column to search: a bare NMHDR whose idFrom is the column.
constexpr UINT kFindColumnChosen = 1;
///@}

/// A request of the find/replace dialog, the lParam of its WM_NOTIFY. The view
/// carries it out and answers in `line`, `column` and `match`.
struct FindReplaceNotify {
    NMHDR hdr;               ///< hwndFrom: the dialog; idFrom: 0; code: kFindReplaceRequest
    int line;                ///< in: the current cell's line; out: the line found, -1 for none
    int column;              ///< in: the current cell's column; out: the column found, -1 for none
    LPCWSTR replaceText;     ///< Replace with (Replace and Replace All)
    LPCWSTR findText;        ///< Find what
    DWORD flags;             ///< kFindEntireCells, kFindMatchCase, and kFindReplace or kFindReplaceAll
    POINT match;             ///< where in the cell found the text matched (see CTableView::Find)
    RECT* area;              ///< the search area: first column, first line, last column, last line
};

class CFindReplaceDlg;
namespace tq3 {
class CellMatcher;
}

/// The table view: a spreadsheet-like view of named sheets, chosen from a strip of
/// tabs along its bottom edge, each a grid of lines (numbered in the line header on
/// the left) and columns (titled in the column header on top) whose cells are the
/// tab-separated fields of each line's text.
///
/// A host derives its own class (the constructor is protected), overrides the
/// hooks it cares for (OnSheetChanged, OnCellChanged, OnCursorMoved) and gives an
/// object made with new to a frame or another parent, which creates the window;
/// the object deletes itself when its window is destroyed. Creating the window
/// makes five children: the column header (CColumnHeaderWnd, id 30002), the line
/// header (CLineHeaderWnd, id 30001), the sheet tabs (CSheetTabWnd, id 30003), the
/// in-cell edit box (CCellEdit, kCellEditId) and the in-cell drop-down list
/// (CCellCombo, kCellComboId).
///
/// Sheets, lines and columns are numbered from 0. Every operation checks its
/// indexes and answers an invalid one with its failure value (-1, 0, an empty
/// text, null, or nothing done), changing nothing. The structure and text
/// operations neither repaint nor call a hook, except that storing a changed cell
/// calls OnCellChanged: the host fills the sheets, then selects one (SetSelSheet,
/// which repaints) or lets the first update show sheet 0.
///
/// The view carries out the standard edit commands that reach it by command
/// routing (ID_EDIT_COPY, ID_EDIT_CUT, ID_EDIT_PASTE, ID_EDIT_FIND,
/// ID_EDIT_REPLACE; ID_EDIT_UNDO is the host's), each gated by its bit of the
/// edit-function mask, and offers them on its own context menu. Its column widths
/// and cell font persist per user below the application's settings base key.
class TQ3VIEW_API CTableView : public CView {
    DECLARE_DYNCREATE(CTableView)

protected:
    /// A view without a window or sheets. Its cell font is the one the user last
    /// chose (read from the settings), or the user's system font at 9 points, and
    /// the line pitch follows it. Only a derived class makes one, with new.
    CTableView();

public:
    /// Gives back the language libraries the view kept loaded.
    ~CTableView() override;

    // ---- Window life (view/table_view_window.cpp) -------------------------------------
    /// @name Window life
    ///@{

    /// Adds the styles the view needs: clipping of its children and both scroll bars.
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    /// Creates the window with a class of its own (double clicks, arrow cursor, the
    /// window colour as background); `lpszClassName` is not used. FALSE when the
    /// window, or the in-cell editors, cannot be made.
    BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, void* pContext = nullptr) override;
    /// The first update, which a frame sends once the view exists: reads the stored
    /// column widths (ReadWidthOfColumns) and, when there are sheets, shows sheet 0
    /// through OnSheetChanged.
    void OnInitialUpdate() override;
    ///@}

    // ---- Hooks for the host, in this order (view/table_view_window.cpp) ---------------
    /// @name Hooks for the host
    /// Virtual members a derived view overrides to hear what the user did.
    ///@{

    /// A sheet was chosen: the user clicked a tab or an arrow of the tab strip, the
    /// host called SetSelSheet, or the first update shows sheet 0. This
    /// implementation switches the view to it (an open edit ends unwritten, the
    /// strips show the sheet's columns and lines, the view repaints, and
    /// OnCursorMoved reports the sheet's cursor), so an override calls it. After a
    /// switch from the tab strip the view's parent also receives a WM_NOTIFY with
    /// the code TCN_SELCHANGE from control id 0.
    virtual void OnSheetChanged(int sheet);
    /// The stored text of cell (`line`, `column`) changed through SetCellText, on
    /// whichever sheet it was called for: a commit in the cell's editor, a paste, a replace or the
    /// host's own call. Not called when the text stays as it was, nor for
    /// SetTabbedString, SetLineText, InsertLine or a cut. Runs with the library
    /// language's resources current. Does nothing here.
    virtual void OnCellChanged(int line, int column);
    /// The cursor cell moved to (`line`, `column`): by a key, a click, a header
    /// click, SetSel or a switch of sheets. Runs with the application's resources
    /// current, so what the host loads by id comes from its own module. Does
    /// nothing here.
    virtual void OnCursorMoved(int line, int column);
    ///@}

    // ---- Structure (model/table_view_structure.cpp) -----------------------------------
    /// @name Sheets, lines and columns
    ///@{

    /// Inserts an empty sheet named `name` (null: no name) before sheet `sheet`, or
    /// appends it when `sheet` equals the count (any `sheet` of 0 or more when
    /// there is none yet), with its tab. Returns the number of sheets before the
    /// insertion (0 for the first); -1, and nothing added, for a negative index or
    /// one past the count, or when memory runs out.
    int InsertSheet(int sheet, LPCWSTR name);
    /// Inserts a line whose cells are the tab-separated fields of `text` (null:
    /// empty), stored as given, before line `line` of sheet `sheet`, or appends it
    /// when `line` equals the line count (any `line` of 0 or more on an empty
    /// sheet). Returns `line` for an insertion before a line, or the new line count
    /// for an append; -1, and nothing added, for a bad sheet, a negative line or one
    /// past the count, or when memory runs out.
    int InsertLine(int sheet, int line, LPCWSTR text);
    /// Inserts a copy of the column record `prop` (its edit mode, list strings,
    /// default string, width and title) before column `column` of sheet `sheet`, or
    /// appends it when `column` equals the count (any `column` of 0 or more on a
    /// sheet without columns). Returns the number of columns before the insertion
    /// (for the first column of a sheet not on display: `column` as given); -1, and
    /// nothing added, for a null record, a bad sheet, a negative column or one past
    /// the count, or when memory runs out.
    int InsertColumn(int sheet, int column, CColumnProp* prop);
    /// Inserts a column titled `title` (null: no title), numeric when `numeric`
    /// is 1 and a text column otherwise; as InsertColumn(int, int, CColumnProp*).
    int InsertColumn(int sheet, int column, LPCWSTR title, BYTE numeric);
    /// Deletes sheet `sheet` with its lines, columns and tab; an open edit ends
    /// unwritten. 1, or 0 for a bad index. The host selects a sheet afterwards.
    int DeleteSheet(int sheet);
    /// Deletes every sheet and every tab; an open edit ends unwritten.
    void DeleteAllSheets();
    /// Deletes line `line` of sheet `sheet`: 1, or 0 for a bad index.
    int DeleteLine(int sheet, int line);
    /// Deletes every line of sheet `sheet`: 1, or 0 for a bad sheet.
    int DeleteAllLines(int sheet);
    /// Deletes column `column` of sheet `sheet` (the lines keep their texts): 1, or
    /// 0 for a bad index.
    int DeleteColumn(int sheet, int column);
    /// Deletes every column of sheet `sheet`: 1, or 0 for a bad sheet.
    int DeleteAllColumns(int sheet);
    /// The number of sheets.
    int GetSheetCount() const;
    /// The number of lines of sheet `sheet`; 0 for a bad sheet.
    int GetLineCount(int sheet) const;
    /// The number of columns of sheet `sheet`; 0 for a bad sheet.
    int GetColumnCount(int sheet) const;
    /// The record of column `column` of sheet `sheet`, which the sheet owns and
    /// keeps at this address while the column exists; null for a bad index.
    CColumnProp* GetColumnProp(int sheet, int column) const;
    /// The record of line `line` of sheet `sheet`, which the sheet owns and keeps
    /// at this address while the line exists; null for a bad index.
    CLineProp* GetLineProp(int sheet, int line) const;
    /// Sets the host's data word of a line, which the view never reads: 1, or 0 for
    /// a bad index.
    int SetLineData(int sheet, int line, DWORD data);
    /// The host's data word of a line; 0xFFFFFFFF for a bad index.
    DWORD GetLineData(int sheet, int line) const;
    /// Sets the host's data word of a sheet: 1, or 0 for a bad sheet. It also names
    /// where the sheet's column widths are stored (ReadWidthOfColumns), so sheets
    /// whose widths should persist get distinct words.
    int SetSheetData(int sheet, DWORD data);
    /// The host's data word of a sheet (0 until set); 0xFFFFFFFF for a bad sheet.
    DWORD GetSheetData(int sheet) const;
    /// Sets the host's data word of a column, which the view never reads: 1, or 0
    /// for a bad index.
    int SetColumnData(int sheet, int column, DWORD data);
    /// The host's data word of a column, as an int; -1 for a bad index.
    int GetColumnData(int sheet, int column) const;
    /// The name of sheet `sheet`; empty for a bad sheet.
    CString GetSheetName(int sheet) const;
    /// Renames sheet `sheet` (null: no name): 1, or 0 for a bad sheet or when
    /// memory runs out. The tab keeps the name it was inserted with.
    int SetSheetName(int sheet, LPCWSTR name);
    /// The displayed sheet; -1 when there are no sheets.
    int GetSelSheet() const;
    /// Displays sheet `sheet`: its tab becomes current and OnSheetChanged switches
    /// to it and repaints, also when it was displayed already. A bad index does
    /// nothing.
    void SetSelSheet(int sheet);
    /// Chooses which edit commands the user gets: a combination of kEditCopy,
    /// kEditCut, kEditPaste, kEditClear, kEditFind, kEditReplace and kEditUndo
    /// (kEditFunctionsDefault until set).
    void SetEditFunctions(DWORD mask) { editFunctions = mask; }
    /// The edit-function mask.
    DWORD GetEditFunctions() const { return editFunctions; }
    /// The font the cells are drawn in; the view owns it.
    CFont* GetFont() { return &cellFont; }
    ///@}

    // ---- Cell and line texts, column lists (model/table_view_text.cpp) ----------------
    /// @name Cell and line texts, column lists
    /// What each edit mode keeps of a text is described with CColumnProp.
    ///@{

    /// The whole text of a line as stored: its cells' texts, tab-separated (with
    /// the CR LF that ends it when it has one); empty for a bad index.
    CString GetTabbedString(int sheet, int line) const;
    /// Replaces the whole text of a line as given (null: empty), without the columns'
    /// edit modes and without OnCellChanged: 1, or 0 for a bad index or when memory
    /// runs out.
    int SetTabbedString(int sheet, int line, LPCWSTR text);
    /// The text of one cell: field `column` of the line's text, up to its TAB, CR or
    /// LF; empty for a bad index, an empty line or a field the line lacks.
    CString GetCellText(int sheet, int line, int column) const;
    /// Stores `text` in a cell through its column's edit mode: a list column keeps
    /// the list string with the same initial, a numeric column the number cut to its
    /// digits and decimals, a text column at most its maximum length. Calls
    /// OnCellChanged when the stored text changed. Returns 1 (also when nothing
    /// changed); 0 for a null text, a bad sheet or line, an empty line, a text the
    /// column refuses (no list string of that initial, no number, a number too
    /// large to hold), or when memory runs out. A column the sheet lacks empties the
    /// field where the line has one; a negative column changes nothing.
    int SetCellText(int sheet, int line, int column, LPCWSTR text);
    /// Stores a whole line from the tab-separated `text`, each field converted by its
    /// column's edit mode (a list field falls back to the column's default string, a
    /// number is formatted but not cut, a text is kept whole); fields past the last
    /// column are dropped. `sameAs` (optional, `count` entries) names a master
    /// column first and then columns that take the master's converted text instead
    /// of their own field. Does nothing for a bad index or a null text, or when
    /// memory runs out; calls no hook.
    void SetLineText(int sheet, int line, LPCWSTR text, int* sameAs, int count);
    /// Appends `text` (null: empty) to the list strings of a column, which makes it a
    /// list column: the index of the new string, or -1 for a bad index or when
    /// memory runs out.
    int AddColumnString(int sheet, int column, LPCWSTR text);
    /// Inserts `text` (null: empty) before list string `index`, or appends it when
    /// `index` is at or past the end: 1, or 0 for a bad index, a negative `index` or
    /// when memory runs out.
    int InsertColumnString(int sheet, int column, int index, LPCWSTR text);
    /// Deletes list string `index` (an index past the end deletes nothing) and
    /// returns the number of list strings left; -1 for a bad sheet or column.
    int DeleteColumnString(int sheet, int column, UINT index);
    /// Deletes every list string of a column, so that it is a list column no more.
    void ResetColumnContent(int sheet, int column);
    /// Steps through equal list strings: the distance from `start` to the first
    /// list string after position `start` that equals `text` exactly; -1 when none
    /// does, and for a bad index or a null text. The string at `start` itself is
    /// never examined; a negative `start` counts as 0.
    int FindColumnString(int sheet, int column, int start, LPCWSTR text);
    /// Sets a column's edit mode: numeric when `numeric` is not 0, with `digits`
    /// digits of which `decimals` after the point (stored as given), else text with
    /// at most `maxLength` characters (0 or less: no limit). A list column stays a
    /// list column: its numeric flag is cleared and only `maxLength` is stored.
    /// Cells already stored are not converted.
    void SetColumnEditMode(int sheet, int column, BYTE numeric, int maxLength, BYTE digits, BYTE decimals);
    /// Sets a column's default string (null: empty), the text a list field of no
    /// matching initial falls back to in SetLineText.
    void SetColumnDefaultString(int sheet, int column, LPCWSTR text);
    ///@}

    // ---- Geometry read by the strips and the host (view/table_view_geometry.cpp) ------
    /// @name Geometry
    ///@{

    /// The pitch of one line in pixels: the column header is one line high, the tab
    /// strip one line and 10 pixels.
    int GetLineHeight() const { return lineHeight; }
    /// The cell font's size in tenths of a point, as stored.
    int GetPointSize() const { return pointSize; }
    /// Width of the line header strip, as the strip asks for it: its caption's width
    /// in the label font plus two line heights and one pixel, at least 60.
    int GetLineHeaderWidth() const;
    /// The cell's rectangle in client coordinates (a line above the top line lies
    /// above the cell area); empty for a column or a line the displayed sheet lacks.
    CRect GetCellRect(int line, int column) const;
    /// The cell under a client point; FALSE with -1/-1 when there is none. The strip
    /// under the column header maps to the line above the top line.
    BOOL PointToCellPos(POINT pt, int& line, int& column) const;
    /// Scrolls so that the cell is wholly visible.
    void EnsureVisible(int line, int column);
    /// The window's redraw, followed by a new layout of the strips and scroll bars.
    BOOL RedrawWindow(const RECT* lpRectUpdate = nullptr, CRgn* prgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    /// Sets the window's text, which the line header shows in its caption box and
    /// which widens the strip when it needs more room.
    void SetWindowTextW(LPCWSTR text);
    ///@}

    // ---- Painting (view/table_view_paint.cpp) -----------------------------------------
    /// @name Painting and the font
    ///@{

    /// Paints the cell area through one off-screen bitmap; draws nothing on a
    /// printer, so printed pages stay blank.
    void OnDraw(CDC* pDC) override;
    /// Printing as the framework's view prepares it; the pages stay blank.
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    /// The cell font's record (when `plf` is not null) and its size in tenths of a point.
    void GetLogFont(LOGFONTW* plf, int& nPointSize) const;

    // ---- The user's font choice (view/table_view_font.cpp) ---------------------------
    /// Opens the font dialog on the view's font (8 to 14 points); after OK the cells,
    /// both header strips, the tab strip and the editors take the chosen font, the
    /// line pitch follows its size and the choice is stored at once. Cancel, or a view
    /// without a window, changes nothing.
    void ChangeDrawingElements();
    ///@}

    // ---- Cursor and selection (view/table_view_cursor.cpp) ----------------------------
    /// @name Cursor, selection and keys
    /// A selection is a rectangle of cells: left and right columns, top and bottom
    /// lines. The cursor is a cell: x the column, y the line.
    ///@{

    /// The displayed sheet's selection and cursor as stored; an empty rectangle and
    /// (0, 0) without a displayed sheet.
    void GetSel(CRect& rcSel, CPoint& ptCursor) const;
    /// Stores a selection and a cursor as given (a reversed rectangle, or cells the
    /// sheet lacks, included), shows the change, scrolls the cursor cell into view
    /// and, when the cursor moved, tells the host (OnCursorMoved) and repaints the
    /// view.
    void SetSel(CRect rcSel, CPoint ptCursor);

    // ---- Keyboard (view/table_view_keys.cpp) ------------------------------------------
    /// Takes the navigation keys, F2 and the keys that start an edit out of the
    /// queue before they are dispatched, when they are addressed to the view itself;
    /// every other message goes on to the framework, and so to the host's
    /// accelerators.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    ///@}

    // ---- Copy, cut and paste (view/table_view_clipboard.cpp) -------------------------
    /// @name Clipboard, search and undo
    ///@{

    /// Checks clipboard text against the selection and the columns it would land in.
    /// Fills the block's size (lines, widest line in fields) and how often it repeats
    /// down and across the selection, and answers 1 (it fits), 0 (the selection lies
    /// outside the sheet), -1 (the selection is no whole multiple of the block), -2 (a
    /// field does not suit its column) or -3 (a field matches none of its list
    /// column's strings).
    int IsEnableToPaste(const CString& text, int& blockLines, int& blockColumns, int& timesDown, int& timesAcross);
    /// Writes the records of `text` (ended by CR LF) once, cell by cell through
    /// SetCellText, from the top left corner of `area`, clipped at the sheet's edges.
    /// 0 when there is no sheet or text, or when a field holding a point meets a
    /// whole-number column (after a beep; cells written before it keep their texts).
    int PasteString(CString text, CRect area);

    // ---- Search (find/table_view_find.cpp) --------------------------------------------
    /// Looks in sheet `sheet` for `text`, forward from the cell (`line`, `column`),
    /// which is itself examined, down the lines and left to right, without wrapping.
    /// `flags`: kFindEntireCells, kFindMatchCase; other bits are ignored. Cells are
    /// compared in the user's locale ignoring symbols and non-spacing marks, and case
    /// unless kFindMatchCase is set; part of a cell matches its characters as they
    /// stand, case folded unless kFindMatchCase is set. `area` (optional: first
    /// column, first line, last column, last line; negative values count as 0)
    /// bounds the search; without it the search runs from the start line to the last
    /// line over the fields of the start line. On return `line` and `column` name the
    /// cell found, or are -1 and -1; `match` (optional) is where the text matched:
    /// (0, length of `text`) for a whole cell, or the first and last position in the
    /// cell, and (-1, -1) without a match. A null `text` finds nothing; an empty one
    /// searches nothing, keeps `line` and `column` and sets `match` to (0, 0).
    void Find(int& sheet, int& line, int& column, LPCWSTR text, DWORD flags, RECT* area, POINT* match);

    // ---- Undo buffer (view/table_view_commands.cpp) -----------------------------------
    /// Deletes the host's undo entries, newest first: 1, or 0 when it met a null entry
    /// (taken off; the entries before it stay).
    int RemoveUndoBuffer();
    ///@}

    // ---- Persisted settings, per user below the host's settings base key
    // ---- (settings/table_view_settings.cpp) ------------------------------------------
    /// @name Persisted settings
    /// Per user, below the application's settings base key
    /// (`Software\<registry key>\` of HKEY_CURRENT_USER): the widths in
    /// `WidthOfColumns\Info_<the sheet's data word in 8 hex digits>`, the font in
    /// `LogFont`. The view never creates the base key.
    ///@{

    /// Sets every column's width from the section of its sheet's data word, as
    /// stored (a negative width too); the edges it makes stop at
    /// tq3::kFarthestColumnEdge. Sheets after one without columns keep their widths.
    /// Always 0.
    int ReadWidthOfColumns();
    /// Stores every column's current width; FALSE when there is no base key or no
    /// sheet, or when it stopped at a sheet without columns.
    int WriteWidthOfColumns();
    /// Fills `plf` (when not null) and `nPointSize` (tenths of a point) from the
    /// stored font, 90 for a stored size of 0 or less; FALSE, a zeroed record and 90
    /// when there is no base key.
    int ReadLogFont(LOGFONTW* plf, int& nPointSize);
    /// Stores every field of `lf` and `nPointSize`; FALSE when there is no base key.
    int WriteLogFont(LOGFONTW lf, int nPointSize);
    ///@}

    // ---- The child windows, for the host's and the tests' inspection -----------------
    /// @name The child windows
    /// For the host's and the tests' inspection; the view owns them.
    ///@{

    /// The column header strip (id 30002).
    CColumnHeaderWnd& GetColumnHeader() { return columnHeader; }
    /// The line header strip (id 30001).
    CLineHeaderWnd& GetLineHeader() { return lineHeader; }
    /// The strip of sheet tabs (id 30003).
    CSheetTabWnd& GetSheetTab() { return sheetTab; }
    /// The in-cell edit box of text and numeric cells (kCellEditId), hidden while no
    /// such cell is edited.
    CCellEdit& GetCellEdit() { return cellEdit; }
    /// The in-cell drop-down list of list cells (kCellComboId), hidden while no such
    /// cell is edited.
    CCellCombo& GetCellCombo() { return cellCombo; }
    ///@}

protected:
    // ---- model/table_view_structure.cpp
    /// The record of sheet `sheet`, which the view owns; null for a bad index.
    CSheetObj* GetSheetObj(int sheet) const;

    // ---- settings/table_view_settings.cpp
    /// Deletes `path` below HKEY_CURRENT_USER with every key under it: -1 when it
    /// cannot be opened, else the result of deleting `path` itself (0 on success).
    long DeleteRegKey(CString path);

    // ---- find/find_replace_history.cpp
    /// Reads the find/replace dialog's remembered texts, newest first (the values
    /// HistoryFindWhat and HistoryReplace below the base key): empties both lists and
    /// fills them from the store (1), or leaves them empty without a base key (0).
    int ReadFindReplaceHistory(CStringList& findList, CStringList& replaceList);
    /// Stores the find/replace dialog's remembered texts, newest first: the
    /// non-empty texts among the 20 newest of each list, which are taken off it (1);
    /// touches nothing without a base key (0), and 0 too when memory runs out, the
    /// stored histories then left as they were.
    int WriteFindReplaceHistory(CStringList& findList, CStringList& replaceList);

    // ---- find/table_view_find_requests.cpp: the find/replace dialog's requests
    /// Sets *pResult to 0, carries out a request (code kFindReplaceRequest, by the
    /// high half of its flags) or the choice of a column (kFindColumnChosen, from the
    /// open dialog only: the selection and the cursor move to the column), then lets
    /// the window's own handling see the notification.
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    /// Find Next: searches from the cell after the request's one and selects what it
    /// finds (the search area with the cursor on the cell, or the cell alone).
    void OnButtonFindNext(NMHDR* pNMHDR);
    /// Replace: replaces in the first matching cell from the request's one, then
    /// moves the cursor to the next match.
    void OnButtonFindReplace(NMHDR* pNMHDR);
    /// Replace All: replaces in every matching cell of the area (of the whole column
    /// when the selection is one cell), under the wait cursor, and repaints once.
    void OnButtonFindReplaceAll(NMHDR* pNMHDR);
    /// The open find/replace dialog, null when none is open; set by the Find and
    /// Replace commands, read only to recognise the dialog's notifications.
    CFindReplaceDlg* findReplaceDlg = nullptr;

private:
    // ---- find/table_view_find_requests.cpp
    // Whether `window` is the open find/replace dialog's.
    bool IsFindReplaceDlg(HWND window) const;
    // The dialog narrowed the search to `column`: it becomes the selected column
    // of the selection's lines, with the cursor on its line in it, shown at once.
    void ChooseSearchColumn(int column);
    // What a search's caller does with the cell it finds: reads the match only,
    // or stores a new text in it, which reads the cell's whole line again.
    enum class FoundCellUse { kRead, kRewrite };
    // Find on the displayed sheet from the request's cell, answering in the record,
    // with the matcher made for the request's text and flags.
    void SearchFrom(FindReplaceNotify& request, tq3::CellMatcher& matcher, FoundCellUse use = FoundCellUse::kRead);
    // Stores the replacement for the request's found cell through SetCellText,
    // building the cell's new text in `text`.
    void ReplaceInCell(const FindReplaceNotify& request, std::u16string& text);
    // ---- find/table_view_find.cpp
    // Find with a matcher made for the search text and flags; one matcher serves
    // many searches for the same text.
    void FindWith(tq3::CellMatcher& matcher, int sheet, int& line, int& column, const RECT* area, POINT* match,
                  FoundCellUse use = FoundCellUse::kRead);

protected:

    // ---- Message handlers: view/table_view_window.cpp
    /// @name Message handlers
    /// What the view does with its window's messages, its children's notifications
    /// and the edit commands; a derived view that handles one of them itself calls
    /// the view's.
    ///@{

    /// WM_CREATE: makes the three strips (one that cannot be made leaves its part
    /// blank) and the two in-cell editors, in the library language; -1 (no window)
    /// when the editors cannot be made.
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    /// WM_DESTROY: stores the cell font (WriteLogFont), deletes every sheet and
    /// destroys the editors.
    afx_msg void OnDestroy();
    /// TCN_SELCHANGE from the tab strip: calls OnSheetChanged with the current tab,
    /// then tells the view's parent with a WM_NOTIFY of TCN_SELCHANGE from id 0.
    afx_msg void OnTabSheetSelchange(NMHDR* pNMHDR, LRESULT* pResult);
    // ---- view/table_view_geometry.cpp
    /// WM_SIZE: ends an open edit unwritten, keeps no empty rows under the last line
    /// while lines are hidden above, and lays out the strips and scroll bars.
    afx_msg void OnSize(UINT nType, int cx, int cy);
    // ---- view/table_view_scroll.cpp
    /// WM_HSCROLL: scrolls the columns by the bar's code, in pixels.
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    /// WM_VSCROLL: scrolls the lines by the bar's code; the thumb's 16-bit position
    /// is widened to the bar's full range, so a million lines scroll.
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    /// WM_MOUSEWHEEL: three lines up or down per message, whatever the delta.
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    // ---- view/table_view_paint.cpp
    /// WM_ERASEBKGND: erases nothing, since the cell area's copy and the strips
    /// cover every pixel.
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    // ---- view/table_view_mouse.cpp
    /// WM_LBUTTONDOWN: ends an open edit as Enter would, then makes the cell
    /// clicked the cursor and the selection and captures the mouse for a drag.
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    /// WM_MOUSEMOVE: a drag with the left button alone extends the selection from
    /// the cursor cell to the cell under the pointer.
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    /// WM_LBUTTONUP: ends the drag.
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    /// WM_LBUTTONDBLCLK: opens the cell's editor on its text; inside the selection
    /// the selection stays, so that the edit goes to every selected line.
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    // ---- view/table_view_edit.cpp
    /// The edit box lost the focus: commits when Tab, Enter or an arrow ended it.
    afx_msg void OnEditCellKillfocus();
    /// The drop-down list lost the focus: commits as the key that ended it asks.
    afx_msg void OnComboCellKillfocus();
    /// An entry was picked in the open list: commits it.
    afx_msg void OnComboCellSelendok();
    /// The list opens: its dropped part becomes as wide as its widest entry.
    afx_msg void OnComboDropDown();
    // ---- view/table_view_clipboard.cpp: the selection to and from the clipboard as
    // tab-separated text, each gated by its bit of the edit-function mask.
    /// ID_EDIT_COPY: puts the selected block on the clipboard as tab-separated text,
    /// every line (the last one too) ended by CR LF; nothing while an in-cell editor
    /// is shown.
    afx_msg void OnEditCopy();
    /// ID_EDIT_CUT: copies as OnEditCopy, then empties the selected cells line by
    /// line (without OnCellChanged), under the wait cursor. Nothing is emptied when
    /// the copy ran out of memory.
    afx_msg void OnEditCut();
    /// ID_EDIT_PASTE: checks the clipboard's text against the selection
    /// (IsEnableToPaste), asks the user in a message box where the check finds a
    /// doubt or refuses it, and writes the block, repeated as often as it fits into
    /// the selection, through SetCellText.
    afx_msg void OnEditPaste();
    // ---- view/table_view_commands.cpp: the context menu and the commands' state
    /// WM_CONTEXTMENU: with the pointer still where the user asked for it, selects
    /// the cell under it when it lies outside the selection and opens the context
    /// menu; a menu asked for from the keyboard goes the default way.
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    /// Shows the context menu at screen point `point`, its commands for the view.
    void TrackContextMenu(CPoint point);
    afx_msg void OnEditUndo();  ///< the host carries out undo; the view does nothing
    /// The state of Copy: left alone, so always enabled.
    afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
    /// The state of Cut: left alone, so always enabled.
    afx_msg void OnUpdateEditCut(CCmdUI* pCmdUI);
    /// The state of Paste: enabled while the clipboard holds Unicode text that is
    /// not empty.
    afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
    /// The state of Find: enabled while the displayed sheet has lines.
    afx_msg void OnUpdateEditFind(CCmdUI* pCmdUI);
    /// The state of Replace: as Find.
    afx_msg void OnUpdateEditReplace(CCmdUI* pCmdUI) { OnUpdateEditFind(pCmdUI); }
    /// The state of Undo: enabled while the undo buffer holds entries.
    afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
    // ---- find/table_view_find_commands.cpp: the find/replace dialog on the
    // displayed sheet, each gated by its bit of the edit-function mask.
    /// ID_EDIT_FIND: runs the find/replace dialog in Find mode on the displayed
    /// sheet, with the texts remembered in the settings.
    afx_msg void OnEditFind();
    /// ID_EDIT_REPLACE: runs the find/replace dialog in Replace mode on the
    /// displayed sheet, with the texts remembered in the settings.
    afx_msg void OnEditReplace();
    ///@}
    DECLARE_MESSAGE_MAP()

protected:
    // ---- view/table_view_commands.cpp
    /// The host's undo entries, oldest first; the host adds them, the view only
    /// counts them (the Undo command's state) and deletes them (RemoveUndoBuffer).
    CUndoList undoBuffer;

    // ---- view/table_view_font.cpp
    /// Applies a font as the font dialog gives it (`font`'s height in pixels,
    /// `points` in tenths of a point) and stores it: what OK in the dialog does.
    void ApplyChosenFont(LOGFONTW font, int points);

    // ---- Column resizing from the column header (view/table_view_header_notify.cpp)
    /// A divider drag: the column under way is remembered at its start, a tracking
    /// line follows the pointer while the width stays within 25 ... 500 pixels, and
    /// at the end the column takes the width (clamped to those limits) and the
    /// columns behind it move.
    afx_msg void OnHeaderColumnBeginTrack(NMHDR* pNMHDR, LRESULT* pResult);
    /// HDN_TRACKW from the column header: moves the tracking line with the pointer
    /// while the width stays within 25 ... 500 pixels; with the arrow pointer
    /// instead of the divider, extends a block of whole columns from the cursor's.
    afx_msg void OnHeaderColumnTrack(NMHDR* pNMHDR, LRESULT* pResult);
    /// HDN_ENDTRACKW: the column takes the width at the pointer, clamped to 25 ...
    /// 500 pixels, the columns behind it move and the view repaints.
    afx_msg void OnHeaderColumnEndTrack(NMHDR* pNMHDR, LRESULT* pResult);
    /// A double-click on a divider gives the column back its natural width.
    afx_msg void OnHeaderColumnDividerDblClick(NMHDR* pNMHDR, LRESULT* pResult);
    /// Inverts the two-pixel tracking band left of client x `x`, from under the
    /// column header to above the tab strip: drawn once, erased by drawing again.
    void InvertTracker(int x);
    /// Whole columns and whole lines from the header strips: a press selects the
    /// item's column or line of the sheet, a drag extends the block from the cursor's
    /// one, the corner box selects every cell, and a right click selects the item
    /// and opens the context menu. Items the sheet lacks are ignored.
    afx_msg void OnHeaderColumnItemClick(NMHDR* pNMHDR, LRESULT* pResult);
    /// HDN_BEGINDRAG from the column header: a press selects the item's column.
    afx_msg void OnHeaderColumnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    /// HDN_ENDDRAG from the column header: the block of whole columns from the
    /// cursor's to the item's.
    afx_msg void OnHeaderColumnEndDrag(NMHDR* pNMHDR, LRESULT* pResult);
    /// HDN_BEGINDRAG from the line header: a press selects the item's line.
    afx_msg void OnHeaderLineBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    /// HDN_TRACKW from the line header: extends a block of whole lines from the
    /// cursor's to the item's.
    afx_msg void OnHeaderLineTrack(NMHDR* pNMHDR, LRESULT* pResult);
    /// HDN_ENDDRAG from the line header: the block of whole lines from the cursor's
    /// to the item's.
    afx_msg void OnHeaderLineEndDrag(NMHDR* pNMHDR, LRESULT* pResult);
    /// HDN_ITEMCLICKW from the line header: the corner box selects every cell; a
    /// right click selects the item's line and opens the context menu.
    afx_msg void OnHeaderLineItemClick(NMHDR* pNMHDR, LRESULT* pResult);
    /// Stores a block and cursor on the displayed sheet and shows the change; with
    /// `onlyChanged` nothing happens when the block stays as it was. Then scrolls
    /// the cell (`line`, `column`) into view.
    void SelectFromHeader(CRect block, CPoint cursor, int line, int column, bool onlyChanged);
    /// The right-click of a header item: FALSE when the pointer moved on before the
    /// view took the focus (the click is then ignored), else the pointer's place.
    bool PointerStayed(CPoint& screen);
    int trackColumn = -1;  ///< the column whose divider is dragged, or -1
    int trackerX = -1;     ///< client x of the tracking line on screen, or -1

private:
    // ---- Geometry (view/table_view_geometry.cpp) ------------------------------------
    // The displayed sheet, or null.
    CSheetObj* CurrentSheet() const { return GetSheetObj(selSheet); }
    // The height of the cell area in a client area `clientHeight` pixels high: what
    // the column header (one line) above it and the tab strip (one line and 10
    // pixels) below it leave; zero or less when they take it all.
    int CellAreaHeight(int clientHeight) const { return clientHeight - 2 * lineHeight - 10; }
    // Full rows of the cell area for a client height, and whether a part row follows.
    int PageOf(int clientHeight) const;
    int PartialRowOf(int clientHeight) const;
    void SetVerticalBar(int topLine, int lineCount, int page);
    void SetHorizontalBar(int width, int page);
    void PlaceStrips();
    // Invalidates the window with background erase and paints it at once.
    static void RedrawNow(CWnd& window);

    // ---- Scrolling (view/table_view_scroll.cpp) ------------------------------------
    // The scroll steps with full 32-bit positions: vertical ones biased by -32768,
    // horizontal ones in pixels. The message handlers widen the 16-bit thumb
    // position they are given and call these.
    void ScrollVertically(UINT code, int biasedThumb);
    void ScrollHorizontally(UINT code, int thumb);
    void SetTopLine(int top);
    void SetScrollX(int x);

    // ---- Painting (view/table_view_paint.cpp) ----------------------------------------
    void DrawRows(CDC& dc, CSheetObj* sheet, int rows) const;
    // The inverted region of a selection and a cursor, in client coordinates.
    void CalcInvertRgn(CRgn& rgn, CRect rcSel, CPoint ptCursor) const;
    // Shows a selection change between paints by inverting, straight in the window,
    // the region of the new pair combined by exclusive-or with the old pair's.
    void DrawCursor(CRect* pSel, CPoint* pCursor, CRect* pOldSel, CPoint* pOldCursor);

    // ---- Moves of the cursor and the selection (view/table_view_cursor.cpp) ----------
    // Each acts on the displayed sheet and does nothing without one. Without Shift
    // the cursor moves and the selection collapses onto it; with Shift one edge of
    // the selection moves and the cursor stays (Home excepted). Home and End read
    // Ctrl themselves.
    void OnKeyUpArrow(BOOL bShift);
    void OnKeyDownArrow(BOOL bShift);
    void OnKeyLeftArrow(BOOL bShift);
    void OnKeyRightArrow(BOOL bShift);
    void OnKeyHome(BOOL bShift);
    void OnKeyEnd(BOOL bShift);
    void OnKeyPageUp(BOOL bShift);
    void OnKeyPageDown(BOOL bShift);
    // Moves the cursor to the next cell of the selection (Shift: the previous
    // one), column by column, leaving the selection as it is.
    void OnKeyReturn(BOOL bShift);
    // The cursor goes to `cursor` and the selection collapses onto it: drawn,
    // scrolled into view, and the host told when the cursor changed, before the
    // drawing when `hookFirst` is set and after the scrolling otherwise.
    void MoveCursor(CPoint cursor, bool hookFirst);
    // The selection becomes `selection` with the cursor staying: drawn and the
    // cell (line, column) scrolled into view.
    void ChangeSelection(const CRect& selection, int line, int column);
    // Calls OnCursorMoved with the application's resources current.
    void TellCursorMoved(int line, int column);
    // The number of full rows a page holds, as the vertical scroll bar has it.
    int VerticalPage() const;

    // ---- The keys and starting an edit (view/table_view_keys.cpp) --------------------
    // Handles one key-down message addressed to the view, as PreTranslateMessage
    // answers.
    BOOL TakeKey(MSG* pMsg);
    // Whether the key `vk` starts editing the cursor cell of `sheet`.
    bool IsTypingKey(const CSheetObj& sheet, UINT vk) const;

    // ---- In-cell editing (view/table_view_edit.cpp) ---------------------------------
    // The one door to in-cell editing: a typing key (with `arrowsMoveCaret`
    // FALSE), F2 or a double click (TRUE) open the editor the column's mode asks
    // for on the cell, filled with its text, and give it the focus.
    void ShowCellEditCtrl(int line, int column, BOOL arrowsMoveCaret);
    // Makes the two editors, hidden; FALSE when either cannot be made.
    BOOL CreateEditors();
    // Hides a shown editor, which ends its edit without a commit.
    void HideEditors();
    // Writes `text` into column `column` of every line from `from` to `to`
    // (stepping down when `from` > `to`) through SetCellText.
    void CommitLines(int from, int to, int column, LPCWSTR text);

    // ---- Copy (view/table_view_clipboard.cpp) -----------------------------------------
    // The selection of the displayed sheet as clipboard text into `text`; false when
    // memory ran out (`text` then holds nothing useful).
    bool CopySelectionText(CString& text) const;
    // Puts the selection on the clipboard unless an in-cell editor is shown; false
    // only when memory ran out building the text.
    bool CopySelection();
    // Whether the edit box or the drop-down list is shown over a cell.
    bool InCellEditorShown() const;

    // ---- The strips and the sheets (model/table_view_structure.cpp) -----------------
    // Gives the column header the displayed sheet's columns, laying out the ones
    // never laid out.
    void FillColumnHeader(CSheetObj* sheet);
    // After lines were removed from the displayed sheet.
    void SyncLineHeader(CSheetObj* sheet);

    // ---- The find/replace dialog (find/table_view_find_commands.cpp) ---------------
    // Runs the dialog in Find mode (`findOnly`) or Replace mode, with the texts
    // remembered in the settings.
    void RunFindReplaceDialog(bool findOnly);
    // Gives the dialog the search area, the cursor cell and its text, the sheet's
    // size and the column choices; std::bad_alloc when memory runs out.
    void FillFindDialog(CFindReplaceDlg& dialog, bool findOnly);

    // ---- Language resources around the host's hooks (view/table_view_window.cpp) ----
    // Makes the library language's resources current for the host's code, keeping
    // that language library loaded for the view's life so that a switch around
    // every hook call does not map and unmap it each time.
    void SwitchToLanguageResources(class CSwitchResource& scope);
    // The resource module of the library language that the view holds (its own
    // module outside the five languages); null when the language's library cannot
    // be loaded, which is looked for once in the view's life.
    HMODULE HeldLanguageResources();
    // The library the view already holds for `language`; null for a language it has
    // not used yet or one outside the five. Inline: the cell setter asks it per cell.
    HMODULE KeptLanguageLibrary(int language) const noexcept {
        return language >= 0 && language < kKeptLanguages ? keptLanguageLibraries[language] : nullptr;
    }

    tq3::RecordList<CSheetObj> sheets;    // the sheets, in tab order
    int selSheet = 0;                      // the displayed sheet
    DWORD editFunctions = kEditFunctionsDefault;  // enabled edit commands
    LOGFONTW logFont{};                    // the cell font's record
    int pointSize = 90;                    // the cell font's size in tenths of a point, as stored
                                           // (its fonts are made at 720 points at most)
    int lineHeight = 0;                    // pitch of one line in pixels
    CFont cellFont;                        // cell texts
    CColumnHeaderWnd columnHeader;
    CLineHeaderWnd lineHeader;
    CSheetTabWnd sheetTab;
    CCellEdit cellEdit;                    // the edit box of text and numeric cells
    CCellCombo cellCombo;                  // the drop-down list of list cells
    // Working room for rebuilding and cutting line texts, kept between calls so
    // that setting every cell of a large table does not allocate per cell.
    mutable std::vector<WCHAR> scratch;
    static constexpr int kKeptLanguages = 5;
    HMODULE keptLanguageLibraries[kKeptLanguages] = {};  // language libraries the hook scopes used
    bool missingLanguageLibraries[kKeptLanguages] = {};  // languages whose library could not be loaded
    // The cell area's off-screen buffer, kept while the area keeps its size: making
    // and clearing several megabytes on every paint of a full-screen view would
    // cost more than drawing the cells.
    tq3::fw::OffscreenBuffer paintBuffer;
};
