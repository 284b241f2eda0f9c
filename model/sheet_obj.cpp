#include "model/sheet_obj.h"

#include <memory>
#include <new>

IMPLEMENT_DYNAMIC(CSheetObj, CObject)

CSheetObj::~CSheetObj() {
    columns.RemoveAll();
    lines.RemoveAll();
}

int CSheetObj::InsertLine(int at, const CLineProp& source) {
    if (at < 0) return -1;
    const int count = lines.GetCount();
    try {
        auto line = std::make_unique<CLineProp>();
        *line = source;
        lines.InsertAt(at, line.get());
        line.release();
    } catch (const std::bad_alloc&) {
        return -1;
    }
    headerLineCount = lines.GetCount();
    return at < count ? at : headerLineCount;
}

int CSheetObj::DeleteLine(int line) {
    if (!lines.RemoveAt(line)) return 0;
    headerLineCount = lines.GetCount();
    return 1;
}

void CSheetObj::DeleteAllLines() {
    lines.RemoveAll();
    headerLineCount = 0;
}

int CSheetObj::UpdateLineCount() {
    headerLineCount = lines.GetCount();
    return headerLineCount;
}

CColumnProp* CSheetObj::InsertColumn(int& at, const CColumnProp& source) {
    if (at < 0) return nullptr;
    const int count = columns.GetCount();
    CColumnProp* column = nullptr;
    try {
        auto made = std::make_unique<CColumnProp>();
        *made = source;
        columns.InsertAt(at, made.get());
        column = made.release();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (at >= count) {
        column->index = count;
    } else {
        at = count;
        int position = 0;
        for (CColumnProp* c : columns) c->index = position++;
    }
    return column;
}

int CSheetObj::DeleteColumn(int column) {
    if (!columns.RemoveAt(column)) return 0;
    for (int i = column; i < columns.GetCount(); ++i) columns.GetAt(i)->index = i;
    return 1;
}

void CSheetObj::DeleteAllColumns() { columns.RemoveAll(); }
