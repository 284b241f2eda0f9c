// Where everything of a CTableView lies: the line header width, the layout of the
// strips and the scroll bars on a size change, the rectangle of a cell and the cell
// under a point, scrolling a cell into view, and the window text shown as the line
// header's caption.
//
// The client area is cut into four parts (W x H client, LH line height, LHW line
// header width):
//   line header  (0, 0)             LHW x (H - LH - 10)   the corner box on top
//   column header (LHW, 0)          (W + 100) x LH
//   cell area    (LHW, LH) ... (W, H - LH - 10)           painted by the view
//   sheet tabs   (0, H - LH - 10)   (W + 100) x H         only its top shows
// The strips are made 100 pixels wider than the client area so that widening the
// window never uncovers an unpainted edge before the next layout.
//
// Call order: OnSize -> SetVerticalBar, SetHorizontalBar -> PlaceStrips;
// RedrawWindow -> OnSize; EnsureVisible -> ScrollVertically, ScrollHorizontally
// (view/table_view_scroll.cpp).
#include <new>

#include "view/table_view.h"

int CTableView::PageOf(int clientHeight) const {
    if (lineHeight <= 0) return 0;
    const int area = CellAreaHeight(clientHeight);
    return area > 0 ? area / lineHeight : 0;
}

int CTableView::PartialRowOf(int clientHeight) const {
    if (lineHeight <= 0) return 0;
    const int area = CellAreaHeight(clientHeight);
    return area > 0 && area % lineHeight != 0 ? 1 : 0;
}

int CTableView::GetLineHeaderWidth() const {
    // The strip knows its caption and font; it is asked rather than measured twice.
    return const_cast<CLineHeaderWnd&>(lineHeader).GetLineHeaderWidth();
}

void CTableView::SetWindowTextW(LPCWSTR text) {
    const int before = GetLineHeaderWidth();
    if (m_hWnd != nullptr) SetWindowText(text);
    try {
        lineHeader.caption = text != nullptr ? text : u"";
    } catch (const std::bad_alloc&) {
        return;  // the caption box keeps its old text
    }
    if (lineHeader.m_hWnd != nullptr) lineHeader.Invalidate(TRUE);
    // A wider (or narrower) caption box moves the cell area and the column header;
    // laying out again at once keeps the strips and the cells in step.
    if (m_hWnd != nullptr && GetLineHeaderWidth() != before) RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

BOOL CTableView::RedrawWindow(const RECT* lpRectUpdate, CRgn* prgnUpdate, UINT flags) {
    if (m_hWnd == nullptr) return FALSE;
    HRGN region = prgnUpdate != nullptr ? static_cast<HRGN>(prgnUpdate->GetSafeHandle()) : nullptr;
    BOOL result = FALSE;
    try {
        result = CWnd::RedrawWindow(lpRectUpdate, region, flags);
    } catch (const std::bad_alloc&) {
        // The layout below still runs; what could not be repainted now stays invalid.
    }
    CRect client;
    GetClientRect(&client);
    OnSize(SIZE_RESTORED, client.Width(), client.Height());
    return result;
}

// ---- Layout ---------------------------------------------------------------------------

void CTableView::OnSize(UINT nType, int cx, int cy) {
    CView::OnSize(nType, cx, cy);
    if (cx <= 0 || cy <= 0) return;
    // The cell under an open editor may move: the edit ends unwritten.
    HideEditors();
    const int lhw = GetLineHeaderWidth();
    lineHeader.previousTopLine = lineHeader.topLine;
    const int area = CellAreaHeight(cy);
    const int page = PageOf(cy);

    // Vertical: never leave empty rows under the last line while lines are hidden
    // above; once every line fits, the first line is on top.
    CSheetObj* sheet = CurrentSheet();
    const int lines = sheet != nullptr ? sheet->GetLineCount() : 0;
    int position;
    if (lines > 0 && lines < lineHeader.topLine + page) {
        lineHeader.topLine = lines - page;
        if (sheet != nullptr) {
            sheet->topLine = lineHeader.topLine;
            lineHeader.headerLineCount = sheet->headerLineCount;
        }
        position = lineHeader.topLine;
    } else {
        position = static_cast<long long>(lines) * lineHeight < area ? 0 : lineHeader.topLine;
    }
    SetVerticalBar(position, lines, page);
    if (static_cast<long long>(lines) * lineHeight < area) {
        lineHeader.topLine = 0;
        if (sheet != nullptr) {
            sheet->topLine = 0;
            lineHeader.headerLineCount = sheet->headerLineCount;
        }
    }

    // Horizontal: when the columns end left of the right edge while some are scrolled
    // out on the left, scroll back so that the last column ends at the edge.
    int width = 0;
    if (sheet != nullptr && sheet->GetColumnCount() > 0) width = sheet->GetColumn(sheet->GetColumnCount() - 1)->extent.right;
    const int hpage = cx - lhw;
    if (hpage > width) {
        columnHeader.scrollX = 0;
        if (sheet != nullptr) sheet->scrollX = 0;
    }
    if (sheet != nullptr && sheet->GetColumnCount() > 0 && width > hpage && columnHeader.scrollX + hpage > width) {
        columnHeader.scrollX = width - hpage;
        sheet->scrollX = columnHeader.scrollX;
    }
    SetHorizontalBar(width, hpage);

    RedrawNow(*this);
    RedrawNow(columnHeader);
    try {
        PlaceStrips();
    } catch (const std::bad_alloc&) {
        // The strips stay where they were until the next layout. Caught here, not
        // left to the message boundary: RedrawWindow, a call of the host's, lays
        // out through this handler too.
    }
}

void CTableView::RedrawNow(CWnd& window) {
    if (window.m_hWnd == nullptr) return;
    try {
        window.CWnd::RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    } catch (const std::bad_alloc&) {
        // Out of memory while painting: the scroll step or the layout goes on, and
        // the window, still invalid, is painted again later.
    }
}

void CTableView::SetVerticalBar(int topLine, int lineCount, int page) {
    // Positions are biased by -32768 so that they stay within the signed 16 bits a
    // scroll message carries for up to 65,536 lines.
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    info.nMin = -32768;
    info.nMax = lineCount - 1 - 32768;
    info.nPage = static_cast<UINT>(page);
    info.nPos = topLine - 32768;
    info.nTrackPos = info.nPos;
    SetScrollInfo(SB_VERT, &info, TRUE);
}

void CTableView::SetHorizontalBar(int width, int page) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = width;
    info.nPage = static_cast<UINT>(page > 0 ? page : 0);
    info.nPos = columnHeader.scrollX;
    info.nTrackPos = info.nPos;
    SetScrollInfo(SB_HORZ, &info, TRUE);
}

