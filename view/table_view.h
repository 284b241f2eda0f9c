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
// The class is implemented across the library: the structure operations in
// model/table_view_structure.cpp, the cell and line texts in
// model/table_view_text.cpp, the window's life in view/table_view_window.cpp.
// The persisted widths and font are in settings/table_view_settings.cpp, the
// find/replace history in find/find_replace_history.cpp.
#pragma once

#include <vector>

#include "framework/app/view.h"
#include "framework/core/cstring.h"
#include "framework/core/lists.h"
#include "framework/gdi/gdi_classes.h"
#include "headers/column_header_wnd.h"
#include "headers/line_header_wnd.h"
#include "headers/sheet_tab_wnd.h"
#include "model/column_prop.h"
#include "model/line_prop.h"
#include "model/record_list.h"
#include "model/sheet_obj.h"

// Bits of the edit-function mask: a clear bit disables the command.
constexpr DWORD kEditCopy = 0x01;
constexpr DWORD kEditCut = 0x02;
constexpr DWORD kEditPaste = 0x04;
constexpr DWORD kEditClear = 0x08;
constexpr DWORD kEditFind = 0x10;
constexpr DWORD kEditReplace = 0x20;
constexpr DWORD kEditUndo = 0x40;
constexpr DWORD kEditFunctionsDefault = 0x77;  // everything but clear

class TQ3VIEW_API CTableView : public CView {
    DECLARE_DYNCREATE(CTableView)

protected:
    CTableView();

public:
    ~CTableView() override;

    // ---- Window life ---------------------------------------------------------------
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    // Creates the window with a class of its own (double clicks, arrow cursor, the
    // window colour as background); `lpszClassName` is not used.
    BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, void* pContext = nullptr) override;
    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;

    // ---- Hooks for the host, in this order -------------------------------------------
    // A sheet was chosen; this implementation switches the view to it, so an
    // override calls it.
    virtual void OnSheetChanged(int sheet);
    // The stored text of a cell changed.
    virtual void OnCellChanged(int line, int column);
    // The cursor cell moved.
    virtual void OnCursorMoved(int line, int column);

    // ---- Structure -------------------------------------------------------------------
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

    // ---- Cell and line texts, column lists ------------------------------------------
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

    // ---- Geometry read by the strips and the host --------------------------------------
    int GetLineHeight() const { return lineHeight; }
    int GetPointSize() const { return pointSize; }

    // ---- Persisted settings (per user, below the host's settings base key) ---------
    // Sets every column's width from the section of its sheet's data word; sheets
    // after one without columns keep their widths. Always 0.
    int ReadWidthOfColumns();
    // Stores every column's current width; FALSE when there is no base key or no
    // sheet, or when it stopped at a sheet without columns.
    int WriteWidthOfColumns();
    // Fills `plf` (when not null) and `nPointSize` (tenths of a point) from the
    // stored font; FALSE, a zeroed record and 90 when there is no base key.
    int ReadLogFont(LOGFONTW* plf, int& nPointSize);
    // Stores every field of `lf` and `nPointSize`; FALSE when there is no base key.
    int WriteLogFont(LOGFONTW lf, int nPointSize);

    // The child windows, for the host's and the tests' inspection.
    CColumnHeaderWnd& GetColumnHeader() { return columnHeader; }
    CLineHeaderWnd& GetLineHeader() { return lineHeader; }
    CSheetTabWnd& GetSheetTab() { return sheetTab; }

protected:
    CSheetObj* GetSheetObj(int sheet) const;

    // Deletes `path` below HKEY_CURRENT_USER with every key under it: -1 when it
    // cannot be opened, else the result of deleting `path` itself (0 on success).
    long DeleteRegKey(CString path);
    // The find/replace dialog's remembered texts, newest first. Reading empties
    // both lists and fills them from the store (1), or leaves them empty without a
    // base key (0). Writing stores the non-empty texts among the 20 newest of each
    // list and takes those 20 off it (1), or touches nothing without a base key (0);
    // 0 too when memory runs out, the stored histories then left as they were.
    int ReadFindReplaceHistory(CStringList& findList, CStringList& replaceList);
    int WriteFindReplaceHistory(CStringList& findList, CStringList& replaceList);

    afx_msg int OnCreate(LPCREATESTRUCTW lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnTabSheetSelchange(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    // Gives the column header the displayed sheet's columns, laying out the ones
    // never laid out.
    void FillColumnHeader(CSheetObj* sheet);
    // After lines were removed from the displayed sheet.
    void SyncLineHeader(CSheetObj* sheet);
    // Makes the library language's resources current for the host's code, keeping
    // that language library loaded for the view's life so that a switch around
    // every hook call does not map and unmap it each time.
    void SwitchToLanguageResources(class CSwitchResource& scope);

    tq3::RecordList<CSheetObj> sheets;    // the sheets, in tab order
    int selSheet = 0;                      // the displayed sheet
    DWORD editFunctions = kEditFunctionsDefault;  // enabled edit commands
    LOGFONTW logFont{};                    // the cell font's record
    int pointSize = 90;                    // the cell font's size in tenths of a point
    int lineHeight = 0;                    // pitch of one line in pixels
    CFont cellFont;                        // cell texts
    CColumnHeaderWnd columnHeader;
    CLineHeaderWnd lineHeader;
    CSheetTabWnd sheetTab;
    // Working room for rebuilding and cutting line texts, kept between calls so
    // that setting every cell of a large table does not allocate per cell.
    mutable std::vector<WCHAR> scratch;
    HMODULE keptLanguageLibraries[5] = {};  // language libraries the hook scopes used
};
