// The mouse in a CTableView's cell area: a press selects a cell and captures the
// mouse, a drag spans the selection from the cursor to the cell under the
// pointer, and a double click asks for an editor on the cell.
//
// The drag scrolls by itself past the top and the left edge: the cell under a
// point above the cell area is the line above the top line, and under a point
// left of it a column scrolled out of view, so scrolling that cell into view
// moves one step for every mouse message while the button stays down.
//
// Call order: OnLButtonDown -> SetSel (view/table_view_cursor.cpp); OnMouseMove ->
// ChangeSelection; OnLButtonDblClk -> DrawCursor, EnsureVisible, ShowCellEditCtrl
// (view/table_view_keys.cpp).
#include <algorithm>

#include "view/table_view.h"

void CTableView::OnLButtonDown(UINT nFlags, CPoint point) {
    // A header strip dragging a divider keeps the mouse to itself.
    const HWND holder = ::GetCapture();
    if (holder != nullptr && (holder == lineHeader.m_hWnd || holder == columnHeader.m_hWnd)) return;
    if (CurrentSheet() == nullptr) return;
    // A click in the view ends an open edit as Enter would, commit and cursor
    // move included, before the click selects its cell.
    const MSG enter{nullptr, WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
    if (cellEdit.m_hWnd != nullptr && cellEdit.IsWindowVisible()) {
        cellEdit.lastKey = enter;
        cellEdit.lastKey.hwnd = cellEdit.m_hWnd;
    }
    if (cellCombo.m_hWnd != nullptr && cellCombo.IsWindowVisible()) {
        cellCombo.lastKey = enter;
        cellCombo.lastKey.hwnd = cellCombo.m_hWnd;
    }
    SetFocus();
    int line = -1;
    int column = -1;
    if (m_hWnd != nullptr && PointToCellPos(point, line, column)) {
        SetCapture();
        SetSel(CRect(column, line, column, line), CPoint(column, line));
        return;
    }
    CView::OnLButtonDown(nFlags, point);
}

void CTableView::OnMouseMove(UINT nFlags, CPoint point) {
    CSheetObj* sheet = CurrentSheet();
    // Only a drag with the left button alone extends the selection.
    if (sheet != nullptr && nFlags == MK_LBUTTON && ::GetCapture() == m_hWnd) {
        CRect& sel = sheet->selection;
        if (sel.left > sel.right) std::swap(sel.left, sel.right);
        if (sel.top > sel.bottom) std::swap(sel.top, sel.bottom);
        int line = -1;
        int column = -1;
        if (PointToCellPos(point, line, column)) {
            const CPoint c = sheet->cursor;
            const CRect spanned(std::min(c.x, column), std::min(c.y, line), std::max(c.x, column),
                                std::max(c.y, line));
            if (spanned.left != sel.left || spanned.top != sel.top || spanned.right != sel.right ||
                spanned.bottom != sel.bottom) {
                ChangeSelection(spanned, line, column);
            }
        }
    }
    CView::OnMouseMove(nFlags, point);
}

void CTableView::OnLButtonUp(UINT nFlags, CPoint point) {
    if (m_hWnd != nullptr && ::GetCapture() == m_hWnd) ReleaseCapture();
    CView::OnLButtonUp(nFlags, point);
}

void CTableView::OnLButtonDblClk(UINT nFlags, CPoint point) {
    CSheetObj* sheet = CurrentSheet();
    int line = -1;
    int column = -1;
    if (sheet != nullptr && PointToCellPos(point, line, column)) {
        // Inside the selection as stored, the editor opens on the cell clicked and
        // the selection stays, so that an edit can go to every selected line.
        const CRect& s = sheet->selection;
        const bool inside = s.left <= column && column <= s.right && s.top <= line && line <= s.bottom;
        if (!inside) {
            CRect oldSel = s;
            CPoint oldCursor = sheet->cursor;
            CRect sel(column, line, column, line);
            CPoint cursor(column, line);
            sheet->selection = sel;
            sheet->cursor = cursor;
            DrawCursor(&sel, &cursor, &oldSel, &oldCursor);
        }
        EnsureVisible(line, column);
        ShowCellEditCtrl(line, column, TRUE);
    }
    CView::OnLButtonDblClk(nFlags, point);
}
