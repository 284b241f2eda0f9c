// The structure interface of CTableView: sheets, lines and columns, their records
// and data words, sheet names, the selected sheet.
//
// Every operation checks its own indexes and answers an invalid one with its
// failure value; running out of memory inside an insertion is caught here and
// answered the same way, with the table left as it was.
#include <new>

#include "view/table_view.h"

namespace {

// A sheet, line or column index names something when 0 <= index < count.
bool IsIndex(int index, int count) { return index >= 0 && index < count; }

}  // namespace

CSheetObj* CTableView::GetSheetObj(int sheet) const { return sheets.GetAt(sheet); }

int CTableView::GetSheetCount() const { return sheets.GetCount(); }

int CTableView::GetLineCount(int sheet) const {
    const CSheetObj* s = GetSheetObj(sheet);
    return s != nullptr ? s->GetLineCount() : 0;
}

int CTableView::GetColumnCount(int sheet) const {
    const CSheetObj* s = GetSheetObj(sheet);
    return s != nullptr ? s->GetColumnCount() : 0;
}

CColumnProp* CTableView::GetColumnProp(int sheet, int column) const {
    const CSheetObj* s = GetSheetObj(sheet);
    return s != nullptr ? s->GetColumn(column) : nullptr;
}

CLineProp* CTableView::GetLineProp(int sheet, int line) const {
    const CSheetObj* s = GetSheetObj(sheet);
    return s != nullptr ? s->GetLine(line) : nullptr;
}

// ---- Sheets ----------------------------------------------------------------------

int CTableView::InsertSheet(int sheet, LPCWSTR name) {
    const int count = GetSheetCount();
    if (sheet < 0 || (count >= 1 && sheet > count)) return -1;
    CSheetObj* record = nullptr;
    try {
        record = new CSheetObj;
        record->name = name != nullptr ? name : u"";
        sheets.InsertAt(sheet, record);
    } catch (const std::bad_alloc&) {
        delete record;
        return -1;
    }
    const int position = sheet < count ? sheet : count;
    const int tabResult = sheetTab.InsertItem(position, name);
    if (tabResult < 0) {
        // The tab strip could not take the name: keep sheets and tabs in step.
        sheets.RemoveAt(position);
        return -1;
    }
    return tabResult;
}

int CTableView::DeleteSheet(int sheet) {
    if (!IsIndex(sheet, GetSheetCount())) return 0;
    // An open editor may be on this sheet, or on one whose index this shifts: it
    // closes without writing anything.
    HideEditors();
    sheets.RemoveAt(sheet);
    columnHeader.ResetColumns();
    sheetTab.DeleteItem(sheet);
    // The header shows the sheet that took the deleted one's place, or the one
    // before it when the last sheet went; the host selects a sheet afterwards.
    const int shown = sheet < GetSheetCount() ? sheet : sheet - 1;
    if (CSheetObj* s = GetSheetObj(shown)) FillColumnHeader(s);
    return 1;
}

void CTableView::DeleteAllSheets() {
    HideEditors();
    sheets.RemoveAll();
    columnHeader.ResetColumns();
    lineHeader.topLine = 0;
    lineHeader.previousTopLine = 0;
    lineHeader.headerLineCount = 0;
    sheetTab.DeleteAllItems();
}

CString CTableView::GetSheetName(int sheet) const {
    const CSheetObj* s = GetSheetObj(sheet);
    return s != nullptr ? s->name : CString();
}

