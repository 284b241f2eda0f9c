// CTableView: a spreadsheet-like view. It holds named sheets, chosen from a strip of
// tabs; each sheet is a grid of lines (numbered in the line header) and columns
// (titled in the column header) whose cells are the tab-separated fields of each
// line's text.
//
// The host builds and reads the table through the structure and text operations
// below; every operation checks its indexes and answers an invalid one with its
// failure value. None of them repaints or calls a hook, except that storing a
// changed cell calls OnCellChanged; the host selects a sheet (which repaints) when
// it has finished filling.
//
// The class is implemented across the library, each part in the folder of its
// subject; every section below names the file that holds it.
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

// Bits of the edit-function mask: a clear bit disables the command.
constexpr DWORD kEditCopy = 0x01;
constexpr DWORD kEditCut = 0x02;
constexpr DWORD kEditPaste = 0x04;
constexpr DWORD kEditClear = 0x08;
constexpr DWORD kEditFind = 0x10;
constexpr DWORD kEditReplace = 0x20;
constexpr DWORD kEditUndo = 0x40;
constexpr DWORD kEditFunctionsDefault = 0x77;  // everything but clear

// Control ids of the view's in-cell editors.
constexpr UINT kCellComboId = 1002;
constexpr UINT kCellEditId = 1003;

// Search flags of CTableView::Find and of a find/replace request.
constexpr DWORD kFindEntireCells = 0x1;  // the whole cell text must equal the search text
constexpr DWORD kFindMatchCase = 0x2;    // case counts
// The high half of a request's flags says what the dialog asks for; any other
// value there is Find Next.
constexpr DWORD kFindReplace = 0x10000;
constexpr DWORD kFindReplaceAll = 0x20000;

// Notification codes the find/replace dialog sends the view with WM_NOTIFY: a
// request (a FindReplaceNotify record), and the choice of one column to search
// (a bare header whose idFrom is the column).
constexpr UINT kFindReplaceRequest = static_cast<UINT>(-100);
constexpr UINT kFindColumnChosen = 1;

// A request of the find/replace dialog, the lParam of its WM_NOTIFY. The view
// carries it out and answers in `line`, `column` and `match`.
struct FindReplaceNotify {
    NMHDR hdr;               // hwndFrom: the dialog; idFrom: 0; code: kFindReplaceRequest
    int line;                // in: the current cell's line; out: the line found, -1 for none
    int column;              // in: the current cell's column; out: the column found, -1 for none
    LPCWSTR replaceText;     // Replace with (Replace and Replace All)
    LPCWSTR findText;        // Find what
    DWORD flags;             // kFindEntireCells, kFindMatchCase, and kFindReplace or kFindReplaceAll
    POINT match;             // where in the cell found the text matched (see CTableView::Find)
    RECT* area;              // the search area: first column, first line, last column, last line
};

class CFindReplaceDlg;
namespace tq3 {
class CellMatcher;
}

class TQ3VIEW_API CTableView : public CView {
    DECLARE_DYNCREATE(CTableView)

protected:
    CTableView();

public:
    ~CTableView() override;

