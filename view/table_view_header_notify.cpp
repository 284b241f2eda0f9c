// What the view makes of the column header's divider notifications: resizing a
// column with a tracking line, and giving a column back its natural width.
#include <algorithm>

#include "framework/app/window_dc.h"
#include "framework/controls/commctrl.h"
#include "view/table_view.h"

namespace {

// A dragged column keeps room for a few characters and never outgrows a screen's
// good part: narrower or wider positions draw no line and are clamped at the end.
constexpr int kNarrowestDraggedColumn = 25;
constexpr int kWidestDraggedColumn = 500;

// The pointer in the client coordinates of `window`, read now: a notification
// carries no position, and the strip's may differ from the view's.
CPoint PointerIn(CWnd& window) {
    CPoint point;
    ::GetCursorPos(&point);
    ::ScreenToClient(window.m_hWnd, &point);
    return point;
}

}  // namespace

void CTableView::InvertTracker(int x) {
    CRect client;
    GetClientRect(&client);
    const int top = client.top + lineHeight;
    const int bottom = client.bottom - 10 - lineHeight;
    if (bottom <= top) return;
    CClientDC dc(this);
    CBrush* old = dc.SelectObject(CDC::GetHalftoneBrush());
    dc.PatBlt(x - 1, top, 2, bottom - top, PATINVERT);
    if (old != nullptr) dc.SelectObject(old);
}

void CTableView::OnHeaderColumnBeginTrack(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    if (CurrentSheet() == nullptr) return;
    trackColumn = reinterpret_cast<NMHEADERW*>(pNMHDR)->iItem;
}

void CTableView::OnHeaderColumnTrack(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    *pResult = 0;
    // With the arrow the drag selects columns, which this handler leaves alone.
    if (CurrentSheet() == nullptr || !columnHeader.ShowsDivider() || trackColumn < 0) return;
    CRect box;
    if (!columnHeader.GetColumnRect(trackColumn, &box)) return;
    const int x = PointerIn(*this).x;
    const int width = columnHeader.scrollX + (x - GetLineHeaderWidth()) - box.left;
    // Outside the limits the last line stays where it was.
    if (width < kNarrowestDraggedColumn || width > kWidestDraggedColumn) return;
    if (trackerX >= 0) InvertTracker(trackerX);
    InvertTracker(x);
    // The line is remembered where it was drawn, whatever x it had, so that the
    // next step or the end of the drag erases exactly it.
    trackerX = x;
}

void CTableView::OnHeaderColumnEndTrack(NMHDR* /*pNMHDR*/, LRESULT* pResult) {
    *pResult = 0;
    CSheetObj* sheet = CurrentSheet();
    CColumnProp* column = sheet != nullptr && trackColumn >= 0 ? columnHeader.GetColumn(trackColumn) : nullptr;
    if (column != nullptr) {
        const int contentX = PointerIn(*this).x - GetLineHeaderWidth() + columnHeader.scrollX;
        // The strip moves the columns behind by as much as this one changed.
        columnHeader.SetColumnWidth(trackColumn, std::clamp(contentX - column->extent.left, kNarrowestDraggedColumn,
                                                            kWidestDraggedColumn));
    }
    if (trackerX >= 0) InvertTracker(trackerX);
    if (sheet != nullptr) {
        SetFocus();
        if (columnHeader.m_hWnd != nullptr) {
            columnHeader.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    trackColumn = -1;
    trackerX = -1;
}

void CTableView::OnHeaderColumnDividerDblClick(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    SetFocus();
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    const int item = reinterpret_cast<NMHEADERW*>(pNMHDR)->iItem;
    const CColumnProp* column = item >= 0 ? sheet->GetColumn(item) : nullptr;
    if (column != nullptr && column->defaultWidth != column->extent.Width()) {
        columnHeader.SetColumnWidth(item, column->defaultWidth);
    }
    if (::GetCapture() == columnHeader.m_hWnd && columnHeader.m_hWnd != nullptr) ::ReleaseCapture();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}