void CTableView::PlaceStrips() {
    CRect client;
    GetClientRect(&client);
    const int w = client.Width();
    const int h = client.Height();
    const int lhw = GetLineHeaderWidth();
    const int tabTop = lineHeight + CellAreaHeight(h);
    if (lineHeader.m_hWnd != nullptr) lineHeader.MoveWindow(0, 0, lhw, tabTop, TRUE);
    if (columnHeader.m_hWnd != nullptr) columnHeader.MoveWindow(lhw, 0, w + 100, lineHeight, TRUE);
    if (sheetTab.m_hWnd != nullptr) sheetTab.MoveWindow(0, tabTop, w + 100, h, TRUE);
}

// ---- Cells and points -------------------------------------------------------------------

CRect CTableView::GetCellRect(int line, int column) const {
    const CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr || column < 0 || line >= sheet->GetLineCount()) return CRect();
    const CColumnProp* prop = sheet->GetColumn(column);
    if (prop == nullptr) return CRect();
    // The row follows from the line alone: a cell is one line pitch high whatever
    // height the column's header box had when it was laid out.
    const int dx = GetLineHeaderWidth() - columnHeader.scrollX;
    // A line a host named far above the sheet (a selection edge at INT_MIN, say),
    // or one far down a sheet of hundreds of millions of lines, lies where no
    // window reaches: no rectangle, rather than a wrapped one.
    const long long top = (static_cast<long long>(line) - lineHeader.topLine + 1) * lineHeight;
    if (top < -tq3::kFarthestColumnEdge || top > tq3::kFarthestColumnEdge) return CRect();
    return CRect(prop->extent.left + dx, static_cast<int>(top), prop->extent.right + dx,
                 static_cast<int>(top) + lineHeight);
}

BOOL CTableView::PointToCellPos(POINT pt, int& line, int& column) const {
    line = -1;
    column = -1;
    const CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr || lineHeight <= 0) return FALSE;
    // Truncating toward zero: the strip under the column header (0 <= y < LH) is the
    // line above the top line, so a drag past the top edge reaches it.
    const int hit = pt.y / lineHeight + lineHeader.topLine - 1;
    if (hit < 0 || hit >= sheet->GetLineCount()) return FALSE;
    const int lhw = GetLineHeaderWidth();
    const int x = pt.x + columnHeader.scrollX;
    for (int c = 0; c < sheet->GetColumnCount(); ++c) {
        const CRect& extent = sheet->GetColumn(c)->extent;
        if (extent.left + lhw <= x && x < extent.right + lhw) {
            line = hit;
            column = c;
            return TRUE;
        }
    }
    return FALSE;
}

void CTableView::EnsureVisible(int line, int column) {
    const CSheetObj* sheet = CurrentSheet();
    if (sheet == nullptr || line < 0 || line >= sheet->GetLineCount() || column < 0 ||
        column >= sheet->GetColumnCount()) {
        return;
    }
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(SB_VERT, &info, SIF_ALL);
    const int page = static_cast<int>(info.nPage);
    const CRect cell = GetCellRect(line, column);
    CRect client;
    GetClientRect(&client);
    const int left = GetLineHeaderWidth();
    const int right = client.right;

    const int top = lineHeader.topLine;
    if (line > top && line > top + page - 1) {
        ScrollVertically(SB_THUMBPOSITION, line - page + 1 - 32768);  // the line becomes the last full row
    } else if (line <= top) {
        ScrollVertically(SB_THUMBPOSITION, line - 32768);  // the line becomes the top row
    }
    if (cell.left < left) {
        ScrollHorizontally(SB_THUMBPOSITION, columnHeader.scrollX - left + cell.left);
    } else if (cell.right > right) {
        ScrollHorizontally(SB_THUMBPOSITION, columnHeader.scrollX - right + cell.right);
    }
}
