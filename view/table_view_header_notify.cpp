// What the view makes of the header strips' notifications: resizing a column
// with a tracking line, giving a column back its natural width, selecting whole
// columns and lines, all cells from the corner box, and the context menu.
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

void CTableView::OnHeaderColumnTrack(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    if (!columnHeader.ShowsDivider()) {
        // With the arrow the drag extends a block of whole columns from the cursor's.
        const int item = reinterpret_cast<NMHEADERW*>(pNMHDR)->iItem;
        if (item < 0 || item >= sheet->GetColumnCount()) return;
        SetFocus();
        const int anchor = sheet->cursor.x;
        SelectFromHeader(CRect(std::min(anchor, item), 0, std::max(anchor, item), sheet->GetLineCount() - 1),
                         CPoint(anchor, 0), sheet->topLine, item, true);
        return;
    }
    if (trackColumn < 0) return;
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

// ---- Whole columns and lines -------------------------------------------------------

void CTableView::SelectFromHeader(CRect block, CPoint cursor, int line, int column, bool onlyChanged) {
    CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr) return;
    sheet->selection.NormalizeRect();
    CRect oldSel = sheet->selection;
    CPoint oldCursor = sheet->cursor;
    if (onlyChanged && block == oldSel) return;
    sheet->selection = block;
    sheet->cursor = cursor;
    DrawCursor(&block, &cursor, &oldSel, &oldCursor);
    EnsureVisible(line, column);
}

bool CTableView::PointerStayed(CPoint& screen) {
    ::GetCursorPos(&screen);
    SetFocus();
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    CPoint now;
    ::GetCursorPos(&now);
    return now == screen;
}

void CTableView::OnHeaderColumnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    CSheetObj* sheet = CurrentSheet();
    const int item = reinterpret_cast<NMHEADERW*>(pNMHDR)->iItem;
    if (sheet == nullptr || item < 0 || item >= sheet->GetColumnCount()) return;
    SelectFromHeader(CRect(item, 0, item, sheet->GetLineCount() - 1), CPoint(item, 0), sheet->topLine, item, false);
}

void CTableView::OnHeaderColumnEndDrag(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    CSheetObj* sheet = CurrentSheet();
    const int item = reinterpret_cast<NMHEADERW*>(pNMHDR)->iItem;
    if (sheet == nullptr || item < 0 || item >= sheet->GetColumnCount()) return;
    SetFocus();
    CRect block = sheet->selection;
    block.NormalizeRect();
    const int anchor = sheet->cursor.x;
    if (anchor > item) block.left = item;
    if (anchor < item) block.right = item;
    if (anchor == item) block.left = block.right = item;
    block.top = 0;
    block.bottom = sheet->GetLineCount() - 1;
    SelectFromHeader(block, CPoint(anchor, 0), sheet->topLine, anchor, false);
}

void CTableView::OnHeaderLineBeginDrag(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    CSheetObj* sheet = CurrentSheet();
    const int item = reinterpret_cast<NMHEADERW*>(pNMHDR)->iItem;
    if (sheet == nullptr || item < 0 || item >= sheet->GetLineCount()) return;
    SelectFromHeader(CRect(0, item, sheet->GetColumnCount() - 1, item), CPoint(0, item), item, 0, false);
}

void CTableView::OnHeaderLineTrack(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    CSheetObj* sheet = CurrentSheet();
    const int item = reinterpret_cast<NMHEADERW*>(pNMHDR)->iItem;
    if (sheet == nullptr || item < 0 || item >= sheet->GetLineCount()) return;
    const int anchor = sheet->cursor.y;
    SelectFromHeader(CRect(0, std::min(anchor, item), sheet->GetColumnCount() - 1, std::max(anchor, item)),
                     CPoint(0, anchor), item, 0, true);
}

void CTableView::OnHeaderLineEndDrag(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    CSheetObj* sheet = CurrentSheet();
    const int item = reinterpret_cast<NMHEADERW*>(pNMHDR)->iItem;
    if (sheet == nullptr || item < 0 || item >= sheet->GetLineCount()) return;
    SetFocus();
    CRect block = sheet->selection;
    block.NormalizeRect();
    const int anchor = sheet->cursor.y;
    if (anchor > item) block.top = item;
    if (anchor < item) block.bottom = item;
    if (anchor == item) block.top = block.bottom = item;
    block.left = 0;
    block.right = sheet->GetColumnCount() - 1;
    SelectFromHeader(block, CPoint(0, anchor), anchor, 0, false);
}

// ---- Clicks ----------------------------------------------------------------------------

void CTableView::OnHeaderColumnItemClick(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    const auto* header = reinterpret_cast<NMHEADERW*>(pNMHDR);
    if (::GetCapture() == columnHeader.m_hWnd && columnHeader.m_hWnd != nullptr && columnHeader.ShowsDivider()) {
        ::ReleaseCapture();
        columnHeader.ShowArrow();
    }
    CSheetObj* sheet = CurrentSheet();
    if (header->iButton != 1 || sheet == nullptr) return;
    CPoint screen;
    if (!PointerStayed(screen)) return;
    if (header->hdr.hwndFrom == columnHeader.m_hWnd && header->iItem >= 0 && header->iItem < sheet->GetColumnCount()) {
        SetSel(CRect(header->iItem, 0, header->iItem, sheet->GetLineCount() - 1), CPoint(header->iItem, 0));
    }
    TrackContextMenu(screen);
}

void CTableView::OnHeaderLineItemClick(NMHDR* pNMHDR, LRESULT* pResult) {
    *pResult = 0;
    const auto* header = reinterpret_cast<NMHEADERW*>(pNMHDR);
    CSheetObj* sheet = CurrentSheet();
    if (header->iItem < 0) {
        // The corner box: every cell of the sheet.
        if (::GetCapture() == lineHeader.m_hWnd && lineHeader.m_hWnd != nullptr) ::ReleaseCapture();
        SetFocus();
        if (sheet == nullptr) return;
        SetSel(CRect(0, 0, sheet->GetColumnCount() - 1, sheet->GetLineCount() - 1), CPoint(0, 0));
    }
    if (header->iButton != 1 || sheet == nullptr) return;
    CPoint screen;
    if (!PointerStayed(screen)) return;
    if (header->hdr.hwndFrom == lineHeader.m_hWnd && header->iItem >= 0 && header->iItem < sheet->GetLineCount()) {
        SetSel(CRect(0, header->iItem, sheet->GetColumnCount() - 1, header->iItem), CPoint(0, header->iItem));
    }
    TrackContextMenu(screen);
}
