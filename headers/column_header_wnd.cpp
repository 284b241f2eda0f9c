#include "headers/column_header_wnd.h"

#include <new>

#include "framework/gdi/sysmetrics.h"

IMPLEMENT_DYNAMIC(CColumnHeaderWnd, CWnd)

BEGIN_MESSAGE_MAP(CColumnHeaderWnd, CWnd)
ON_WM_DESTROY()
END_MESSAGE_MAP()

CColumnHeaderWnd::CColumnHeaderWnd() = default;
CColumnHeaderWnd::~CColumnHeaderWnd() = default;

BOOL CColumnHeaderWnd::Create(CWnd* parent) {
    columns.clear();
    LPCWSTR cls = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE));
    return CWnd::Create(cls, u"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), parent, kColumnHeaderId);
}

void CColumnHeaderWnd::ResetColumns() {
    columns.clear();
    scrollX = 0;
    paintedScrollX = 0;
}

CColumnProp* CColumnHeaderWnd::GetColumn(int position) const {
    if (position < 0 || position >= GetColumnCount()) return nullptr;
    return columns[static_cast<size_t>(position)];
}

int CColumnHeaderWnd::InsertColumn(int position, CColumnProp* column) {
    const int count = GetColumnCount();
    try {
        if (position < 0 || position >= count) {
            columns.push_back(column);
            return count;
        }
        columns.insert(columns.begin() + position, column);
    } catch (const std::bad_alloc&) {
        return -1;
    }
    return position;
}

BOOL CColumnHeaderWnd::DeleteColumn(int position) {
    if (position < 0 || position >= GetColumnCount()) return FALSE;
    columns.erase(columns.begin() + position);
    return TRUE;
}

BOOL CColumnHeaderWnd::GetColumnRect(int position, RECT* rect) {
    CColumnProp* column = GetColumn(position);
    if (column == nullptr) {
        if (rect != nullptr) *rect = RECT{0, 0, 0, 0};
        return FALSE;
    }
    // A column never laid out (or given no width) makes the whole row take the
    // widths of its titles again, so the columns stay side by side.
    if (column->extent.IsRectEmpty() && m_hWnd != nullptr) LayOutFromTitles();
    if (rect != nullptr) *rect = column->extent;
    return TRUE;
}

void CColumnHeaderWnd::LayOutFromTitles() {
    CRect client;
    GetClientRect(&client);
    // Titles are measured in the title font, as the strip draws them; a memory
    // context measures without touching the screen.
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CFont* previousFont = font.GetSafeHandle() != nullptr ? dc.SelectObject(&font) : nullptr;
    int left = client.left;
    for (CColumnProp* column : columns) {
        const int width = dc.GetTextExtent(column->title).cx + titleMargin;
        column->extent = CRect(left, client.top, left + width, client.bottom);
        column->defaultWidth = width;
        left += width;
    }
    if (previousFont != nullptr) dc.SelectObject(previousFont);
}

void CColumnHeaderWnd::SetColumnWidth(int position, int width) {
    CColumnProp* column = GetColumn(position);
    if (column == nullptr) return;
    const int shift = width - column->extent.Width();
    column->extent.right = column->extent.left + width;
    for (size_t i = static_cast<size_t>(position) + 1; i < columns.size(); ++i) {
        columns[i]->extent.OffsetRect(shift, 0);
    }
    if (m_hWnd != nullptr) Invalidate(TRUE);
}

void CColumnHeaderWnd::OnDestroy() {
    CWnd::OnDestroy();
    columns.clear();
}