    // ---- Window life (view/table_view_window.cpp) -------------------------------------
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    // Creates the window with a class of its own (double clicks, arrow cursor, the
    // window colour as background); `lpszClassName` is not used.
    BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, void* pContext = nullptr) override;
    void OnInitialUpdate() override;

    // ---- Hooks for the host, in this order (view/table_view_window.cpp) ---------------
    // A sheet was chosen; this implementation switches the view to it, so an
    // override calls it.
    virtual void OnSheetChanged(int sheet);
    // The stored text of a cell changed.
    virtual void OnCellChanged(int line, int column);
    // The cursor cell moved.
    virtual void OnCursorMoved(int line, int column);

    // ---- Structure (model/table_view_structure.cpp) -----------------------------------
    int InsertSheet(int sheet, LPCWSTR name);
    int InsertLine(int sheet, int line, LPCWSTR text);
    int InsertColumn(int sheet, int column, CColumnProp* prop);
    int InsertColumn(int sheet, int column, LPCWSTR title, BYTE numeric);
    int DeleteSheet(int sheet);
    void DeleteAllSheets();
    int DeleteLine(int sheet, int line);
    int DeleteAllLines(int sheet);
    int DeleteColumn(int sheet, int column);
    int DeleteAllColumns(int sheet);
    int GetSheetCount() const;
    int GetLineCount(int sheet) const;
    int GetColumnCount(int sheet) const;
    CColumnProp* GetColumnProp(int sheet, int column) const;
    CLineProp* GetLineProp(int sheet, int line) const;
    int SetLineData(int sheet, int line, DWORD data);
    DWORD GetLineData(int sheet, int line) const;
    int SetSheetData(int sheet, DWORD data);
    DWORD GetSheetData(int sheet) const;
    int SetColumnData(int sheet, int column, DWORD data);
    int GetColumnData(int sheet, int column) const;
    CString GetSheetName(int sheet) const;
    int SetSheetName(int sheet, LPCWSTR name);
    int GetSelSheet() const;
    void SetSelSheet(int sheet);
    void SetEditFunctions(DWORD mask) { editFunctions = mask; }
    DWORD GetEditFunctions() const { return editFunctions; }
    CFont* GetFont() { return &cellFont; }

    // ---- Cell and line texts, column lists (model/table_view_text.cpp) ----------------
    // What each edit mode keeps of a text: model/cell_rules.h.
    CString GetTabbedString(int sheet, int line) const;
    int SetTabbedString(int sheet, int line, LPCWSTR text);
    CString GetCellText(int sheet, int line, int column) const;
    int SetCellText(int sheet, int line, int column, LPCWSTR text);
    void SetLineText(int sheet, int line, LPCWSTR text, int* sameAs, int count);
    int AddColumnString(int sheet, int column, LPCWSTR text);
    int InsertColumnString(int sheet, int column, int index, LPCWSTR text);
    int DeleteColumnString(int sheet, int column, UINT index);
    void ResetColumnContent(int sheet, int column);
    int FindColumnString(int sheet, int column, int start, LPCWSTR text);
    void SetColumnEditMode(int sheet, int column, BYTE numeric, int maxLength, BYTE digits, BYTE decimals);
    void SetColumnDefaultString(int sheet, int column, LPCWSTR text);

    // ---- Geometry read by the strips and the host (view/table_view_geometry.cpp) ------
    int GetLineHeight() const { return lineHeight; }
    int GetPointSize() const { return pointSize; }
    // Width of the line header strip, as the strip asks for it: its caption's width
    // in the label font plus two line heights and one pixel, at least 60.
    int GetLineHeaderWidth() const;
    // The cell's rectangle in client coordinates (a line above the top line lies
    // above the cell area); empty for a column or a line the displayed sheet lacks.
    CRect GetCellRect(int line, int column) const;
    // The cell under a client point; FALSE with -1/-1 when there is none. The strip
    // under the column header maps to the line above the top line.
    BOOL PointToCellPos(POINT pt, int& line, int& column) const;
    // Scrolls so that the cell is wholly visible.
    void EnsureVisible(int line, int column);
    // The window's redraw, followed by a new layout of the strips and scroll bars.
    BOOL RedrawWindow(const RECT* lpRectUpdate = nullptr, CRgn* prgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    // Sets the window's text, which the line header shows in its caption box and
    // which widens the strip when it needs more room.
    void SetWindowTextW(LPCWSTR text);

    // ---- Painting (view/table_view_paint.cpp) -----------------------------------------
    // Paints the cell area through one off-screen bitmap; draws nothing on a
    // printer, so printed pages stay blank.
    void OnDraw(CDC* pDC) override;
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    // The cell font's record (when `plf` is not null) and its size in tenths of a point.
    void GetLogFont(LOGFONTW* plf, int& nPointSize) const;

    // ---- The user's font choice (view/table_view_font.cpp) ---------------------------
    // Opens the font dialog on the view's font (8 to 14 points); after OK the cells,
    // both header strips, the tab strip and the editors take the chosen font, the
    // line pitch follows its size and the choice is stored at once. Cancel, or a view
    // without a window, changes nothing.
    void ChangeDrawingElements();

    // ---- Cursor and selection (view/table_view_cursor.cpp) ----------------------------
    // The displayed sheet's selection and cursor as stored; an empty rectangle and
    // (0, 0) without a displayed sheet.
    void GetSel(CRect& rcSel, CPoint& ptCursor) const;
    // Stores a selection and a cursor as given (a reversed rectangle, or cells the
    // sheet lacks, included), shows the change, scrolls the cursor cell into view
    // and, when the cursor moved, tells the host and repaints the view.
    void SetSel(CRect rcSel, CPoint ptCursor);

    // ---- Keyboard (view/table_view_keys.cpp) ------------------------------------------
    // Takes the navigation keys, F2 and the keys that start an edit out of the
    // queue before they are dispatched; every other message goes on to the
    // framework, and so to the host's accelerators.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // ---- Copy, cut and paste (view/table_view_clipboard.cpp) -------------------------
    // Checks clipboard text against the selection and the columns it would land in.
    // Fills the block's size (lines, widest line in fields) and how often it repeats
    // down and across the selection, and answers 1 (it fits), 0 (the selection lies
    // outside the sheet), -1 (the selection is no whole multiple of the block), -2 (a
    // field does not suit its column) or -3 (a field matches none of its list
    // column's strings).
    int IsEnableToPaste(const CString& text, int& blockLines, int& blockColumns, int& timesDown, int& timesAcross);
    // Writes the records of `text` (ended by CR LF) once, cell by cell through
    // SetCellText, from the top left corner of `area`, clipped at the sheet's edges.
    // 0 when there is no sheet or text, or when a field holding a point meets a
    // whole-number column (after a beep; cells written before it keep their texts).
    int PasteString(CString text, CRect area);

    // ---- Search (find/table_view_find.cpp) --------------------------------------------
    // Looks in sheet `sheet` for `text`, forward from the cell (`line`, `column`),
    // which is itself examined, down the lines and left to right, without wrapping.
    // `flags`: kFindEntireCells, kFindMatchCase; other bits are ignored. Cells are
    // compared in the user's locale ignoring symbols and non-spacing marks, and case
    // unless kFindMatchCase is set; part of a cell matches its characters as they
    // stand, case folded unless kFindMatchCase is set. `area` (optional: first
    // column, first line, last column, last line; negative values count as 0)
    // bounds the search; without it the search runs from the start line to the last
    // line over the fields of the start line. On return `line` and `column` name the
    // cell found, or are -1 and -1; `match` (optional) is where the text matched:
    // (0, length of `text`) for a whole cell, or the first and last position in the
    // cell, and (-1, -1) without a match. A null `text` finds nothing; an empty one
    // searches nothing, keeps `line` and `column` and sets `match` to (0, 0).
    void Find(int& sheet, int& line, int& column, LPCWSTR text, DWORD flags, RECT* area, POINT* match);

    // ---- Undo buffer (view/table_view_commands.cpp) -----------------------------------
    // Deletes the host's undo entries, newest first: 1, or 0 when it met a null entry
    // (taken off; the entries before it stay).
    int RemoveUndoBuffer();

    // ---- Persisted settings, per user below the host's settings base key
    // ---- (settings/table_view_settings.cpp) ------------------------------------------
    // Sets every column's width from the section of its sheet's data word, as
    // stored (a negative width too); the edges it makes stop at
    // tq3::kFarthestColumnEdge. Sheets after one without columns keep their widths.
    // Always 0.
    int ReadWidthOfColumns();
    // Stores every column's current width; FALSE when there is no base key or no
    // sheet, or when it stopped at a sheet without columns.
    int WriteWidthOfColumns();
    // Fills `plf` (when not null) and `nPointSize` (tenths of a point) from the
    // stored font, 90 for a stored size of 0 or less; FALSE, a zeroed record and 90
    // when there is no base key.
    int ReadLogFont(LOGFONTW* plf, int& nPointSize);
    // Stores every field of `lf` and `nPointSize`; FALSE when there is no base key.
    int WriteLogFont(LOGFONTW lf, int nPointSize);

    // ---- The child windows, for the host's and the tests' inspection -----------------
    CColumnHeaderWnd& GetColumnHeader() { return columnHeader; }
    CLineHeaderWnd& GetLineHeader() { return lineHeader; }
    CSheetTabWnd& GetSheetTab() { return sheetTab; }
    CCellEdit& GetCellEdit() { return cellEdit; }
    CCellCombo& GetCellCombo() { return cellCombo; }

protected:
    // ---- model/table_view_structure.cpp
    CSheetObj* GetSheetObj(int sheet) const;

    // ---- settings/table_view_settings.cpp
    // Deletes `path` below HKEY_CURRENT_USER with every key under it: -1 when it
    // cannot be opened, else the result of deleting `path` itself (0 on success).
    long DeleteRegKey(CString path);

    // ---- find/find_replace_history.cpp
    // The find/replace dialog's remembered texts, newest first. Reading empties
    // both lists and fills them from the store (1), or leaves them empty without a
    // base key (0). Writing stores the non-empty texts among the 20 newest of each
    // list and takes those 20 off it (1), or touches nothing without a base key (0);
    // 0 too when memory runs out, the stored histories then left as they were.
    int ReadFindReplaceHistory(CStringList& findList, CStringList& replaceList);
    int WriteFindReplaceHistory(CStringList& findList, CStringList& replaceList);

    // ---- find/table_view_find_requests.cpp: the find/replace dialog's requests
    // Sets *pResult to 0, carries out a request (code kFindReplaceRequest, by the
    // high half of its flags) or the choice of a column (kFindColumnChosen, from the
    // open dialog only: the selection and the cursor move to the column), then lets
    // the window's own handling see the notification.
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    // Find Next: searches from the cell after the request's one and selects what it
    // finds (the search area with the cursor on the cell, or the cell alone).
    void OnButtonFindNext(NMHDR* pNMHDR);
    // Replace: replaces in the first matching cell from the request's one, then
    // moves the cursor to the next match.
    void OnButtonFindReplace(NMHDR* pNMHDR);
    // Replace All: replaces in every matching cell of the area (of the whole column
    // when the selection is one cell), under the wait cursor, and repaints once.
    void OnButtonFindReplaceAll(NMHDR* pNMHDR);
    // The open find/replace dialog, null when none is open; set by the Find and
    // Replace commands, read only to recognise the dialog's notifications.
    CFindReplaceDlg* findReplaceDlg = nullptr;

private:
    // ---- find/table_view_find_requests.cpp
    // Whether `window` is the open find/replace dialog's.
    bool IsFindReplaceDlg(HWND window) const;
    // The dialog narrowed the search to `column`: it becomes the selected column
    // of the selection's lines, with the cursor on its line in it, shown at once.
    void ChooseSearchColumn(int column);
    // Find on the displayed sheet from the request's cell, answering in the record,
    // with the matcher made for the request's text and flags.
    void SearchFrom(FindReplaceNotify& request, tq3::CellMatcher& matcher);
    // Stores the replacement for the request's found cell through SetCellText,
    // building the cell's new text in `text`.
    void ReplaceInCell(const FindReplaceNotify& request, std::u16string& text);
    // ---- find/table_view_find.cpp
    // Find with a matcher made for the search text and flags; one matcher serves
    // many searches for the same text.
    void FindWith(tq3::CellMatcher& matcher, int sheet, int& line, int& column, const RECT* area, POINT* match);

protected:

    // ---- Message handlers: view/table_view_window.cpp
    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnTabSheetSelchange(NMHDR* pNMHDR, LRESULT* pResult);
    // ---- view/table_view_geometry.cpp
    afx_msg void OnSize(UINT nType, int cx, int cy);
    // ---- view/table_view_scroll.cpp
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    // ---- view/table_view_paint.cpp
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    // ---- view/table_view_mouse.cpp
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    // ---- view/table_view_edit.cpp
    // The edit box lost the focus: commits when Tab, Enter or an arrow ended it.
    afx_msg void OnEditCellKillfocus();
    // The drop-down list lost the focus: commits as the key that ended it asks.
    afx_msg void OnComboCellKillfocus();
    // An entry was picked in the open list: commits it.
    afx_msg void OnComboCellSelendok();
    // The list opens: its dropped part becomes as wide as its widest entry.
    afx_msg void OnComboDropDown();
    // ---- view/table_view_clipboard.cpp: the selection to and from the clipboard as
    // tab-separated text, each gated by its bit of the edit-function mask.
    afx_msg void OnEditCopy();
    afx_msg void OnEditCut();
    afx_msg void OnEditPaste();
    // ---- view/table_view_commands.cpp: the context menu and the commands' state
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    // Shows the context menu at screen point `point`, its commands for the view.
    void TrackContextMenu(CPoint point);
    afx_msg void OnEditUndo();  // the host carries out undo; the view does nothing
    afx_msg void OnUpdateEditCopy(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditCut(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditPaste(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditFind(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditReplace(CCmdUI* pCmdUI) { OnUpdateEditFind(pCmdUI); }
    afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
    // ---- find/table_view_find_commands.cpp: the find/replace dialog on the
    // displayed sheet, each gated by its bit of the edit-function mask.
    afx_msg void OnEditFind();
    afx_msg void OnEditReplace();
    DECLARE_MESSAGE_MAP()

protected:
    // ---- view/table_view_commands.cpp
    // The host's undo entries, oldest first; the host adds them, the view only
    // counts them (the Undo command's state) and deletes them (RemoveUndoBuffer).
    CUndoList undoBuffer;

    // ---- view/table_view_font.cpp
    // Applies a font as the font dialog gives it (`font`'s height in pixels,
    // `points` in tenths of a point) and stores it: what OK in the dialog does.
    void ApplyChosenFont(LOGFONTW font, int points);

    // ---- Column resizing from the column header (view/table_view_header_notify.cpp)
    // A divider drag: the column under way is remembered at its start, a tracking
    // line follows the pointer while the width stays within 25 ... 500 pixels, and
    // at the end the column takes the width (clamped to those limits) and the
    // columns behind it move.
    afx_msg void OnHeaderColumnBeginTrack(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnHeaderColumnTrack(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnHeaderColumnEndTrack(NMHDR* pNMHDR, LRESULT* pResult);
    // A double-click on a divider gives the column back its natural width.
    afx_msg void OnHeaderColumnDividerDblClick(NMHDR* pNMHDR, LRESULT* pResult);
    // Inverts the two-pixel tracking band left of client x `x`, from under the
    // column header to above the tab strip: drawn once, erased by drawing again.
    void InvertTracker(int x);
    // Whole columns and whole lines from the header strips: a press selects the
    // item's column or line of the sheet, a drag extends the block from the cursor's
    // one, the corner box selects every cell, and a right click selects the item
    // and opens the context menu. Items the sheet lacks are ignored.
    afx_msg void OnHeaderColumnItemClick(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnHeaderColumnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnHeaderColumnEndDrag(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnHeaderLineBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnHeaderLineTrack(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnHeaderLineEndDrag(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnHeaderLineItemClick(NMHDR* pNMHDR, LRESULT* pResult);
    // Stores a block and cursor on the displayed sheet and shows the change; with
    // `onlyChanged` nothing happens when the block stays as it was. Then scrolls
    // the cell (`line`, `column`) into view.
    void SelectFromHeader(CRect block, CPoint cursor, int line, int column, bool onlyChanged);
    // The right-click of a header item: FALSE when the pointer moved on before the
    // view took the focus (the click is then ignored), else the pointer's place.
    bool PointerStayed(CPoint& screen);
    int trackColumn = -1;  // the column whose divider is dragged, or -1
    int trackerX = -1;     // client x of the tracking line on screen, or -1

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
    // be loaded.
    HMODULE HeldLanguageResources();

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
    HMODULE keptLanguageLibraries[5] = {};  // language libraries the hook scopes used
    // The cell area's off-screen buffer, kept while the area keeps its size: making
    // and clearing several megabytes on every paint of a full-screen view would
    // cost more than drawing the cells.
    tq3::fw::OffscreenBuffer paintBuffer;
};
