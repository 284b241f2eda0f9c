// Painting a CTableView's cell area, and the selection shown inverted.
//
// The cell area is drawn into an off-screen bitmap of its own size (kept from one
// paint to the next while the size stays) and copied to the window in one block, so
// it never flickers and its background is never erased separately: grid lines,
// then the texts of the visible rows only (the cost does not grow with the number
// of lines), then the selection region inverted.
//
// The selection region of a selection and a cursor is the selected block grown by
// 2 pixels, exclusive-or the cursor cell shrunk by 1: the block shows inverted with
// a margin, and the cursor cell's interior stays normal so that it stands out; a
// one-cell selection is an inverted frame around the cell.
//
// Call order: WM_PAINT (CView) -> OnDraw -> DrawRows, CalcInvertRgn; the moves of
// view/table_view_cursor.cpp -> DrawCursor -> CalcInvertRgn.
#include <new>

#include "framework/app/window_dc.h"
#include "model/cell_rules.h"
#include "settings/language.h"
#include "view/table_view.h"

namespace {

// One line, vertically centred, no prefix characters, cut with an ellipsis.
constexpr UINT kCellTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP | DT_END_ELLIPSIS;
// Room kept free between a cell's border and its text, on each side.
constexpr int kCellMargin = 6;

}  // namespace

BOOL CTableView::OnEraseBkgnd(CDC* /*pDC*/) {
    // Every pixel of the view is covered by the cell area's copy or by a strip.
    return TRUE;
}

BOOL CTableView::OnPreparePrinting(CPrintInfo* pInfo) { return CView::OnPreparePrinting(pInfo); }

void CTableView::GetLogFont(LOGFONTW* plf, int& nPointSize) const {
    if (plf != nullptr) cellFont.GetLogFont(plf);
    nPointSize = pointSize;
}

void CTableView::OnDraw(CDC* pDC) {
    if (pDC == nullptr || pDC->IsPrinting()) return;
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF grid = GetSysColor(COLOR_BTNFACE);
    CSheetObj* sheet = CurrentSheet();
    const int lh = lineHeight;
    const int lhw = GetLineHeaderWidth();
    CRect client;
    GetClientRect(&client);
    const int w = client.Width() - lhw;
    const int h = CellAreaHeight(client.Height());
    if (w <= 0 || h <= 0 || lh <= 0) return;

    CRect clip;
    pDC->GetClipBox(&clip);
    if (clip.IsRectNull()) return;

    CDC* buffer = paintBuffer.Prepare(pDC, CSize(w, h));
    if (buffer == nullptr) return;
    CDC& memory = *buffer;
    memory.FillSolidRect(0, 0, w, h, window);

    // Grid: a line under every row (the part row included) across the whole area,
    // and one at the right edge of every laid-out column.
    const int rows = h / lh + (h % lh != 0 ? 1 : 0);
    const int scrollX = columnHeader.scrollX;
    CPen pen(PS_SOLID, 1, grid);
    CPen* oldPen = memory.SelectObject(&pen);
    for (int k = 1; k <= rows; ++k) {
        memory.MoveTo(-scrollX, k * lh);
        memory.LineTo(w, k * lh);
    }
    for (int c = 0; c < columnHeader.GetColumnCount(); ++c) {
        CRect extent;
        columnHeader.GetColumnRect(c, &extent);
        if (extent.IsRectEmpty()) continue;
        memory.MoveTo(extent.right - scrollX, 0);
        memory.LineTo(extent.right - scrollX, h);
    }
    memory.SelectObject(oldPen);

    const bool unchanged = (clip.Width() == 0 || clip.Height() == 0) && lineHeader.topLine == lineHeader.previousTopLine;
    if (sheet != nullptr && !unchanged) {
        // The texts go onto the buffer just filled with the window colour: drawn
        // transparent, so that no cell's box is filled a second time.
        CFont* oldFont = memory.SelectObject(&cellFont);
        const COLORREF oldBk = memory.SetBkColor(window);
        const int oldMode = memory.SetBkMode(TRANSPARENT);
        const COLORREF oldText = memory.SetTextColor(text);
        DrawRows(memory, sheet, rows);
        memory.SetTextColor(oldText);
        memory.SetBkMode(oldMode);
        memory.SetBkColor(oldBk);
        if (oldFont != nullptr) memory.SelectObject(oldFont);

        // The region of the stored selection, combined with whatever is still
        // waiting to be painted (nothing, in a normal paint).
        CRgn selection;
        CalcInvertRgn(selection, sheet->selection, sheet->cursor);
        CRgn pending;
        pending.CreateRectRgn(0, 0, 0, 0);
        if (::GetUpdateRgn(m_hWnd, pending, FALSE) > NULLREGION) selection.CombineRgn(&selection, &pending, RGN_XOR);
        selection.OffsetRgn(-lhw, -lh);
        memory.InvertRgn(&selection);
    }

    pDC->BitBlt(lhw, lh, w, h, &memory, 0, 0, SRCCOPY);
}