int CTableView::SetSheetName(int sheet, LPCWSTR name) {
    CSheetObj* s = GetSheetObj(sheet);
    if (s == nullptr) return 0;
    try {
        s->name = name != nullptr ? name : u"";
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

int CTableView::SetSheetData(int sheet, DWORD data) {
    CSheetObj* s = GetSheetObj(sheet);
    if (s == nullptr) return 0;
    s->data = data;
    return 1;
}

DWORD CTableView::GetSheetData(int sheet) const {
    const CSheetObj* s = GetSheetObj(sheet);
    return s != nullptr ? s->data : 0xFFFFFFFF;
}

int CTableView::GetSelSheet() const { return GetSheetCount() == 0 ? -1 : selSheet; }

void CTableView::SetSelSheet(int sheet) {
    if (!IsIndex(sheet, GetSheetCount())) return;
    // The tab strip tells the view (OnTabSheetSelchange), which switches sheets.
    sheetTab.SetCurSel(sheet);
}

// ---- Lines -------------------------------------------------------------------------

int CTableView::InsertLine(int sheet, int line, LPCWSTR text) {
    CSheetObj* s = GetSheetObj(sheet);
    if (s == nullptr || line < 0) return -1;
    if (s->GetLineCount() >= 1 && line > s->GetLineCount()) return -1;
    int result = -1;
    try {
        CLineProp source;
        source.text = text != nullptr ? text : u"";
        result = s->InsertLine(line, source);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    if (result >= 0 && sheet == selSheet) lineHeader.headerLineCount = s->UpdateLineCount();
    return result;
}

int CTableView::DeleteLine(int sheet, int line) {
    CSheetObj* s = GetSheetObj(sheet);
    if (s == nullptr || !IsIndex(line, s->GetLineCount())) return 0;
    s->DeleteLine(line);
    if (sheet == selSheet) SyncLineHeader(s);
    return 1;
}

int CTableView::DeleteAllLines(int sheet) {
    CSheetObj* s = GetSheetObj(sheet);
    if (s == nullptr) return 0;
    s->DeleteAllLines();
    if (sheet == selSheet) SyncLineHeader(s);
    return 1;
}

void CTableView::SyncLineHeader(CSheetObj* sheet) {
    lineHeader.topLine = sheet->topLine;
    // -1: the rows no longer match what was painted, so the next paint redraws all.
    lineHeader.previousTopLine = -1;
    lineHeader.headerLineCount = sheet->headerLineCount;
}

int CTableView::SetLineData(int sheet, int line, DWORD data) {
    CLineProp* l = GetLineProp(sheet, line);
    if (l == nullptr) return 0;
    l->data = data;
    return 1;
}

DWORD CTableView::GetLineData(int sheet, int line) const {
    const CLineProp* l = GetLineProp(sheet, line);
    return l != nullptr ? l->data : 0xFFFFFFFF;
}

// ---- Columns -----------------------------------------------------------------------

int CTableView::InsertColumn(int sheet, int column, CColumnProp* prop) {
    CSheetObj* s = GetSheetObj(sheet);
    if (prop == nullptr || s == nullptr || column < 0) return -1;
    const int before = s->GetColumnCount();
    if (before >= 1 && column > before) return -1;
    int at = column;  // the record list reports through it; the view's result is its own
    CColumnProp* record = s->InsertColumn(at, *prop);
    if (record == nullptr) return -1;
    if (sheet == selSheet) {
        const int position = column < before ? column : before;
        if (columnHeader.InsertColumn(position, record) < 0) {
            // The header could not take it: the column goes again, so both agree.
            s->DeleteColumn(position);
            return -1;
        }
        if (record->extent.IsRectEmpty()) columnHeader.GetColumnRect(position, nullptr);
    } else if (before == 0) {
        // A first column of a sheet not on display reports the position asked for.
        return column;
    }
    return before;
}

int CTableView::InsertColumn(int sheet, int column, LPCWSTR title, BYTE numeric) {
    try {
        CColumnProp prop;
        prop.title = title != nullptr ? title : u"";
        prop.numeric = numeric;
        return InsertColumn(sheet, column, &prop);
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

int CTableView::DeleteColumn(int sheet, int column) {
    CSheetObj* s = GetSheetObj(sheet);
    if (s == nullptr || !IsIndex(column, s->GetColumnCount())) return 0;
    s->DeleteColumn(column);
    if (sheet == selSheet) columnHeader.DeleteColumn(column);
    return 1;
}

int CTableView::DeleteAllColumns(int sheet) {
    CSheetObj* s = GetSheetObj(sheet);
    if (s == nullptr) return 0;
    s->DeleteAllColumns();
    if (sheet == selSheet) columnHeader.ResetColumns();
    return 1;
}

int CTableView::SetColumnData(int sheet, int column, DWORD data) {
    CColumnProp* c = GetColumnProp(sheet, column);
    if (c == nullptr) return 0;
    c->data = data;
    return 1;
}

int CTableView::GetColumnData(int sheet, int column) const {
    const CColumnProp* c = GetColumnProp(sheet, column);
    return c != nullptr ? static_cast<int>(c->data) : -1;
}

void CTableView::FillColumnHeader(CSheetObj* sheet) {
    for (int i = 0; i < sheet->GetColumnCount(); ++i) {
        CColumnProp* column = sheet->GetColumn(i);
        if (columnHeader.InsertColumn(i, column) < 0) return;
        if (column->extent.IsRectEmpty()) columnHeader.GetColumnRect(i, nullptr);
    }
}
