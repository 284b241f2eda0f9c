// Scrolling a CTableView: vertically by whole lines through a scroll bar whose
// values are the top line biased by -32768, horizontally by pixels, and by the
// mouse wheel three lines at a time.
//
// Call order: OnVScroll -> ScrollVertically -> SetTopLine; OnHScroll ->
// ScrollHorizontally -> SetScrollX; OnMouseWheel -> ScrollVertically. EnsureVisible
// (view/table_view_geometry.cpp) calls the two Scroll functions directly, with
// positions that may need more than the 16 bits of a scroll message.
#include <algorithm>

#include "view/table_view.h"

namespace {

// A scroll message carries the thumb position in 16 bits. The bar itself keeps
// 32: when its tracking position agrees with the message's low bits it is taken
// whole, so that a sheet of more than 65,536 lines can still be dragged through;
// otherwise the message's value is read as the signed 16-bit number it is. A value
// with bits above the low 16 was passed by a caller as a full int.
int WidenThumb(UINT nPos, const SCROLLINFO& info) {
    if (nPos > 0xFFFF) return static_cast<int>(nPos);
    if ((static_cast<UINT>(info.nTrackPos) & 0xFFFF) == nPos) return info.nTrackPos;
    return static_cast<short>(static_cast<WORD>(nPos));
}

SCROLLINFO ReadBar(CWnd& wnd, int bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    wnd.GetScrollInfo(bar, &info, SIF_ALL);
    return info;
}

}  // namespace

// ---- Vertical ---------------------------------------------------------------------------

void CTableView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* /*pScrollBar*/) {
    int thumb = 0;
    if (nSBCode == SB_THUMBPOSITION || nSBCode == SB_THUMBTRACK) thumb = WidenThumb(nPos, ReadBar(*this, SB_VERT));
    ScrollVertically(nSBCode, thumb);
}

void CTableView::ScrollVertically(UINT code, int biasedThumb) {
    // An open editor would no longer lie over its cell: the edit ends unwritten.
    HideEditors();
    CRect client;
    GetClientRect(&client);
    const int f = PartialRowOf(client.Height());
    const SCROLLINFO info = ReadBar(*this, SB_VERT);
    const int nMin = info.nMin + 32768;
    const int nMax = info.nMax + 32768;
    const int page = static_cast<int>(info.nPage);
    const int t = info.nPos + 32768;
    lineHeader.previousTopLine = lineHeader.topLine;

    int u = t;
    switch (code) {
        case SB_LINEUP:
            u = t >= 1 ? t - 1 : t;
            break;
        case SB_LINEDOWN:
            u = page + t < nMax + f ? t + 1 : t;
            break;
        case SB_PAGEUP:
            u = std::max(t - page, 0);
            break;
        case SB_PAGEDOWN:
            u = t + 2 * page >= nMax + f ? nMax - page + f : t + page;
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: {
            int v = biasedThumb + 32768;
            if (v - 1 + page > nMax) v = nMax - page + f + 1;
            u = std::max(v, nMin);
            break;
        }
        case SB_TOP:
            u = 0;
            break;
        case SB_BOTTOM:
            u = nMax - page + f;
            break;
        default:
            return;  // SB_ENDSCROLL: the position is already where the last step left it
    }
    // While every line fits, the bar's page shrinks to the line count and the last
    // steps could name line -1; the first line stays on top instead.
    u = std::max(u, 0);
    SetTopLine(u);
    if (u != t) {
        RedrawNow(*this);
        RedrawNow(lineHeader);
    }
}

void CTableView::SetTopLine(int top) {
    lineHeader.topLine = top;
    if (CSheetObj* sheet = CurrentSheet()) sheet->topLine = top;
    SetScrollPos(SB_VERT, top - 32768, TRUE);
}

BOOL CTableView::OnMouseWheel(UINT /*nFlags*/, short zDelta, CPoint /*pt*/) {
    // Three lines per message, whatever the delta and the keys held: a notch of a
    // fine-grained wheel moves as far as one of a classic wheel.
    const SCROLLINFO info = ReadBar(*this, SB_VERT);
    const int p = info.nPos;
    int q;
    if (zDelta >= 0) {
        q = std::max(p - 3, info.nMin);
    } else {
        q = std::min(p + 3, info.nMax - static_cast<int>(info.nPage) + 1);
    }
    if (q != p) ScrollVertically(SB_THUMBPOSITION, q);
    return TRUE;
}

// ---- Horizontal ---------------------------------------------------------------------------

void CTableView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* /*pScrollBar*/) {
    int thumb = 0;
    if (nSBCode == SB_THUMBPOSITION || nSBCode == SB_THUMBTRACK) thumb = WidenThumb(nPos, ReadBar(*this, SB_HORZ));
    ScrollHorizontally(nSBCode, thumb);
}

void CTableView::ScrollHorizontally(UINT code, int thumb) {
    HideEditors();
    const SCROLLINFO info = ReadBar(*this, SB_HORZ);
    const int page = static_cast<int>(info.nPage);
    const int p = info.nPos;
    const int last = info.nMax - page + 1;  // where a step may take the left edge
    int q = p;
    switch (code) {
        case SB_LINELEFT:
            if (p <= 0) return;
            q = p - 1;
            break;
        case SB_LINERIGHT:
            q = std::min(p + 1, last);
            break;
        case SB_PAGELEFT:
            q = std::max(p - page, 0);
            break;
        case SB_PAGERIGHT:
            q = std::min(p + page, last);
            break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK:
            q = std::max(std::min(thumb, last), info.nMin);
            break;
        case SB_LEFT:
            q = 0;
            break;
        case SB_RIGHT:
            q = std::max(info.nMax - page, 0);  // columns narrower than the area do not move
            break;
        default:
            return;
    }
    if (q == p) return;
    SetScrollX(q);
    RedrawNow(*this);
    RedrawNow(columnHeader);
}

void CTableView::SetScrollX(int x) {
    SetScrollPos(SB_HORZ, x, TRUE);
    columnHeader.scrollX = x;
    if (CSheetObj* sheet = CurrentSheet()) sheet->scrollX = x;
}