void CTableView::DrawRows(CDC& dc, CSheetObj* sheet, int rows) const {
    const int lh = lineHeight;
    const int scrollX = columnHeader.scrollX;
    const int columns = columnHeader.GetColumnCount();
    CRect area;
    GetClientRect(&area);
    const int width = area.Width() - GetLineHeaderWidth();
    for (int r = 0; r < rows; ++r) {
        const CLineProp* line = sheet->GetLine(lineHeader.topLine + r);
        if (line == nullptr) break;
        // The fields are read where the line keeps them: no copy, so a line of any
        // length is drawn whole.
        const WCHAR* field = line->text.GetString();
        for (int c = 0; c < columns; ++c) {
            const WCHAR* start = field != nullptr ? field : u"";
            const WCHAR* end = field != nullptr ? tq3::ShownFieldEnd(field) : start;
            if (field != nullptr) field = tq3::NextField(field);
            const CColumnProp* prop = sheet->GetColumn(c);
            if (prop == nullptr || prop->extent.IsRectNull()) continue;
            CRect box(prop->extent.left + kCellMargin - scrollX, r * lh + 1, prop->extent.right - kCellMargin - scrollX,
                      r * lh + lh - 1);
            // A cell wholly left or right of the area would draw nothing that shows.
            if (box.right <= 0 || box.left >= width) continue;
            // The box lies inside its cell, clear of the grid lines, on the buffer
            // just filled with the window colour: it needs no filling of its own.
            const UINT format = kCellTextFormat | (prop->numeric != 0 ? DT_RIGHT : 0);
            dc.DrawText(start, static_cast<int>(end - start), &box, format);
        }
    }
}

// ---- Selection -----------------------------------------------------------------------------

void CTableView::CalcInvertRgn(CRgn& rgn, CRect rcSel, CPoint ptCursor) const {
    const CRect cursor = GetCellRect(ptCursor.y, ptCursor.x);
    const CRect first = GetCellRect(rcSel.top, rcSel.left);
    const CRect last = GetCellRect(rcSel.bottom, rcSel.right);
    CRect block;
    block.UnionRect(&first, &last);
    if (rgn.GetSafeHandle() == nullptr) {
        rgn.CreateRectRgn(0, 0, 0, 0);
    } else {
        rgn.SetRectRgn(0, 0, 0, 0);
    }
    // A selection or a cursor outside the sheet has no cell to show.
    if (block.IsRectEmpty()) return;
    block.InflateRect(2, 2);
    rgn.SetRectRgn(&block);
    if (cursor.IsRectEmpty()) return;
    CRect inner = cursor;
    inner.DeflateRect(1, 1);
    if (inner.IsRectEmpty()) return;
    CRgn hole;
    hole.CreateRectRgnIndirect(&inner);
    rgn.CombineRgn(&rgn, &hole, RGN_XOR);
}

void CTableView::DrawCursor(CRect* pSel, CPoint* pCursor, CRect* pOldSel, CPoint* pOldCursor) {
    const CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr || m_hWnd == nullptr) return;
    const CRect sel = pSel != nullptr ? *pSel : sheet->selection;
    const CPoint cursor = pCursor != nullptr ? *pCursor : sheet->cursor;
    const bool hasOld = pOldSel != nullptr || pOldCursor != nullptr;
    const CRect oldSel = pOldSel != nullptr ? *pOldSel : sel;
    // An unchanged block is left alone (a cursor move inside it repaints instead).
    if (hasOld && oldSel.left == sel.left && oldSel.top == sel.top && oldSel.right == sel.right &&
        oldSel.bottom == sel.bottom) {
        return;
    }
    try {
        CRgn region;
        CalcInvertRgn(region, sel, cursor);
        if (hasOld) {
            CRgn old;
            CalcInvertRgn(old, oldSel, pOldCursor != nullptr ? *pOldCursor : cursor);
            region.CombineRgn(&region, &old, RGN_XOR);
        }
        // Only the cell area shows the selection; the strips around it stay as drawn.
        CRect client;
        GetClientRect(&client);
        CRgn area;
        area.CreateRectRgn(GetLineHeaderWidth(), lineHeight, client.right,
                           client.top + lineHeight + CellAreaHeight(client.Height()));
        region.CombineRgn(&region, &area, RGN_AND);
        CClientDC dc(this);
        dc.InvertRgn(&region);
    } catch (const std::bad_alloc&) {
        // Without memory to show the difference, the whole area is painted again.
        Invalidate(FALSE);
    }
}
